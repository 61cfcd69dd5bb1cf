#include "MainFace.h"

#include "AboutFace.h"
#include "CommandIds.h"
#include "Dpi.h"

namespace vostrel::win32 {

using forms::Id;

MainFace::MainFace(const Services& system, std::string appFolder, ScreenReader& reader)
    : FormFace(forms::mainForm(), reader), form_(*this, system, std::move(appFolder)) {
    create(nullptr);
    setIcons();
    // Announcements come from a label of no size: screen readers hear it, nobody sees it.
    // Departure: a control the game window's design does not have (docs/departures.md).
    announcer_ =
        ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0, 0, 0, 0,
                          handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAnnouncerId)),
                          ::GetModuleHandleW(nullptr), nullptr);
    reader_.makeLiveRegion(announcer_);
}

MainFace::~MainFace() {
    about_.reset();
    if (handle() != nullptr) {
        ::DestroyWindow(handle());
    }
    for (HICON icon : icons_) {
        if (icon != nullptr) {
            ::DestroyIcon(icon);
        }
    }
}

// Departure: the icon at each size the system shows, not one 16 × 16 image (docs/departures.md).
void MainFace::setIcons() {
    const int sizes[2] = {systemMetric(SM_CXICON, dpi_), systemMetric(SM_CXSMICON, dpi_)};
    const WPARAM kinds[2] = {ICON_BIG, ICON_SMALL};
    for (int i = 0; i < 2; ++i) {
        HICON old = icons_[i];
        icons_[i] = static_cast<HICON>(::LoadImageW(
            ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, sizes[i], sizes[i], 0));
        ::SendMessageW(handle(), WM_SETICON, kinds[i], reinterpret_cast<LPARAM>(icons_[i]));
        if (old != nullptr) {
            ::DestroyIcon(old);
        }
    }
}

bool MainFace::load() {
    return form_.Load();
}

void MainFace::run(int how) {
    show(how);
    runMessages(ended_);
}

void MainFace::clicked(Id control, int index) {
    form_.Click(control, index);
}

forms::KeyAction MainFace::keyDown(const forms::KeyPress& press) {
    return form_.KeyDown(press);
}

void MainFace::pointerDown(std::optional<forms::ControlRef> control) {
    form_.PointerDown(control);
}

void MainFace::closed() {
    form_.Form_QueryUnload();
}

void MainFace::dpiChanged() {
    setIcons();
    form_.Form_DpiChanged();
}

LRESULT MainFace::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        reader_.forget(announcer_);
        ended_ = true;
        ::PostQuitMessage(0);
    }
    return FormFaceBase::handleMessage(message, wParam, lParam);
}

void MainFace::unload() {
    if (handle() != nullptr) {
        ::DestroyWindow(handle());
    }
}

void MainFace::setEnabled(Id control, int index, bool enabled) {
    ::EnableWindow(controls_->window(control, index), enabled ? TRUE : FALSE);
}

PictureSize MainFace::showPicture(std::string_view bytes, int maxSide) {
    Bitmap picture = decodeBitmap(bytes, maxSide);
    if (!picture) {
        return {};
    }
    const PictureSize size{picture.width(), picture.height()};
    controls_->setPicture(Id::HUNG_PICT, std::move(picture));
    return size;
}

void MainFace::showBlankPicture(PictureSize /*size*/) {
    // The area is sized by frmMain; its ground is all there is to draw.
    controls_->setPicture(Id::HUNG_PICT, Bitmap());
}

void MainFace::alert(Id control) {
    ScreenReader::alert(controls_->window(control));
}

void MainFace::announce(std::string_view utterance) {
    ScreenReader::say(announcer_, utterance);
}

vostrel::AboutFace& MainFace::aboutFace(frmAbout& form) {
    if (about_ == nullptr) {
        // Departure: owned by the game window, which keeps it off the taskbar and above the game,
        // where the design gives no owner (docs/departures.md).
        about_ = std::make_unique<AboutFace>(form, handle(), reader_);
    }
    about_->open();
    return *about_;
}

}  // namespace vostrel::win32
