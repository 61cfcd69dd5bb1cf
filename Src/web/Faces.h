#pragma once

#include <functional>
#include <memory>

#include "Page.h"
#include "forms/Faces.h"

namespace vostrel::web {

// What both windows do alike on the page: every caption, place, spoken name and move of the
// focus the procedures ask for goes to the page as it is. `Window` is the page's number for it.
template <class Face, int Window>
class FormFace : public Face {
public:
    // The browser zooms the page itself; the design's pixels are its CSS pixels.
    [[nodiscard]] int dpi() const override { return forms::kDesignDpi; }
    [[nodiscard]] const forms::Conventions& conventions() const override {
        return forms::kBrowserConventions;
    }
    [[nodiscard]] int frameWidth(forms::Id control) const override;
    [[nodiscard]] forms::TextSize measureText(forms::Id control,
                                              std::string_view text) const override;
    void setCaption(forms::Id control, std::string_view text) override;
    void setBounds(forms::ControlRef control, const forms::Rect& bounds) override;
    void setSpokenName(forms::Id control, std::string_view name) override;
    void setFocus(forms::ControlRef control) override;
    [[nodiscard]] std::optional<forms::ControlRef> focus() const override;
    // A page cannot wait: the message's OK runs `then` later, through messageClosed.
    void showMessage(std::string_view title, std::string_view text,
                     std::function<void()> then) override;
    void unload() override { page_unload(Window); }

    void messageClosed();

private:
    std::function<void()> then_;
};

class AboutFace final : public FormFace<vostrel::AboutFace, 1> {
public:
    explicit AboutFace(frmAbout& form);

    [[nodiscard]] frmAbout& form() { return form_; }

    void setTitle(std::string_view text) override;
    // Returns at once: the About window tells the game window when it unloads.
    void showModal() override { page_show_about(); }

private:
    frmAbout& form_;
};

class MainFace final : public FormFace<vostrel::MainFace, 0> {
public:
    // Only once the page has drawn the windows; in the arrangement the page's room gets.
    explicit MainFace(forms::Arrangement arranged);

    // The density of the arrangement: the browser zooms the design's pixels itself, but a screen
    // smaller than the design's window gets the design, or the upright arrangement, filling it.
    [[nodiscard]] int dpi() const override { return arranged_.dpi; }
    [[nodiscard]] const forms::Form& arrangement() const override { return *arranged_.form; }
    // True where it changed: the window's procedures then place everything again.
    bool arrange(forms::Arrangement arranged);

    void setEnabled(forms::Id control, int index, bool enabled) override;
    PictureSize showPicture(std::string_view bytes, int maxSide) override;
    void showBlankPicture(PictureSize size) override;
    void alert(forms::Id control) override { page_alert(static_cast<int>(control)); }
    void announce(std::string_view utterance) override;
    vostrel::AboutFace& aboutFace(frmAbout& form) override;

    // The About window, once it has been asked for.
    [[nodiscard]] AboutFace* about() { return about_.get(); }

private:
    void showArrangement() const;

    forms::Arrangement arranged_;
    std::unique_ptr<AboutFace> about_;
};

}  // namespace vostrel::web
