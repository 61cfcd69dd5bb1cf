#pragma once

#include <string>
#include <string_view>

namespace vostrel {

// Strings as the system's ANSI functions and plain text files hand them over, made into the
// UTF-8 the game uses.
class AnsiText {
public:
    virtual ~AnsiText() = default;

    // From the ANSI code page on Windows; elsewhere the bytes are UTF-8 already. Bytes that do not
    // decode are not rejected.
    [[nodiscard]] virtual std::string toUtf8(std::string_view ansi) const = 0;

    // Replaces %NAME% references with the environment's values, as the system does for an
    // expandable registry string; unknown names stay as written. Systems without that
    // convention leave the text unchanged.
    [[nodiscard]] virtual std::string expandEnvironment(const std::string& utf8) const = 0;
};

const AnsiText& systemAnsiText();

}  // namespace vostrel
