#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "Controls.h"
#include "ScreenReader.h"
#include "forms/Faces.h"
#include "forms/Keyboard.h"

namespace vostrel::win32 {

// One designed window on the screen: its frame, menu bar and controls, made from the window's
// definition. Every key and pointer press on it goes to the window's procedures first, and it
// does what they answer; it forwards clicks, menu choices, the frame's close command and changes
// of pixel density, and decides nothing itself.
class FormFaceBase {
public:
    virtual ~FormFaceBase();
    FormFaceBase(const FormFaceBase&) = delete;
    FormFaceBase& operator=(const FormFaceBase&) = delete;

    [[nodiscard]] HWND handle() const { return window_; }

protected:
    FormFaceBase(const forms::Form& form, ScreenReader& reader);

    // Makes the window, hidden, with its controls; a window kept off the taskbar needs an owner.
    void create(HWND owner);
    // Shows the window, with the focus where the procedures last put it.
    void show(int how);
    // Runs the window's messages until `done` holds or the program is told to end.
    void runMessages(const bool& done);

    virtual void clicked(forms::Id control, int index) = 0;
    // What the window's procedures make of a key, and of a pointer press on a control or none.
    virtual forms::KeyAction keyDown(const forms::KeyPress& press) = 0;
    virtual void pointerDown(std::optional<forms::ControlRef> control) = 0;
    // The frame's close command.
    virtual void closed() = 0;
    // The window is drawn at `dpi_` now: its fonts are made for it; the procedures place the rest.
    virtual void dpiChanged() = 0;
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // The shared parts of FormFace.
    void setSpokenName(forms::Id control, std::string_view name);
    void setFocus(forms::ControlRef control);
    [[nodiscard]] std::optional<forms::ControlRef> focus() const;
    void showMessage(std::string_view title, std::string_view text) const;

    const forms::Form& design_;
    ScreenReader& reader_;
    HWND window_ = nullptr;
    int dpi_ = forms::kDesignDpi;
    std::unique_ptr<Controls> controls_;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Hands a key or pointer press on this window to its procedures; true when that is all.
    bool takeInput(const MSG& message);
    void noteFocus();
    void showDefault();
    void command(int id, bool fromControl);
    void fitClientArea();
    HMENU createMenu() const;

    std::vector<HWND> annotated_;
    HWND focused_ = nullptr;  // the control with the focus, or that had it last
    SIZE frame_{};            // what the frame and menu bar add to the client area
};

// The parts of a window's view that are the same for every window.
template <class Face>
class FormFace : public Face, protected FormFaceBase {
public:
    [[nodiscard]] int dpi() const override { return dpi_; }
    [[nodiscard]] const forms::Conventions& conventions() const override {
        return forms::kWindowsConventions;
    }
    [[nodiscard]] int frameWidth(forms::Id control) const override {
        return controls_->frameWidth(control);
    }
    [[nodiscard]] forms::TextSize measureText(forms::Id control,
                                              std::string_view text) const override {
        return controls_->measureText(control, text);
    }
    void setCaption(forms::Id control, std::string_view text) override {
        controls_->setCaption(control, text);
    }
    void setBounds(forms::ControlRef control, const forms::Rect& bounds) override {
        controls_->setBounds(control, bounds);
    }
    void setSpokenName(forms::Id control, std::string_view name) override {
        FormFaceBase::setSpokenName(control, name);
    }
    void setFocus(forms::ControlRef control) override { FormFaceBase::setFocus(control); }
    [[nodiscard]] std::optional<forms::ControlRef> focus() const override {
        return FormFaceBase::focus();
    }
    void showMessage(std::string_view title, std::string_view text,
                     std::function<void()> then) override {
        FormFaceBase::showMessage(title, text);
        then();
    }

    using FormFaceBase::handle;

protected:
    using FormFaceBase::FormFaceBase;
};

}  // namespace vostrel::win32
