#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "forms/Definitions.h"
#include "forms/Keyboard.h"
#include "forms/Layout.h"

class QKeyEvent;
class QWidget;

namespace vostrel {

// The widgets of one window's designed controls, made as children of `parent` at their places at
// the design's density (Qt scales device-independent pixels to the screen itself), with their
// fonts, frames and grounds.
class Controls {
public:
    Controls(const forms::Form& form, QWidget* parent);

    [[nodiscard]] QWidget* widget(forms::Id id, int index = -1) const;
    [[nodiscard]] std::optional<forms::ControlRef> control(const QWidget* widget) const;
    [[nodiscard]] const std::vector<QWidget*>& widgets() const { return widgets_; }

private:
    const forms::Form& form_;
    std::vector<QWidget*> widgets_;  // one for each of form_.controls, in their order
};

// A caption as Qt shows it: its access key marked as Qt marks one, every other ampersand shown.
QString mnemonicText(std::string_view caption, bool accessKeys);

forms::TextSize measureText(const QWidget* control, const QString& text);

// How wide the frame of a label or picture area is on each side.
int frameWidth(const QWidget* control);

void setBounds(QWidget* control, const forms::Rect& bounds);

}  // namespace vostrel

namespace vostrel::qt {

// A key as the windows' procedures name it.
forms::KeyPress keyPress(const QKeyEvent& event);

}  // namespace vostrel::qt
