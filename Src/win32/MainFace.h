#pragma once

#include <memory>
#include <string>

#include "FormFace.h"
#include "Pictures.h"
#include "forms/frmMain.h"

namespace vostrel::win32 {

class AboutFace;

// The game window: draws what frmMain says and forwards what the player does.
class MainFace final : public FormFace<vostrel::MainFace> {
public:
    MainFace(const Services& system, std::string appFolder, ScreenReader& reader);
    ~MainFace() override;

    // Runs the window's load procedure; false when it has unloaded the window instead.
    bool load();
    // Shows the window and runs the program until the window is unloaded.
    void run(int how);

    void unload() override;
    void setEnabled(forms::Id control, int index, bool enabled) override;
    PictureSize showPicture(std::string_view bytes, int maxSide) override;
    void showBlankPicture(PictureSize size) override;
    void alert(forms::Id control) override;
    void announce(std::string_view utterance) override;
    vostrel::AboutFace& aboutFace(frmAbout& form) override;

private:
    void clicked(forms::Id control, int index) override;
    forms::KeyAction keyDown(const forms::KeyPress& press) override;
    void pointerDown(std::optional<forms::ControlRef> control) override;
    void closed() override;
    void dpiChanged() override;
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void setIcons();

    frmMain form_;
    HWND announcer_ = nullptr;
    HICON icons_[2] = {};
    std::unique_ptr<AboutFace> about_;
    bool ended_ = false;
};

}  // namespace vostrel::win32
