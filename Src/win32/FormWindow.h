#pragma once

#include <windows.h>

#include <memory>
#include <string_view>
#include <vector>

#include "Controls.h"
#include "ScreenReader.h"
#include "forms/Views.h"

namespace vostrel::win32 {

// One designed window on the screen: its frame, menu bar and controls, made from the window's
// definition. It behaves as a dialog does (Tab and Shift+Tab, Enter, Esc, access keys) and
// forwards clicks, menu choices and the frame's close command; it decides nothing itself.
class FormWindow {
public:
    virtual ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    [[nodiscard]] HWND handle() const { return window_; }

protected:
    FormWindow(const forms::Form& form, ScreenReader& reader);

    // Makes the window, hidden, with its controls; a window kept off the taskbar needs an owner.
    void create(HWND owner);
    // Shows the window with the focus on its first control.
    void showWithFocus(int how);
    // Runs the window's messages until `done` holds or the program is told to end.
    void runMessages(const bool& done) const;

    virtual void clicked(forms::Id control, int index) = 0;
    // The frame's close command.
    virtual void closed() = 0;
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // The shared parts of FormView.
    void setSpokenName(forms::Id control, std::string_view name);
    void showMessage(std::string_view title, std::string_view text) const;

    const forms::Form& design_;
    ScreenReader& reader_;
    HWND window_ = nullptr;
    int dpi_ = forms::kDesignDpi;
    std::unique_ptr<Controls> controls_;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void command(int id, bool fromControl);
    void fitClientArea();
    HMENU createMenu() const;

    std::vector<HWND> annotated_;
};

// The parts of a window's view that are the same for every window.
template <class View>
class FormFace : public View, protected FormWindow {
public:
    [[nodiscard]] int dpi() const override { return dpi_; }
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
    void setBounds(forms::Id control, const forms::Rect& bounds) override {
        controls_->setBounds(control, bounds);
    }
    void setSpokenName(forms::Id control, std::string_view name) override {
        FormWindow::setSpokenName(control, name);
    }
    void showMessage(std::string_view title, std::string_view text) override {
        FormWindow::showMessage(title, text);
    }

    using FormWindow::handle;

protected:
    using FormWindow::FormWindow;
};

}  // namespace vostrel::win32
