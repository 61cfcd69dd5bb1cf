#pragma once

#include <QString>
#include <vector>

#include "forms/Definitions.h"
#include "forms/Layout.h"

class QWidget;

namespace vostrel {

// The widgets of one window's designed controls, made as children of `parent` at their places at
// the design's density (Qt scales device-independent pixels to the screen itself), with their
// fonts, frames, grounds and tab order.
class Controls {
public:
    Controls(const forms::Form& form, QWidget* parent);

    [[nodiscard]] QWidget* widget(forms::Id id, int index = -1) const;
    // The control the focus starts on: the first in the tab order.
    [[nodiscard]] QWidget* first() const { return first_; }

private:
    const forms::Form& form_;
    std::vector<QWidget*> widgets_;  // one for each of form_.controls, in their order
    QWidget* first_ = nullptr;
};

// A caption as a button shows it: ampersands are shown where they mark no access key.
QString buttonText(const forms::Control& control);

forms::TextSize measureText(const QWidget* control, const QString& text);

// How wide the frame of a label or picture area is on each side.
int frameWidth(const QWidget* control);

void setBounds(QWidget* control, const forms::Rect& bounds);

}  // namespace vostrel
