#pragma once

#include <QString>
#include <string_view>

namespace vostrel {

// Character by character: QString::fromUcs4 would drop a byte-order mark that a word holds, and
// the masked word must keep one "?" for every character.
inline QString toQString(std::u32string_view text) {
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (const char32_t c : text) {
        out.append(QChar::fromUcs4(c));
    }
    return out;
}

}  // namespace vostrel
