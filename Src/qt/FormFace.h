#pragma once

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <functional>
#include <memory>
#include <utility>

#include "Controls.h"
#include "MessageBox.h"
#include "QtText.h"
#include "ScreenReader.h"
#include "forms/Faces.h"
#include "forms/Keyboard.h"

namespace vostrel::qt {

// What both Qt windows do alike for their procedures: a Qt window of type `Window` (a main window
// or a dialog) that puts the captions, places, focus and spoken names it is told on its designed
// controls, and hands every key, pointer press, closing and focus move that Qt would decide
// itself to the window's procedures.
template <class Window, class Face>
class FormFace : public Window, public Face {
public:
    using Window::Window;

    [[nodiscard]] int dpi() const override {
        return forms::kDesignDpi;  // Qt scales the design's pixels to the screen
    }
    [[nodiscard]] const forms::Conventions& conventions() const override {
        return forms::kLinuxConventions;
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
    // What the window's procedures make of a key, a pointer press and the frame's close command.
    virtual forms::KeyAction keyDown(const forms::KeyPress& press) = 0;
    virtual void pointerDown(std::optional<forms::ControlRef> control) = 0;
    virtual void closeRequested() = 0;
    // The menu bar takes `press`, which opens it, where the window has one.
    virtual void openMenus(const forms::KeyPress& /*press*/) {}

    [[nodiscard]] QWidget* widget(forms::Id control, int index = -1) const {
        return controls_->widget(control, index);
    }

    // Keys and pointer presses are taken from every control, and from the window's ground in
    // `ground`, before Qt acts on them. Buttons and pictures take the focus only when the
    // procedures give it.
    void takeInput(QWidget* ground) {
        this->installEventFilter(this);
        ground->installEventFilter(this);
        for (QWidget* control : controls_->widgets()) {
            control->installEventFilter(this);
            if (control->focusPolicy() != Qt::NoFocus) {
                control->setFocusPolicy(Qt::TabFocus);
            }
        }
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyRelease) {
            const auto* release = dynamic_cast<QKeyEvent*>(event);
            lastRelease_ = {release->key(), release->timestamp()};
        } else if (event->type() == QEvent::KeyPress) {
            const auto* key = dynamic_cast<QKeyEvent*>(event);
            forms::KeyPress press = keyPress(*key);
            // X repeats a held key as a release and a press at one moment, which Qt does not
            // always mark as a repeat. Events without a time (synthesised ones) are each a press.
            press.repeat =
                press.repeat ||
                (key->timestamp() != 0 && lastRelease_ == std::pair{key->key(), key->timestamp()});
            if (keyDown(press) == forms::KeyAction::Menus) {
                openMenus(press);
            }
            // Whatever the procedures did or left alone, no widget acts on it as well; the
            // system's own keys never come this far.
            return true;
        } else if (event->type() == QEvent::MouseButtonPress ||
                   event->type() == QEvent::MouseButtonDblClick) {
            pointerDown(controls_->control(qobject_cast<QWidget*>(watched)));
        }
        return Window::eventFilter(watched, event);
    }

    // Qt's own moves of the focus (Tab reaches the window as a key first) go nowhere.
    bool focusNextPrevChild(bool /*next*/) override { return true; }

    // The window closes only where its procedures unload it, from here or from elsewhere.
    void closeEvent(QCloseEvent* event) override {
        if (!unloading_) {
            closeRequested();
        }
        event->setAccepted(unloading_);
    }

    std::unique_ptr<Controls> controls_;
    bool unloading_ = false;               // the procedures unload the window: the close is theirs
    std::pair<int, quint64> lastRelease_;  // the key last released, and when
};

}  // namespace vostrel::qt
