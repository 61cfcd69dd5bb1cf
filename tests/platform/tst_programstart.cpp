#include <QtTest>

#include "core/SysInfo.h"
#include "platform/FileSystem.h"
#include "platform/ProgramStart.h"
#include "platform/Registry.h"
#include "platform/Text.h"

// The program start of this system, and the launcher with this system's own services.
class TestProgramStart : public QObject {
    Q_OBJECT

private slots:
    void start_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("started");
        QTest::newRow("program in a folder with a blank") << "program" << true;
        QTest::newRow("absent") << "absent" << false;
        QTest::newRow("folder") << "folder" << false;
        QTest::newRow("file that is not a program") << "text" << false;
        QTest::newRow("empty path") << "empty" << false;
    }

    void start() {
        QFETCH(QString, kind);
        QFETCH(bool, started);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("with blank")));
        QString path = dir.filePath(QStringLiteral("with blank/tool"));
        const QString marker = path + QStringLiteral(".ran");
        if (kind == "program" || kind == "text") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\necho ran > \"$0.ran\"\n");
            file.close();
            if (kind == "program") {
                QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
            }
        } else if (kind == "folder") {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("with blank/tool")));
        } else if (kind == "empty") {
            path.clear();
        }

        QCOMPARE(vostrel::systemProgramStart().start(path.toStdString(), vostrel::kShowNormal),
                 started);
        if (started) {
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
        }
    }

    void withoutRegistryTheToolIsUnavailable() {
        const vostrel::SysInfoServices system{vostrel::systemRegistry(), vostrel::systemAnsiText(),
                                              vostrel::systemFileSystem(),
                                              vostrel::systemProgramStart()};
        QCOMPARE(vostrel::StartSysInfo(system), vostrel::SysInfoResult::Unavailable);
    }
};

QTEST_APPLESS_MAIN(TestProgramStart)
#include "tst_programstart.moc"
