#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/WordFile.h"
#include "forms/Faces.h"
#include "forms/frmAbout.h"

// Faces that draw nothing: they keep what the windows' procedures last told each control. Text
// takes 10 pixels a character and 20 in height at 96 dpi (scaled with the density), and a frame
// 2 pixels a side wherever the design draws one, so every place can be worked out by hand.
// Messages and the About window wait, as a desktop toolkit's do.
template <class View>
class Recording : public View {
public:
    using Id = vostrel::forms::Id;
    using Ref = vostrel::forms::ControlRef;

    explicit Recording(const vostrel::forms::Form& form) : form_(form) {}

    [[nodiscard]] int dpi() const override { return dpiNow; }
    [[nodiscard]] const vostrel::forms::Conventions& conventions() const override {
        return conventionsNow;
    }
    [[nodiscard]] int frameWidth(Id control) const override {
        return vostrel::forms::control(form_, control).border == vostrel::forms::Border::None ? 0
                                                                                              : 2;
    }
    [[nodiscard]] vostrel::forms::TextSize measureText(Id, std::string_view text) const override {
        return {10 * static_cast<int>(vostrel::decodeUtf8(text).size()) * dpiNow / 96,
                20 * dpiNow / 96};
    }
    void setCaption(Id control, std::string_view text) override { captions[control] = text; }
    void setBounds(Ref control, const vostrel::forms::Rect& rect) override {
        placed[{control.id, control.index}] = rect;
    }
    void setSpokenName(Id control, std::string_view name) override {
        spoken[control] = name;
        renamed.push_back(control);
    }
    void setFocus(Ref control) override { focused = control; }
    [[nodiscard]] std::optional<Ref> focus() const override { return focused; }
    void showMessage(std::string_view title, std::string_view text,
                     std::function<void()> then) override {
        messages.push_back(std::string(title) + ": " + std::string(text));
        then();
    }
    void unload() override { unloaded = true; }

    [[nodiscard]] vostrel::forms::Rect bounds(Id control, int index = -1) const {
        return placed.at({control, index});
    }

    int dpiNow = vostrel::forms::kDesignDpi;
    vostrel::forms::Conventions conventionsNow = vostrel::forms::kLinuxConventions;
    std::map<Id, std::string> captions;
    std::map<std::pair<Id, int>, vostrel::forms::Rect> placed;
    std::map<Id, std::string> spoken;
    std::vector<Id> renamed;  // every spoken name given, in order
    std::optional<Ref> focused;
    std::vector<std::string> messages;
    bool unloaded = false;

private:
    const vostrel::forms::Form& form_;
};

class RecordingAbout final : public Recording<vostrel::AboutFace> {
public:
    RecordingAbout() : Recording(vostrel::forms::aboutForm()) {}

    void setTitle(std::string_view text) override { title = text; }
    void showModal() override {
        ++shows;
        unloaded = false;
        if (whileShown) {
            whileShown();
        }
    }

    std::string title;
    int shows = 0;
    std::function<void()> whileShown;  // what the player does while the window is open
};

// An uncompressed 24-bit Windows bitmap header of no pixels, followed by `content`.
inline std::string bitmap(const std::string& content) {
    std::string bytes(54, '\0');
    // "BM", pixels from byte 54, a 40-byte header, one plane of 24 bits a pixel.
    for (const auto& [at, value] :
         {std::pair{0, 'B'}, {1, 'M'}, {10, '\x36'}, {14, '\x28'}, {26, '\x01'}, {28, '\x18'}}) {
        bytes[std::size_t(at)] = value;
    }
    return bytes + content;
}

// Pictures are bitmaps of a "stage N" text here: any of those shows as 100 x 100, as "stage N",
// and anything else is broken.
// Like the desktop toolkits, it loses the focus when the button that has it is disabled.
class RecordingMain final : public Recording<vostrel::MainFace> {
public:
    RecordingMain() : Recording(vostrel::forms::mainForm()) { enabled.fill(false); }

    void setEnabled(Id, int index, bool on) override {
        enabled.at(std::size_t(index)) = on;
        if (!on && focused == Ref{Id::CMD_ALPHA, index}) {
            focused.reset();
        }
    }
    vostrel::PictureSize showPicture(std::string_view bytes, int) override {
        const std::size_t stage = bytes.find("stage ");
        if (!bytes.starts_with("BM") || stage == std::string_view::npos) {
            return {};
        }
        picture = bytes.substr(stage);
        return {100, 100};
    }
    void showBlankPicture(vostrel::PictureSize size) override {
        picture = "blank " + std::to_string(size.width) + "x" + std::to_string(size.height);
    }
    void alert(Id control) override { alerts.push_back(control); }
    void announce(std::string_view utterance) override { said.push_back(std::string(utterance)); }
    vostrel::AboutFace& aboutFace(vostrel::frmAbout& form) override {
        aboutForm = &form;
        focused.reset();  // the focus goes to the About window
        about.conventionsNow = conventionsNow;
        return about;
    }

    std::array<bool, 26> enabled{};
    std::string picture;
    std::vector<Id> alerts;
    std::vector<std::string> said;
    RecordingAbout about;
    vostrel::frmAbout* aboutForm = nullptr;
};
