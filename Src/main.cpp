#include <QApplication>

#include "AppStyle.h"
#include "Version.h"
#include "frmMain.h"
#include "platform/FileSystem.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(vostrel::kAppTitle));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(vostrel::kVersionMajor)
                                            .arg(vostrel::kVersionMinor)
                                            .arg(vostrel::kVersionRevision));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(vostrel::kAppId));
    vostrel::installAppStyle();

    // The game's data lies beside the program file, wherever it is started from.
    frmMain window(QApplication::applicationDirPath().toStdString(), vostrel::systemFileSystem());
    if (window.isUnloaded()) {
        return 0;  // the new game failed and has said why
    }
    window.show();
    return QApplication::exec();
}
