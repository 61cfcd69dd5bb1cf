#include "AboutFace.h"

#include "platform/WinText.h"

namespace vostrel::win32 {

AboutFace::AboutFace(frmAbout& form, HWND owner, ScreenReader& reader)
    : FormFace(forms::aboutForm(), reader), form_(form), owner_(owner) {}

void AboutFace::open() {
    if (handle() == nullptr) {
        create(owner_);
    }
}

void AboutFace::setTitle(std::string_view text) {
    ::SetWindowTextW(handle(), widen(text).c_str());
}

void AboutFace::showModal() {
    closed_ = false;
    ::EnableWindow(owner_, FALSE);
    show(SW_SHOWNORMAL);
    runMessages(closed_);
    ::EnableWindow(owner_, TRUE);
}

void AboutFace::unload() {
    closed_ = true;
    // The game window takes input again before this one goes, so it is the one activated.
    ::EnableWindow(owner_, TRUE);
    if (handle() != nullptr) {
        ::DestroyWindow(handle());
    }
}

void AboutFace::clicked(forms::Id control, int /*index*/) {
    form_.Click(control);
}

forms::KeyAction AboutFace::keyDown(const forms::KeyPress& press) {
    return form_.KeyDown(press);
}

void AboutFace::pointerDown(std::optional<forms::ControlRef> control) {
    form_.PointerDown(control);
}

void AboutFace::closed() {
    form_.Form_QueryUnload();
}

void AboutFace::dpiChanged() {
    form_.Form_DpiChanged();
}

}  // namespace vostrel::win32
