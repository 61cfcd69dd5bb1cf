#pragma once

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <functional>
#include <memory>

#include "Controls.h"
#include "MessageBox.h"
#include "QtText.h"
#include "ScreenReader.h"
#include "forms/Faces.h"
#include "forms/Keyboard.h"

namespace vostrel::qt {

// What both Qt windows do alike for their procedures: a Qt window of type `Window` (a main window
// or a dialog) that puts the captions, places, focus and spoken names it is told on its designed
// controls, and hands the keys, closing and focus moves that Qt would decide itself to the
// window's procedures.
template <class Window, class Face>
class FormFace : public Window, public Face {
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
    void setBounds(forms::ControlRef control, const forms::Rect& bounds) override {
        vostrel::setBounds(widget(control.id, control.index), bounds);
    }
    void setSpokenName(forms::Id control, std::string_view name) override {
        vostrel::setSpokenName(widget(control), toQString(name));
    }
    void setFocus(forms::ControlRef control) override {
        // As a focus the keyboard moves, so the style draws its cue.
        widget(control.id, control.index)->setFocus(Qt::TabFocusReason);
    }
    [[nodiscard]] std::optional<forms::ControlRef> focus() const override {
        return controls_->control(this->focusWidget());
    }
    void showMessage(std::string_view title, std::string_view text,
                     std::function<void()> then) override {
        vostrel::showMessage(this, title, text);
        then();
    }

protected:
    // What the window's procedures make of a key and of the frame's close command.
    virtual bool keyDown(forms::Key key) = 0;
    virtual void closeRequested() = 0;

    [[nodiscard]] QWidget* widget(forms::Id control, int index = -1) const {
        return controls_->widget(control, index);
    }

    // The keys the procedures decide on are taken from every control before Qt acts on them.
    void takeKeys() {
        this->installEventFilter(this);
        for (QWidget* control : controls_->widgets()) {
            control->installEventFilter(this);
        }
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* press = dynamic_cast<QKeyEvent*>(event);
            const bool plain = (press->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
            if (press->key() == Qt::Key_Escape && plain) {
                return keyDown(forms::Key::Escape);
            }
            if ((press->key() == Qt::Key_Return || press->key() == Qt::Key_Enter) && plain) {
                return keyDown(forms::Key::Enter);
            }
        }
        return Window::eventFilter(watched, event);
    }

    // Tab and Shift+Tab, and Qt's own moves of the focus, follow the procedures' tab order.
    bool focusNextPrevChild(bool next) override {
        return keyDown(next ? forms::Key::Tab : forms::Key::BackTab);
    }

    // The window closes only where its procedures unload it, from here or from elsewhere.
    void closeEvent(QCloseEvent* event) override {
        if (!unloading_) {
            closeRequested();
        }
        event->setAccepted(unloading_);
    }

    std::unique_ptr<Controls> controls_;
    bool unloading_ = false;  // the procedures unload the window: the close is theirs
};

}  // namespace vostrel::qt
