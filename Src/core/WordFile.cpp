#include "WordFile.h"

#include <bit>
#include <cassert>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace vostrel {
namespace {

constexpr char32_t kReplacement = U'\uFFFD';

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isSeparator(char c) {
    return c == ',' || c == '\n' || c == '\r';
}

bool isWord(std::size_t begin, std::size_t stop) {
    return stop > begin && stop - begin <= kMaxWordBytes;
}

// The first separator at or after `pos`, or `end`; eight bytes at a time, as a list of a million
// words is read at every new game.
std::size_t findSeparator(const char* text, std::size_t pos, std::size_t end) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighs = 0x8080808080808080u;
    // A high bit in each byte equal to `c`; bits above a true match may be false hits, so only
    // the lowest one counts.
    const auto matches = [](std::uint64_t block, char c) {
        const std::uint64_t x = block ^ (kOnes * static_cast<unsigned char>(c));
        return (x - kOnes) & ~x & kHighs;
    };
    if constexpr (std::endian::native == std::endian::little) {
        for (; pos + 8 <= end; pos += 8) {
            std::uint64_t block = 0;
            std::memcpy(&block, text + pos, sizeof block);
            const std::uint64_t hits =
                matches(block, '\n') | matches(block, ',') | matches(block, '\r');
            if (hits != 0) {
                return pos + static_cast<std::size_t>(std::countr_zero(hits) / 8);
            }
        }
    }
    while (pos < end && !isSeparator(text[pos])) {
        ++pos;
    }
    return pos;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

WordList::WordList(FileBytes bytes) : bytes_(std::move(bytes)), text_(bytes_.view()) {
    if (text_.starts_with("\xFF\xFE") || text_.starts_with("\xFE\xFF")) {
        bytes_ = FileBytes(utf16ToUtf8(text_.substr(2), text_[0] == '\xFE'));
        text_ = bytes_.view();
        encoding_ = TextEncoding::Utf8;
    } else if (text_.starts_with("\xEF\xBB\xBF")) {
        text_.remove_prefix(3);
        encoding_ = TextEncoding::Utf8;
    }
    // Marks are 32-bit; even a UTF-16 list at the size limit stays far below.
    assert(text_.size() < std::numeric_limits<std::uint32_t>::max());
    std::size_t pos = 0;
    while (pos < text_.size()) {
        const std::size_t fieldStart = pos;
        std::size_t begin = 0;
        std::size_t stop = 0;
        pos = nextField(pos, begin, stop);
        if (isWord(begin, stop)) {
            if (count_ % kStride == 0) {
                marks_.push_back(static_cast<std::uint32_t>(fieldStart));
            }
            ++count_;
        }
    }
}

// Reads the field that starts at `pos` (which must be before the end) into [begin, stop), empty
// when the field holds no word, and returns where the next field starts.
std::size_t WordList::nextField(std::size_t pos, std::size_t& begin, std::size_t& stop) const {
    const char* text = text_.data();
    const std::size_t end = text_.size();
    while (pos < end && isBlank(text[pos])) {
        ++pos;
    }
    if (pos == end) {
        begin = stop = end;
        return end;
    }
    if (text[pos] == '"') {
        begin = pos + 1;
        const void* quote = std::memchr(text + begin, '"', end - begin);
        stop = quote != nullptr ? static_cast<std::size_t>(static_cast<const char*>(quote) - text)
                                : end;
        pos = findSeparator(text, stop, end);
    } else {
        begin = pos;
        pos = findSeparator(text, pos, end);
        stop = pos;
        while (stop > begin && isBlank(text[stop - 1])) {
            --stop;
        }
    }
    // Step over exactly one separator; CRLF counts as one line end.
    if (pos < end) {
        if (text[pos] == '\r' && pos + 1 < end && text[pos + 1] == '\n') {
            ++pos;
        }
        ++pos;
    }
    return pos;
}

std::string_view WordList::operator[](std::size_t index) const {
    if (index >= count_) {
        throw std::out_of_range("WordList: no word at this index");
    }
    std::size_t pos = marks_[index / kStride];
    std::size_t skip = index % kStride;
    for (;;) {
        std::size_t begin = 0;
        std::size_t stop = 0;
        pos = nextField(pos, begin, stop);
        if (isWord(begin, stop) && skip-- == 0) {
            return text_.substr(begin, stop - begin);
        }
    }
}

std::u32string decodeUtf8(std::string_view bytes) {
    std::u32string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        }
        if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            cp = lead & 0x1F;
            min = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            cp = lead & 0x0F;
            min = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            cp = lead & 0x07;
            min = 0x10000;
        } else {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        bool valid = i + static_cast<std::size_t>(extra) < bytes.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto cont = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            valid = (cont & 0xC0) == 0x80;
            cp = (cp << 6) | (cont & 0x3F);
        }
        if (!valid || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string encodeUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char32_t c : text) {
        const bool valid = c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
        appendUtf8(out, valid ? c : kReplacement);
    }
    return out;
}

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        return bigEndian ? (char32_t{first} << 8) | second : (char32_t{second} << 8) | first;
    };
    const std::size_t units = bytes.size() / 2;
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 &&
            unit(i + 1) <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
            ++i;
        } else {
            appendUtf8(out, c >= 0xD800 && c <= 0xDFFF ? kReplacement : c);
        }
    }
    if (bytes.size() % 2 != 0) {
        appendUtf8(out, kReplacement);
    }
    return out;
}

}  // namespace vostrel
