#pragma once

#include <QDialog>
#include <memory>

#include "FormFace.h"
#include "forms/frmAbout.h"

// The About window on a Qt desktop: draws what frmAbout says and forwards what the player does.
class AboutWindow final : public vostrel::FormFace<QDialog, vostrel::AboutView> {
    Q_OBJECT

public:
    AboutWindow(vostrel::frmAbout& form, QWidget* owner);
    ~AboutWindow() override;

    void unload() override;
    void setTitle(std::string_view text) override;
    void showModal() override;

private:
    bool keyDown(vostrel::forms::Key key) override;
    void closeRequested() override;

    vostrel::frmAbout& form_;
};
