#pragma once

#include <QMainWindow>
#include <memory>
#include <string>

#include "FormFace.h"
#include "forms/frmMain.h"

namespace vostrel::qt {

class AboutFace;

// The game window on a Qt desktop: draws what frmMain says and forwards what the player does.
class MainFace final : public FormFace<QMainWindow, vostrel::MainFace> {
    Q_OBJECT

public:
    MainFace(const Services& system, std::string appFolder);
    ~MainFace() override;

    // Runs the window's load procedure; false when it has unloaded the window instead.
    bool load();

    [[nodiscard]] vostrel::frmMain& form() { return form_; }

    void unload() override;
    void setEnabled(vostrel::forms::Id control, int index, bool enabled) override;
    vostrel::PictureSize showPicture(std::string_view bytes, int maxSide) override;
    void showBlankPicture(vostrel::PictureSize size) override;
    void alert(vostrel::forms::Id control) override;
    void announce(std::string_view utterance) override;
    vostrel::AboutFace& aboutFace(vostrel::frmAbout& form) override;

private:
    forms::KeyAction keyDown(const forms::KeyPress& press) override;
    void pointerDown(std::optional<forms::ControlRef> control) override;
    void closeRequested() override;
    void openMenus(const forms::KeyPress& press) override;
    void createMenus();

    vostrel::frmMain form_;
    AboutFace* about_ = nullptr;
};

}  // namespace vostrel::qt
