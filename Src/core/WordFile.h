#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vostrel {

// Departure: the design sets no limits (docs/departures.md).
// Anything larger is not a word list anyone wrote by hand; refusing it keeps a new game quick and
// the memory of the process bounded whatever lies in the application folder.
inline constexpr std::size_t kMaxWordFileBytes = std::size_t{64} * 1024 * 1024;

// Longer than any real word; a longer field is no word, so every word can be spelled out to a
// screen reader and shown in a label whole or by its two ends.
inline constexpr std::size_t kMaxWordBytes = 64;

// Departure: byte-order marks and UTF-8 besides the ANSI code page (docs/departures.md).
// How the words of a list are written. A file without a byte-order mark is in the system's own
// encoding (the ANSI code page on Windows, UTF-8 elsewhere); one with a mark is UTF-8 or UTF-16,
// and UTF-16 is made UTF-8 before its fields are read.
enum class TextEncoding { System, Utf8 };

// The words of one word file, in file order: the text kept once, with where each word's field
// starts. A string per word would cost three times the memory, and on some systems touching fresh
// memory costs more than reading the file.
//
// Field rules: a field ends at a comma or at a line end (LF, CRLF or a lone CR). Blanks and tabs
// around an unquoted field are not part of it; a double quote inside an unquoted field is kept.
// A field that begins with a double quote runs to the next double quote, which may lie on a later
// line; text between that quote and the next separator is dropped, and a quote left open runs to
// the end of the file. Empty fields and fields longer than kMaxWordBytes are not words.
class Words {
public:
    Words() = default;
    // From the bytes of a word file, byte-order mark and all.
    explicit Words(std::string bytes);

    [[nodiscard]] std::size_t size() const { return starts_.size(); }
    [[nodiscard]] bool empty() const { return starts_.empty(); }
    [[nodiscard]] TextEncoding encoding() const { return encoding_; }
    // Zero-based; the bytes of the word, in encoding(). Throws std::out_of_range past the end.
    [[nodiscard]] std::string_view operator[](std::size_t index) const;

private:
    struct Field {
        std::string_view word;  // empty when the field is no word
        std::size_t next = 0;   // where the next field starts
    };
    [[nodiscard]] Field fieldAt(std::size_t pos) const;

    std::string text_;                   // the file, or what its UTF-16 makes in UTF-8
    std::vector<std::uint32_t> starts_;  // where each word's field starts in text_
    TextEncoding encoding_ = TextEncoding::System;
};

// Each byte of a malformed sequence becomes U+FFFD, so no input is rejected.
std::u32string decodeUtf8(std::string_view bytes);
std::string encodeUtf8(std::u32string_view text);

// A surrogate without its partner, and an odd last byte, become U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);

}  // namespace vostrel
