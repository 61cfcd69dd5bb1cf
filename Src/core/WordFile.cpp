#include "WordFile.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kHighs = 0x8080808080808080u;

// A high bit in each byte of `block` equal to `c`; bits above a true match may be false hits,
// so only the lowest one counts.
constexpr std::uint64_t matches(std::uint64_t block, char c) {
    const std::uint64_t x = block ^ (kOnes * static_cast<unsigned char>(c));
    return (x - kOnes) & ~x & kHighs;
}

bool isWord(std::size_t begin, std::size_t stop) {
    return stop > begin && stop - begin <= kMaxWordBytes;
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

// Where in 64 bytes the separators lie, and the bytes that make a field more than a plain word:
// quotes and blanks. Bit i stands for byte i.
struct BlockBits {
    std::uint64_t separators = 0;
    std::uint64_t awkward = 0;
};

BlockBits classify(const char* block) {
    BlockBits bits;
#if defined(__SSE2__)
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i blank = _mm_set1_epi8(' ');
    const __m128i tab = _mm_set1_epi8('\t');
    for (int i = 0; i < 64; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + i));
        const __m128i sep = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(v, comma), _mm_cmpeq_epi8(v, lf)), _mm_cmpeq_epi8(v, cr));
        const __m128i odd =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, quote), _mm_cmpeq_epi8(v, blank)),
                         _mm_cmpeq_epi8(v, tab));
        bits.separators |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(sep))} << i;
        bits.awkward |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(odd))} << i;
    }
#else
    for (int i = 0; i < 64; ++i) {
        const char c = block[i];
        bits.separators |= std::uint64_t{isSeparator(c)} << i;
        bits.awkward |= std::uint64_t{c == '"' || isBlank(c)} << i;
    }
#endif
    return bits;
}

}  // namespace

// Reads the field that starts at `pos` (which must be before the end) into [begin, stop), empty
// when the field holds no word, and returns where the next field starts.
std::size_t WordList::nextField(std::size_t pos, std::size_t& begin, std::size_t& stop) const {
    const std::string_view text = bytes_.view();
    const std::size_t end = text.size();
    while (pos < end && isBlank(text[pos])) {
        ++pos;
    }
    if (pos == end) {
        begin = stop = end;
        return end;
    }
    if (text[pos] == '"') {
        begin = pos + 1;
        stop = std::min(text.find('"', begin), end);
        pos = findSeparator(text, stop);
    } else {
        begin = pos;
        pos = findSeparator(text, pos);
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

WordList::WordList(FileBytes bytes) : bytes_(std::move(bytes)) {
    // Offsets are 32-bit; the reader never hands over more than this.
    assert(bytes_.size() <= kMaxWordFileBytes);
    const std::size_t end = bytes_.size();
    std::size_t pos = bytes_.view().starts_with("\xEF\xBB\xBF") ? 3 : 0;
    if (countPlain(pos)) {
        return;
    }
    marks_.clear();
    count_ = 0;
    while (pos < end) {
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

// Most lists are plain words, one to a line or between commas: with no quote or blank in the
// file, a word starts at every byte that is no separator and follows one, so the words are
// counted 64 bytes at a time instead of field by field. False at the first quote, blank or field
// longer than a word may be; the caller then reads field by field.
bool WordList::countPlain(std::size_t pos) {
    const std::string_view text = bytes_.view();
    std::uint64_t before = 1;  // the byte before `pos` ends a field
    std::size_t run = 0;       // bytes since the last separator
    char last[64];
    while (pos < text.size()) {
        const char* block = text.data() + pos;
        if (text.size() - pos < sizeof last) {
            // The end of the file ends the last field, as a line end would.
            std::memset(last, '\n', sizeof last);
            std::memcpy(last, block, text.size() - pos);
            block = last;
        }
        const BlockBits bits = classify(block);
        if (bits.awkward != 0) {
            return false;
        }
        if (bits.separators == 0) {
            run += 64;
            if (run > kMaxWordBytes) {
                return false;
            }
        } else {
            if (run + static_cast<std::size_t>(std::countr_zero(bits.separators)) > kMaxWordBytes) {
                return false;
            }
            run = static_cast<std::size_t>(std::countl_zero(bits.separators));
        }
        std::uint64_t starts = ~bits.separators & ((bits.separators << 1) | before);
        before = bits.separators >> 63;
        const auto found = static_cast<std::size_t>(std::popcount(starts));
        // At most 32 words start in a block, so at most one of them is marked.
        std::size_t skip = (kStride - count_ % kStride) % kStride;
        if (skip < found) {
            for (; skip > 0; --skip) {
                starts &= starts - 1;
            }
            marks_.push_back(static_cast<std::uint32_t>(
                pos + static_cast<std::size_t>(std::countr_zero(starts))));
        }
        count_ += found;
        pos += 64;
    }
    return true;
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
            return bytes_.view().substr(begin, stop - begin);
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
