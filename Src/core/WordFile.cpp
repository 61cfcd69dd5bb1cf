#include "WordFile.h"

#include <cassert>

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

}  // namespace

WordList::WordList(std::string bytes) : bytes_(std::move(bytes)) {
    // Spans are 32-bit; the reader never hands over more than this.
    assert(bytes_.size() <= kMaxWordFileBytes);
    const std::string_view text = bytes_;
    std::size_t pos = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    const std::size_t end = text.size();

    auto add = [this](std::size_t begin, std::size_t stop) {
        if (stop > begin) {
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
            pos = close;
            while (pos < end && !isSeparator(text[pos])) {
                ++pos;
            }
        } else {
            const std::size_t begin = pos;
            while (pos < end && !isSeparator(text[pos])) {
                ++pos;
            }
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
