#pragma once

#include <QMainWindow>
#include <memory>
#include <string>

#include "Controls.h"
#include "forms/Views.h"
#include "forms/frmMain.h"

class AboutWindow;

// The game window on a Qt desktop: draws what frmMain says and forwards what the player does.
class MainWindow final : public QMainWindow, public vostrel::MainView {
    Q_OBJECT

public:
    MainWindow(const vostrel::Services& system, std::string appFolder);
    ~MainWindow() override;

    // Runs the window's load procedure; false when it has unloaded the window instead.
    bool load();

    [[nodiscard]] vostrel::frmMain& form() { return form_; }

    [[nodiscard]] int dpi() const override;
    [[nodiscard]] int frameWidth(vostrel::forms::Id control) const override;
    [[nodiscard]] vostrel::forms::TextSize measureText(vostrel::forms::Id control,
                                                       std::string_view text) const override;
    void setCaption(vostrel::forms::Id control, std::string_view text) override;
    void setBounds(vostrel::forms::Id control, const vostrel::forms::Rect& bounds) override;
    void setSpokenName(vostrel::forms::Id control, std::string_view name) override;
    void showMessage(std::string_view title, std::string_view text) override;
    void unload() override;
    void setEnabled(vostrel::forms::Id control, int index, bool enabled) override;
    vostrel::PictureSize showPicture(std::string_view bytes, int maxSide) override;
    void showBlankPicture(vostrel::PictureSize size) override;
    void alert(vostrel::forms::Id control) override;
    void announce(std::string_view utterance) override;
    vostrel::AboutView& aboutView(vostrel::frmAbout& form) override;

private:
    void createMenus();
    [[nodiscard]] QWidget* widget(vostrel::forms::Id control, int index = -1) const;

    vostrel::frmMain form_;
    std::unique_ptr<vostrel::Controls> controls_;
    AboutWindow* about_ = nullptr;
};
