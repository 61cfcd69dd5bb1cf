#include "Fonts.h"

#include <QStringList>

namespace vostrel {

QFont qtFont(const forms::Font& design) {
    QStringList families;
    for (const char* face : design.faces) {
        families << QString::fromUtf8(face);
    }
    const bool fixed = design.pitch == forms::Pitch::Fixed;
    families << QString::fromLatin1(fixed ? "monospace" : "sans-serif");
    QFont font;
    // A family list lets the font system pick the first face present without enumerating them
    // all at start-up.
    font.setFamilies(families);
    font.setStyleHint(fixed ? QFont::TypeWriter : QFont::SansSerif);
    font.setPointSize(design.points);
    font.setBold(design.bold);
    return font;
}

}  // namespace vostrel
