#include "WordFile.h"

#include <algorithm>
#include <utility>

namespace vostrel {
namespace {

constexpr char32_t kReplacement = U'\uFFFD';

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The first comma or line end at or after `pos`, or the end.
std::size_t nextSeparator(std::string_view text, std::size_t pos) {
    while (pos < text.size() && text[pos] != ',' && text[pos] != '\n' && text[pos] != '\r') {
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

Words::Words(std::string bytes) : text_(std::move(bytes)) {
    std::size_t pos = 0;
    if (text_.starts_with("\xFF\xFE") || text_.starts_with("\xFE\xFF")) {
        text_ = utf16ToUtf8(std::string_view(text_).substr(2), text_[0] == '\xFE');
        encoding_ = TextEncoding::Utf8;
    } else if (text_.starts_with("\xEF\xBB\xBF")) {
        pos = 3;
        encoding_ = TextEncoding::Utf8;
    }
    // 32-bit starts: even a UTF-16 list at the size limit makes far less than 4 GiB of UTF-8.
    // Room for as many words as the text can hold, a byte and a separator each, asked for once:
    // memory never written costs nothing, and growing would write every start again.
    starts_.reserve(text_.size() / 2 + 1);
    while (pos < text_.size()) {
        const Field field = fieldAt(pos);
        if (!field.word.empty()) {
            starts_.push_back(static_cast<std::uint32_t>(pos));
        }
        pos = field.next;
    }
}

Words::Field Words::fieldAt(std::size_t pos) const {
    const std::string_view text = text_;
    const std::size_t end = text.size();
    while (pos < end && isBlank(text[pos])) {
        ++pos;
    }
    // A quoted field runs to the next quote, and what follows that up to the separator is dropped.
    const bool quoted = pos < end && text[pos] == '"';
    const std::size_t begin = quoted ? pos + 1 : pos;
    std::size_t stop = quoted ? std::min(text.find('"', begin), end) : nextSeparator(text, pos);
    pos = nextSeparator(text, stop);
    while (!quoted && stop > begin && isBlank(text[stop - 1])) {
        --stop;
    }
    // Step over exactly one separator; CRLF counts as one line end.
    if (text.substr(pos, 2) == "\r\n") {
        ++pos;
    }
    const std::size_t length = stop - begin;
    return {length <= kMaxWordBytes ? text.substr(begin, length) : std::string_view(), pos + 1};
}

std::string_view Words::operator[](std::size_t index) const {
    return fieldAt(starts_.at(index)).word;
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
