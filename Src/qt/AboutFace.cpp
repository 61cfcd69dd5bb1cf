#include "AboutFace.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "QtText.h"

namespace vostrel::qt {

using forms::Id;

namespace {

// The window's client area on the screen, where the design puts it.
QRect clientArea() {
    const forms::Form& design = forms::aboutForm();
    const forms::Rect area = forms::pixelRect(
        {design.left, design.top, design.clientWidth, design.clientHeight}, forms::kDesignDpi);
    return {area.left, area.top, area.width, area.height};
}

}  // namespace

// Owned by the game window: that keeps it off the taskbar and above the game. Departure: the
// design gives it no owner (docs/departures.md).
AboutFace::AboutFace(vostrel::frmAbout& form, QWidget* owner)
    : FormFace(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      form_(form) {
    const forms::Form& design = forms::aboutForm();
    setObjectName(QLatin1String(design.name));
    // A set but empty icon, so the window does not borrow the game window's.
    setWindowIcon(QIcon());
    setFixedSize(clientArea().size());
    controls_ = std::make_unique<vostrel::Controls>(design, this);
    for (const forms::Control& control : design.controls) {
        if (auto* button = qobject_cast<QPushButton*>(widget(control.id))) {
            connect(button, &QPushButton::clicked, this,
                    [this, id = control.id] { form_.Click(id); });
        }
    }
    takeInput(this);
}

AboutFace::~AboutFace() = default;

void AboutFace::unload() {
    unloading_ = true;
    accept();
    unloading_ = false;
}

void AboutFace::setTitle(std::string_view text) {
    setWindowTitle(vostrel::toQString(text));
}

void AboutFace::showModal() {
    // Every showing is a fresh load: the window comes back where it was designed to be,
    // wherever it was moved last time.
    setGeometry(clientArea());
    exec();
}

forms::KeyAction AboutFace::keyDown(const forms::KeyPress& press) {
    return form_.KeyDown(press);
}

void AboutFace::pointerDown(std::optional<forms::ControlRef> control) {
    form_.PointerDown(control);
}

void AboutFace::reject() {
    if (!unloading_) {
        closeRequested();
    }
}

void AboutFace::closeRequested() {
    form_.Form_QueryUnload();
}

}  // namespace vostrel::qt
