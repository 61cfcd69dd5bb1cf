#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/WordFile.h"
#include "forms/Views.h"
#include "forms/frmAbout.h"

// Faces that draw nothing: they keep what the windows' procedures last told each control. Text
// takes 10 pixels a character and 20 in height, and a frame 2 pixels a side wherever the design
// draws one, so every place can be worked out by hand.
template <class View>
class Recording : public View {
public:
    using Id = vostrel::forms::Id;

    explicit Recording(const vostrel::forms::Form& form) : form_(form) {}

    [[nodiscard]] int dpi() const override { return vostrel::forms::kDesignDpi; }
    [[nodiscard]] int frameWidth(Id control) const override {
        return vostrel::forms::control(form_, control).border == vostrel::forms::Border::None ? 0
                                                                                              : 2;
    }
    [[nodiscard]] vostrel::forms::TextSize measureText(Id, std::string_view text) const override {
        return {10 * static_cast<int>(vostrel::decodeUtf8(text).size()), 20};
    }
    void setCaption(Id control, std::string_view text) override { captions[control] = text; }
    void setBounds(Id control, const vostrel::forms::Rect& rect) override {
        bounds[control] = rect;
    }
    void setSpokenName(Id control, std::string_view name) override {
        spoken[control] = name;
        renamed.push_back(control);
    }
    void showMessage(std::string_view title, std::string_view text) override {
        messages.push_back(std::string(title) + ": " + std::string(text));
    }
    void unload() override { unloaded = true; }

    std::map<Id, std::string> captions;
    std::map<Id, vostrel::forms::Rect> bounds;
    std::map<Id, std::string> spoken;
    std::vector<Id> renamed;  // every spoken name given, in order
    std::vector<std::string> messages;
    bool unloaded = false;

private:
    const vostrel::forms::Form& form_;
};

class RecordingAbout final : public Recording<vostrel::AboutView> {
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

// Pictures are "stage N" texts here: any of those shows as 100 x 100, anything else is broken.
class RecordingMain final : public Recording<vostrel::MainView> {
public:
    RecordingMain() : Recording(vostrel::forms::mainForm()) { enabled.fill(false); }

    void setEnabled(Id, int index, bool on) override { enabled.at(std::size_t(index)) = on; }
    vostrel::PictureSize showPicture(std::string_view bytes, int) override {
        if (!bytes.starts_with("stage ")) {
            return {};
        }
        picture = bytes;
        return {100, 100};
    }
    void showBlankPicture(vostrel::PictureSize size) override {
        picture = "blank " + std::to_string(size.width) + "x" + std::to_string(size.height);
    }
    void alert(Id control) override { alerts.push_back(control); }
    void announce(std::string_view utterance) override { said.push_back(std::string(utterance)); }
    vostrel::AboutView& aboutView(vostrel::frmAbout& form) override {
        aboutForm = &form;
        return about;
    }

    std::array<bool, 26> enabled{};
    std::string picture;
    std::vector<Id> alerts;
    std::vector<std::string> said;
    RecordingAbout about;
    vostrel::frmAbout* aboutForm = nullptr;
};
