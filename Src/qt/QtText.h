#pragma once

#include <QString>
#include <string_view>

namespace vostrel {

// QString::fromUtf8 drops a leading byte-order mark, which a word may really hold: every
// character of a caption is shown, and counted.
inline QString toQString(std::string_view utf8) {
    const std::string_view mark = "\xEF\xBB\xBF";
    QString text;
    if (utf8.starts_with(mark)) {
        text = QChar(0xFEFF);
        utf8.remove_prefix(mark.size());
    }
    return text + QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace vostrel
