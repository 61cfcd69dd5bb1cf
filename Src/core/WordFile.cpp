#include "WordFile.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>

namespace vostrel {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}
bool isSeparator(char c) {
    return c == ',' || isLineEnd(c);
}

// Eight bytes at a time: a list of a million words is read at every new game, and looking at each
// byte on its own would make that the slowest thing the game does.
// Bytes read before the count of words is extrapolated from them.
constexpr std::size_t kSample = 4096;

constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kHighs = 0x8080808080808080u;

// A high bit in each byte of `block` equal to `c`; bits above a true match may be false hits,
// so only the lowest one counts.
constexpr std::uint64_t matches(std::uint64_t block, char c) {
    const std::uint64_t x = block ^ (kOnes * static_cast<unsigned char>(c));
    return (x - kOnes) & ~x & kHighs;
}

// The position of the first separator at or after `pos`, or the end.
std::size_t findSeparator(std::string_view text, std::size_t pos) {
    if constexpr (std::endian::native == std::endian::little) {
        while (pos + 8 <= text.size()) {
            std::uint64_t block = 0;
            std::memcpy(&block, text.data() + pos, sizeof block);
            const std::uint64_t hits =
                matches(block, '\n') | matches(block, ',') | matches(block, '\r');
            if (hits != 0) {
                return pos + static_cast<std::size_t>(std::countr_zero(hits) / 8);
            }
            pos += 8;
        }
    }
    while (pos < text.size() && !isSeparator(text[pos])) {
        ++pos;
    }
    return pos;
}

}  // namespace

WordList::WordList(std::string bytes) : bytes_(std::move(bytes)) {
    // Spans are 32-bit; the reader never hands over more than this.
    assert(bytes_.size() <= kMaxWordFileBytes);
    const std::string_view text = bytes_;
    std::size_t pos = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    const std::size_t end = text.size();

    auto add = [this, end](std::size_t begin, std::size_t stop) {
        if (stop > begin) {
            if (spans_.size() == spans_.capacity() && begin >= kSample) {
                // Guess the final count from the share of the file read so far, so a long list
                // is not copied over and over as it grows. A word takes two bytes at least.
                const std::uint64_t seen = spans_.size();
                const std::uint64_t guess = seen * end / begin / 8 * 9 + 64;
                spans_.reserve(static_cast<std::size_t>(
                    std::min<std::uint64_t>(std::max(guess, 2 * seen), end / 2 + 1)));
            }
            spans_.push_back(
                {static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(stop - begin)});
        }
    };

    while (pos < end) {
        while (pos < end && isBlank(text[pos])) {
            ++pos;
        }
        if (pos == end) {
            break;
        }
        if (text[pos] == '"') {
            const std::size_t begin = pos + 1;
            std::size_t close = text.find('"', begin);
            if (close == std::string_view::npos) {
                close = end;
            }
            add(begin, close);
            pos = findSeparator(text, close);
        } else {
            const std::size_t begin = pos;
            pos = findSeparator(text, pos);
            std::size_t stop = pos;
            while (stop > begin && isBlank(text[stop - 1])) {
                --stop;
            }
            add(begin, stop);
        }
        // Step over exactly one separator; CRLF counts as one line end.
        if (pos < end) {
            if (text[pos] == '\r' && pos + 1 < end && text[pos + 1] == '\n') {
                ++pos;
            }
            ++pos;
        }
    }
    // A guess far too high (short words first, long ones later) gives its room back.
    if (spans_.capacity() > 2 * spans_.size() + 64) {
        spans_.shrink_to_fit();
    }
}

std::string_view WordList::operator[](std::size_t index) const {
    const Span span = spans_.at(index);
    return std::string_view(bytes_).substr(span.begin, span.length);
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
            out.push_back(U'\uFFFD');
            ++i;
            continue;
        }
        if (i + static_cast<std::size_t>(extra) >= bytes.size()) {
            out.push_back(U'\uFFFD');
            ++i;
            continue;
        }
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            const auto cont = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((cont & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (cont & 0x3F);
        }
        if (!valid || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(U'\uFFFD');
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

}  // namespace vostrel
