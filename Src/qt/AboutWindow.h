#pragma once

#include <QDialog>
#include <memory>

#include "Controls.h"
#include "forms/Views.h"
#include "forms/frmAbout.h"

// The About window on a Qt desktop: draws what frmAbout says and forwards what the player does.
class AboutWindow final : public QDialog, public vostrel::AboutView {
    Q_OBJECT

public:
    AboutWindow(vostrel::frmAbout& form, QWidget* owner);
    ~AboutWindow() override;

    [[nodiscard]] int dpi() const override;
    [[nodiscard]] int frameWidth(vostrel::forms::Id control) const override;
    [[nodiscard]] vostrel::forms::TextSize measureText(vostrel::forms::Id control,
                                                       std::string_view text) const override;
    void setCaption(vostrel::forms::Id control, std::string_view text) override;
    void setBounds(vostrel::forms::Id control, const vostrel::forms::Rect& bounds) override;
    void setSpokenName(vostrel::forms::Id control, std::string_view name) override;
    void showMessage(std::string_view title, std::string_view text) override;
    void unload() override;
    void setTitle(std::string_view text) override;
    void showModal() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    vostrel::frmAbout& form_;
    std::unique_ptr<vostrel::Controls> controls_;
};
