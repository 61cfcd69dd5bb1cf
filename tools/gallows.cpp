// Draws the eleven gallows pictures 0.bmp .. 10.bmp shown during a game.
// Usage: gallows <output-folder>
//
// The pictures are generated rather than hand-edited so that every stage shares exactly the same
// geometry and one stage can never drift out of line with the next.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "GallowsArt.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: gallows <output-folder>\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);

    for (int stage = 0; stage <= gallows::kLastStage; ++stage) {
        const std::filesystem::path file = folder / (std::to_string(stage) + ".bmp");
        const std::vector<std::uint8_t> bytes = gallows::encodeBmp(gallows::drawStage(stage));
        std::ofstream os(file, std::ios::binary);
        os.write(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()));
        os.close();
        if (!os) {
            std::cerr << "gallows: cannot write " << file.string() << '\n';
            return 1;
        }
    }
    return 0;
}
