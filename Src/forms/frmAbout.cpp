#include "frmAbout.h"

#include <string>

#include "AppInfo.h"
#include "core/SysInfo.h"
#include "core/WordFile.h"
#include "forms/Layout.h"
#include "forms/Views.h"

namespace vostrel {

using forms::Id;

frmAbout::frmAbout(const Services& system) : system_(system) {}

void frmAbout::Show(AboutView& view) {
    view_ = &view;
    Form_Load();
    view.showModal();
}

void frmAbout::Click(Id control) {
    if (control == Id::cmdOK) {
        cmdOK_Click();
    } else if (control == Id::cmdSysInfo) {
        cmdSysInfo_Click();
    }
}

void frmAbout::Form_Load() {
    const std::string title = kAppTitle;
    view_->setTitle(title + "のﾊﾞｰｼﾞｮﾝ情報");
    view_->setCaption(Id::lblVersion, "ﾊﾞｰｼﾞｮﾝ " + std::to_string(kVersionMajor) + "." +
                                          std::to_string(kVersionMinor) + "." +
                                          std::to_string(kVersionRevision));
    // The title sizes its label, which grows to the right of its fixed left edge.
    const int dpi = view_->dpi();
    const forms::PlacedCaption placed = forms::placeCaption(
        forms::control(forms::aboutForm(), Id::lblTitle), decodeUtf8(title), dpi,
        view_->frameWidth(Id::lblTitle), forms::pixels(forms::aboutForm().clientWidth, dpi),
        [&](std::string_view text) { return view_->measureText(Id::lblTitle, text); });
    view_->setCaption(Id::lblTitle, placed.text);
    view_->setBounds(Id::lblTitle, placed.bounds);
    view_->setSpokenName(Id::picIcon, title);  // the picture is the program's own icon
}

void frmAbout::cmdOK_Click() {
    view_->unload();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    if (vostrel::StartSysInfo(system_) == SysInfoResult::Unavailable) {
        view_->showMessage(kAppTitle, "現時点ではｼｽﾃﾑ情報を使用できません");
    }
}

}  // namespace vostrel
