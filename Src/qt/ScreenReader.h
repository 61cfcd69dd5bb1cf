#pragma once

class QString;
class QWidget;

namespace vostrel {

// Gives a control the words a screen reader says for it; Qt tells assistive technology.
void setSpokenName(QWidget* control, const QString& name);

// Tells assistive technology something to say now, unasked.
void alertScreenReader(QWidget* control);

// Has a screen reader say `text` now, once, wherever the focus is, through a notification of
// `window` that has no widget and draws nothing. Called after the changes it tells of, so it
// follows whatever the screen reader says about a focus those changes moved.
void announce(QWidget* window, const QString& text);

}  // namespace vostrel
