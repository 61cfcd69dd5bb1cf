#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "services/FileSystem.h"

namespace vostrel {

// Anything larger is not a word list anyone wrote by hand; refusing it keeps a new game quick and
// the memory of the process bounded whatever lies in the application folder.
inline constexpr std::size_t kMaxWordFileBytes = std::size_t{64} * 1024 * 1024;

// Longer than any real word; a longer field is no word, so every word can be spelled out to a
// screen reader and shown in a label whole or by its two ends.
inline constexpr std::size_t kMaxWordBytes = 64;

// How the words of a list are written. A file without a byte-order mark is in the system's own
// encoding (the ANSI code page on Windows, UTF-8 elsewhere); one with a mark is UTF-8 or UTF-16,
// and UTF-16 is made UTF-8 before its fields are read.
enum class TextEncoding { System, Utf8 };

// The words of one word file. The text is kept once, with the place of every 64th word: a list
// of a million words costs one buffer and a few kilobytes, not a million strings, and any word is
// found again by reading at most 64 fields.
//
// Field rules: a field ends at a comma or at a line end (LF, CRLF or a lone CR). Blanks and tabs
// around an unquoted field are not part of it; a double quote inside an unquoted field is kept.
// A field that begins with a double quote runs to the next double quote, which may lie on a later
// line; text between that quote and the next separator is dropped, and a quote left open runs to
// the end of the file. Empty fields and fields longer than kMaxWordBytes are not words.
class WordList {
public:
    WordList() = default;
    // From the bytes of a word file, byte-order mark and all.
    explicit WordList(FileBytes bytes);
    explicit WordList(std::string_view bytes) : WordList(FileBytes(bytes)) {}

    [[nodiscard]] std::size_t size() const { return count_; }
    [[nodiscard]] bool empty() const { return count_ == 0; }
    [[nodiscard]] TextEncoding encoding() const { return encoding_; }
    // Zero-based; the bytes of the word, in encoding().
    [[nodiscard]] std::string_view operator[](std::size_t index) const;

private:
    static constexpr std::size_t kStride = 64;

    std::size_t nextField(std::size_t pos, std::size_t& begin, std::size_t& stop) const;

    FileBytes bytes_;
    std::string_view text_;             // the words' text in bytes_, after any byte-order mark
    std::vector<std::uint32_t> marks_;  // where the fields of words 0, 64, 128 ... start
    std::size_t count_ = 0;
    TextEncoding encoding_ = TextEncoding::System;
};

// Each byte of a malformed sequence becomes U+FFFD, so no input is rejected.
std::u32string decodeUtf8(std::string_view bytes);
std::string encodeUtf8(std::u32string_view text);

// A surrogate without its partner, and an odd last byte, become U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);

}  // namespace vostrel
