#pragma once

#include "FormFace.h"
#include "forms/frmAbout.h"

namespace vostrel::win32 {

// The About window: modal over the game window that owns it, made afresh for every showing.
class AboutFace final : public FormFace<vostrel::AboutFace> {
public:
    AboutFace(frmAbout& form, HWND owner, ScreenReader& reader);

    // Makes the window, hidden, at its place, unless it is already there.
    void open();

    void setTitle(std::string_view text) override;
    void showModal() override;
    void unload() override;

private:
    void clicked(forms::Id control, int index) override;
    forms::KeyAction keyDown(const forms::KeyPress& press) override;
    void pointerDown(std::optional<forms::ControlRef> control) override;
    void closed() override;
    void dpiChanged() override;

    frmAbout& form_;
    HWND owner_;
    bool closed_ = true;
};

}  // namespace vostrel::win32
