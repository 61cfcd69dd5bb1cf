#include "frmAbout.h"

#include <QApplication>

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
}

void frmAbout::showModal() {
    setWindowTitle(QApplication::applicationName());
    exec();
}
