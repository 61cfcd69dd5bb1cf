#include "AboutWindow.h"

#include "platform/WinText.h"

namespace vostrel::win32 {

AboutWindow::AboutWindow(frmAbout& form, HWND owner, ScreenReader& reader)
    : FormFace(forms::aboutForm(), reader), form_(form), owner_(owner) {}

void AboutWindow::open() {
    if (handle() == nullptr) {
        create(owner_);
    }
}

void AboutWindow::setTitle(std::string_view text) {
    ::SetWindowTextW(handle(), widen(text).c_str());
}

void AboutWindow::showModal() {
    closed_ = false;
    ::EnableWindow(owner_, FALSE);
    showWithFocus(SW_SHOWNORMAL);
    runMessages(closed_);
    ::EnableWindow(owner_, TRUE);
}

void AboutWindow::unload() {
    closed_ = true;
    // The game window takes input again before this one goes, so it is the one activated.
    ::EnableWindow(owner_, TRUE);
    if (handle() != nullptr) {
        ::DestroyWindow(handle());
    }
}

void AboutWindow::clicked(forms::Id control, int /*index*/) {
    form_.Click(control);
}

bool AboutWindow::keyDown(forms::Key key) {
    return form_.KeyDown(key);
}

void AboutWindow::closed() {
    form_.Form_QueryUnload();
}

void AboutWindow::dpiChanged() {
    form_.Form_DpiChanged();
}

}  // namespace vostrel::win32
