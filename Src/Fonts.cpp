#include "Fonts.h"

#include <QStringList>

namespace vostrel {
namespace {

QFont boldFont(const QStringList& families, QFont::StyleHint hint, int pointSize) {
    QFont font;
    // A family list lets the font system pick the first face present without enumerating them
    // all at start-up.
    font.setFamilies(families);
    font.setStyleHint(hint);
    font.setPointSize(pointSize);
    font.setBold(true);
    return font;
}

}  // namespace

QFont gothicFont(int pointSize) {
    return boldFont({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                     QStringLiteral("IPAGothic"), QStringLiteral("monospace")},
                    QFont::TypeWriter, pointSize);
}

QFont pGothicFont(int pointSize) {
    return boldFont({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                     QStringLiteral("IPAPGothic"), QStringLiteral("sans-serif")},
                    QFont::SansSerif, pointSize);
}

}  // namespace vostrel
