#include <cstdio>

#include "Design.h"

// Run with node at build time: the windows' definitions as the page carries them.
int main() {
    std::puts(vostrel::designJson().c_str());
    return 0;
}
