#include <QApplication>

#include "AppInfo.h"
#include "AppStyle.h"
#include "MainFace.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(vostrel::kAppTitle));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(vostrel::kVersionMajor)
                                            .arg(vostrel::kVersionMinor)
                                            .arg(vostrel::kVersionRevision));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(vostrel::kAppId));
    vostrel::installAppStyle();

    const vostrel::Services system = vostrel::systemServices();
    vostrel::qt::MainFace window(system, vostrel::programFolder());
    if (!window.load()) {
        return 0;  // the new game failed and has said why
    }
    window.show();
    return QApplication::exec();
}
