#pragma once

#include <QDialog>
#include <memory>

#include "FormFace.h"
#include "forms/frmAbout.h"

namespace vostrel::qt {

// The About window on a Qt desktop: draws what frmAbout says and forwards what the player does.
class AboutFace final : public FormFace<QDialog, vostrel::AboutFace> {
    Q_OBJECT

public:
    AboutFace(frmAbout& form, QWidget* owner);
    ~AboutFace() override;

    void unload() override;
    void setTitle(std::string_view text) override;
    void showModal() override;

private:
    forms::KeyAction keyDown(const forms::KeyPress& press) override;
    void pointerDown(std::optional<forms::ControlRef> control) override;
    void closeRequested() override;
    // Qt's own ways of closing a dialog go through the window's procedures too.
    void reject() override;

    vostrel::frmAbout& form_;
};

}  // namespace vostrel::qt
