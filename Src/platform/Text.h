#pragma once

#include <string>
#include <string_view>

namespace vostrel {

// Decodes text from data files: the ANSI code page on Windows, UTF-8 elsewhere. Bytes that do
// not decode become U+FFFD; nothing is rejected.
std::u32string decodeNativeText(std::string_view bytes);

}  // namespace vostrel
