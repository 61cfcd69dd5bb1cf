#include "ScreenReader.h"

#include <QAccessible>
#include <QWidget>

namespace vostrel {

void setSpokenName(QWidget* control, const QString& name) {
    control->setAccessibleName(name);
}

void alertScreenReader(QWidget* control) {
    QAccessibleEvent alert(control, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

}  // namespace vostrel
