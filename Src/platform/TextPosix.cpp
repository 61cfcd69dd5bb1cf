#include "Text.h"

#include "core/WordFile.h"

namespace vostrel {

std::u32string decodeNativeText(std::string_view bytes) {
    return decodeUtf8(bytes);
}

}  // namespace vostrel
