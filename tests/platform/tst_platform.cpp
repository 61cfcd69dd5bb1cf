#include <sys/stat.h>

#include <QtTest>

#include "services/FileSystem.h"
#include "services/ProgramStart.h"

Q_DECLARE_METATYPE(vostrel::ReadStatus)

// This system's own services, against real folders, links, FIFOs and programs.
class TestPlatform : public QObject {
    Q_OBJECT

private slots:
    void files_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("limit");
        QTest::addColumn<bool>("normal");
        QTest::addColumn<vostrel::ReadStatus>("status");
        using S = vostrel::ReadStatus;
        QTest::newRow("file") << "file" << 6 << true << S::Ok;
        QTest::newRow("file one byte over the limit") << "file" << 5 << true << S::TooLarge;
        QTest::newRow("absent") << "absent" << 100 << false << S::NotRegular;
        QTest::newRow("folder") << "folder" << 100 << false << S::NotRegular;
        QTest::newRow("FIFO, never waited on") << "fifo" << 100 << false << S::NotRegular;
        QTest::newRow("link to a file") << "link" << 100 << true << S::Ok;
        QTest::newRow("an endless device") << "/dev/zero" << 100 << false << S::NotRegular;
        QTest::newRow("dangling link") << "nowhere" << 100 << false << S::NotRegular;
        // Files of /proc report no size and have content all the same.
        QTest::newRow("size unknown until read")
            << "/proc/self/status" << (1 << 20) << true << S::Ok;
        QTest::newRow("size unknown, over the limit")
            << "/proc/self/status" << 16 << true << S::TooLarge;
    }

    void files() {
        QFETCH(QString, kind);
        QFETCH(int, limit);
        QFETCH(bool, normal);
        QFETCH(vostrel::ReadStatus, status);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("h_dat.txt"));
        QFile target(dir.filePath(QStringLiteral("target.txt")));
        QVERIFY(target.open(QIODevice::WriteOnly) && target.write("apple\n") == 6);
        target.close();
        if (kind == "file") {
            QVERIFY(QFile::copy(target.fileName(), path));
        } else if (kind == "folder") {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("h_dat.txt")));
        } else if (kind == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == "link") {
            QVERIFY(QFile::link(target.fileName(), path));
        } else if (kind.startsWith(u'/')) {
            path = kind;
        } else if (kind != "absent") {
            QVERIFY(QFile::link(dir.filePath(kind), path));
        }
        const vostrel::FileSystem& files = vostrel::systemFileSystem();
        QCOMPARE(files.isNormalFile(path.toStdString()), normal);
        std::string bytes = "stale";
        QCOMPARE(files.readRegularFile(path.toStdString(), std::size_t(limit), bytes), status);
        if (status != vostrel::ReadStatus::Ok) {
            QVERIFY(bytes.empty());
        } else if (!kind.startsWith(u'/')) {
            QCOMPARE(bytes, "apple\n");
        } else {
            QVERIFY(bytes.find("Name:") != std::string::npos && bytes.ends_with('\n'));
        }
    }

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
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("with blank")));
        QString path = dir.filePath(QStringLiteral("with blank/tool"));
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
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path + ".ran"), 10000);
        }
    }
};

QTEST_APPLESS_MAIN(TestPlatform)
#include "tst_platform.moc"
