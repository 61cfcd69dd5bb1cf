#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vostrel {

// Anything larger is not a word list anyone wrote by hand; refusing it keeps a new game quick and
// the memory of the process bounded whatever lies in the application folder.
inline constexpr std::size_t kMaxWordFileBytes = std::size_t{64} * 1024 * 1024;

// The words of one word file. The file's bytes are kept once and each word is a span into
// them, so a list of a million words costs one buffer and a small index, not a million strings.
//
// Field rules: a field ends at a comma or at a line end (LF, CRLF or a lone CR). Blanks and tabs
// around an unquoted field are not part of it; a double quote inside an unquoted field is kept.
// A field that begins with a double quote runs to the next double quote, which may lie on a later
// line; text between that quote and the next separator is dropped, and a quote left open runs to
// the end of the file. Empty fields are not words. A UTF-8 byte-order mark at the very start is
// not part of the first word.
class WordList {
public:
    WordList() = default;
    explicit WordList(std::string bytes);

    [[nodiscard]] std::size_t size() const { return spans_.size(); }
    [[nodiscard]] bool empty() const { return spans_.empty(); }
    // Zero-based; the bytes of the word as they stand in the file.
    [[nodiscard]] std::string_view operator[](std::size_t index) const;

private:
    struct Span {
        std::uint32_t begin;
        std::uint32_t length;
    };

    std::string bytes_;
    std::vector<Span> spans_;
};

// Decodes UTF-8; each byte of a malformed sequence becomes U+FFFD, so no input is rejected.
std::u32string decodeUtf8(std::string_view bytes);

}  // namespace vostrel
