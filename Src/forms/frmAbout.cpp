#include "frmAbout.h"

#include <string>

#include "AppInfo.h"
#include "core/SysInfo.h"
#include "core/WordFile.h"
#include "forms/Faces.h"
#include "forms/Layout.h"

namespace vostrel {

using forms::Id;

frmAbout::frmAbout(const Services& system) : system_(system) {}

void frmAbout::Show(AboutFace& view, std::function<void()> unloaded) {
    view_ = &view;
    unloaded_ = std::move(unloaded);
    messageOpen_ = false;
    Form_Load();
    view.setFocus(forms::tabChain(forms::aboutForm()).front());
    view.showModal();
}

bool frmAbout::takesInput() const {
    return view_ != nullptr && unloaded_ && !messageOpen_;
}

void frmAbout::Click(Id control, int /*index*/) {
    if (!takesInput()) {
        return;
    }
    if (control == Id::cmdOK) {
        cmdOK_Click();
    } else if (control == Id::cmdSysInfo) {
        cmdSysInfo_Click();
    }
}

forms::KeyAction frmAbout::KeyDown(const forms::KeyPress& press) {
    if (!takesInput()) {
        return forms::KeyAction::Done;
    }
    const forms::KeyOutcome outcome =
        forms::decideKey({.form = forms::aboutForm(),
                          .focused = view_->focus(),
                          .enabled = [](forms::ControlRef) { return true; },
                          .conventions = view_->conventions(),
                          .modal = true},
                         press);
    if (outcome.focus) {
        view_->setFocus(*outcome.focus);
    }
    if (outcome.press) {
        Click(outcome.press->id);
    }
    return outcome.action;
}

void frmAbout::PointerDown(std::optional<forms::ControlRef> control) {
    if (takesInput() && control &&
        forms::takesFocus(forms::aboutForm(), *control, [](forms::ControlRef) { return true; }) &&
        view_->focus() != control) {
        view_->setFocus(*control);
    }
}

void frmAbout::Form_Load() {
    const std::string title = kAppTitle;
    view_->setTitle(title + "のﾊﾞｰｼﾞｮﾝ情報");
    view_->setCaption(Id::lblVersion, "ﾊﾞｰｼﾞｮﾝ " + std::to_string(kVersionMajor) + "." +
                                          std::to_string(kVersionMinor) + "." +
                                          std::to_string(kVersionRevision));
    placeTitle();
    placeIcon();
    view_->setSpokenName(Id::picIcon, title);  // the picture is the program's own icon
}

void frmAbout::Form_QueryUnload() {
    if (takesInput()) {
        cmdOK_Click();
    }
}

void frmAbout::Form_DpiChanged() {
    forms::placeFixedControls(*view_, forms::aboutForm());
    placeTitle();
    placeIcon();
}

void frmAbout::cmdOK_Click() {
    view_->unload();
    // Taken first: the game window's procedure may show this window again.
    auto unloaded = std::move(unloaded_);
    unloaded_ = nullptr;
    if (unloaded) {
        unloaded();
    }
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

// The title sizes its label, which grows to the right of its fixed left edge.
void frmAbout::placeTitle() {
    const int dpi = view_->dpi();
    const forms::Form& design = forms::aboutForm();
    const forms::PlacedCaption placed = forms::placeCaption(
        design, forms::control(design, Id::lblTitle), decodeUtf8(kAppTitle), dpi,
        view_->frameWidth(Id::lblTitle),
        [&](std::string_view text) { return view_->measureText(Id::lblTitle, text); });
    view_->setCaption(Id::lblTitle, placed.text);
    view_->setBounds(Id::lblTitle, placed.bounds);
}

// The icon's area takes the icon's size at the window's density, and its frame.
void frmAbout::placeIcon() {
    const int dpi = view_->dpi();
    forms::Rect bounds =
        forms::pixelRect(forms::control(forms::aboutForm(), Id::picIcon).rect, dpi);
    bounds.width = bounds.height =
        forms::scaled(forms::kIconSide, dpi) + 2 * view_->frameWidth(Id::picIcon);
    view_->setBounds(Id::picIcon, bounds);
}

void frmAbout::StartSysInfo() {
    if (vostrel::StartSysInfo(system_) == SysInfoResult::Unavailable) {
        messageOpen_ = true;
        view_->showMessage(kAppTitle, "現時点ではｼｽﾃﾑ情報を使用できません",
                           [this] { messageOpen_ = false; });
    }
}

}  // namespace vostrel
