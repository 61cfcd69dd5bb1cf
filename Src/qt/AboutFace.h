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
    bool keyDown(vostrel::forms::Key key) override;
    void closeRequested() override;

    vostrel::frmAbout& form_;
};

}  // namespace vostrel::qt
