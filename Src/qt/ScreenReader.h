#pragma once

class QString;
class QWidget;

namespace vostrel {

// Gives a control the words a screen reader says for it; Qt tells assistive technology.
void setSpokenName(QWidget* control, const QString& name);

// Tells assistive technology something to say now, unasked.
void alertScreenReader(QWidget* control);

}  // namespace vostrel
