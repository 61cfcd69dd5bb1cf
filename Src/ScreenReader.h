#pragma once

#include <QAccessible>

class QString;
class QWidget;

namespace vostrel {

// Gives a control the words a screen reader says for it. A change is news to assistive
// technology; the same words again are not.
void setSpokenName(QWidget* control, const QString& name);

// Tells assistive technology something to say now, unasked.
void alertScreenReader(QWidget* control);

// Hears all that the two above tell. Qt passes its updates on only while an assistive technology
// listens, so this is how the telling is checked where none runs.
using ScreenReaderListener = void (*)(const QWidget* control, QAccessible::Event what);
void setScreenReaderListener(ScreenReaderListener listener);

}  // namespace vostrel
