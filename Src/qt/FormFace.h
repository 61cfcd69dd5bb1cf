#pragma once

#include <QLabel>
#include <memory>

#include "Controls.h"
#include "MessageBox.h"
#include "QtText.h"
#include "ScreenReader.h"
#include "forms/Views.h"

namespace vostrel {

// What both Qt windows do alike for their procedures: a Qt window of type `Window` (a main window
// or a dialog) that puts the captions, places and spoken names it is told on its designed controls.
template <class Window, class View>
class FormFace : public Window, public View {
public:
    using Window::Window;

    [[nodiscard]] int dpi() const override {
        return forms::kDesignDpi;  // Qt scales the design's pixels to the screen
    }
    [[nodiscard]] int frameWidth(forms::Id control) const override {
        return vostrel::frameWidth(widget(control));
    }
    [[nodiscard]] forms::TextSize measureText(forms::Id control,
                                              std::string_view text) const override {
        return vostrel::measureText(widget(control), toQString(text));
    }
    void setCaption(forms::Id control, std::string_view text) override {
        qobject_cast<QLabel*>(widget(control))->setText(toQString(text));
    }
    void setBounds(forms::Id control, const forms::Rect& bounds) override {
        vostrel::setBounds(widget(control), bounds);
    }
    void setSpokenName(forms::Id control, std::string_view name) override {
        vostrel::setSpokenName(widget(control), toQString(name));
    }
    void showMessage(std::string_view title, std::string_view text) override {
        vostrel::showMessage(this, title, text);
    }

protected:
    [[nodiscard]] QWidget* widget(forms::Id control, int index = -1) const {
        return controls_->widget(control, index);
    }

    std::unique_ptr<Controls> controls_;
};

}  // namespace vostrel
