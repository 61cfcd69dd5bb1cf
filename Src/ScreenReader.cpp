#include "ScreenReader.h"

#include <QWidget>

namespace vostrel {

namespace {
ScreenReaderListener listener = nullptr;

void told(const QWidget* control, QAccessible::Event what) {
    if (listener != nullptr) {
        listener(control, what);
    }
}
}  // namespace

void setSpokenName(QWidget* control, const QString& name) {
    if (control->accessibleName() == name) {
        return;
    }
    control->setAccessibleName(name);  // Qt sends the NameChanged event itself
    told(control, QAccessible::NameChanged);
}

void alertScreenReader(QWidget* control) {
    QAccessibleEvent alert(control, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    told(control, QAccessible::Alert);
}

void setScreenReaderListener(ScreenReaderListener newListener) {
    listener = newListener;
}

}  // namespace vostrel
