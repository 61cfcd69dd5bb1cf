#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace vostrel {

void showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("vostrelMessage"));
    box.exec();
}

}  // namespace vostrel
