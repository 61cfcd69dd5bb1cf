#pragma once

#include <string>
#include <string_view>

namespace vostrel {

// Decodes text from data files: the ANSI code page on Windows, UTF-8 elsewhere. Bytes that do
// not decode become U+FFFD; nothing is rejected.
std::u32string decodeNativeText(std::string_view bytes);

// Strings as the system's ANSI functions hand them over, made into the UTF-8 the game uses.
class AnsiText {
public:
    virtual ~AnsiText() = default;

    // From the ANSI code page on Windows; elsewhere the bytes are UTF-8 already.
    [[nodiscard]] virtual std::string toUtf8(std::string_view ansi) const = 0;

    // Replaces %NAME% references with the environment's values, as the system does for an
    // expandable registry string; unknown names stay as written. Systems without that
    // convention leave the text unchanged.
    [[nodiscard]] virtual std::string expandEnvironment(const std::string& utf8) const = 0;
};

const AnsiText& systemAnsiText();

}  // namespace vostrel
