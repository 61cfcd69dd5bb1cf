#include <sys/stat.h>

#include <QtTest>

#include "Rows.h"
#include "services/FileSystem.h"

Q_DECLARE_METATYPE(vostrel::ReadStatus)

static const QByteArray kLong = QByteArray(300'000, 'w') + '\n';

// This system's own file services, against real folders, links, FIFOs and devices.
class TestPlatform : public QObject {
    Q_OBJECT

private slots:
    void files_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("limit");
        QTest::addColumn<bool>("normal");
        QTest::addColumn<vostrel::ReadStatus>("status");
        using S = vostrel::ReadStatus;
        row("file", "file", 6, true, S::Ok);
        row("file one byte over the limit", "file", 5, true, S::TooLarge);
        row("file longer than one read", "long", (1 << 20), true, S::Ok);
        row("absent", "absent", 100, false, S::NotRegular);
        row("folder", "folder", 100, false, S::NotRegular);
        row("FIFO, never waited on", "fifo", 100, false, S::NotRegular);
        row("link to a file", "link", 100, true, S::Ok);
        row("an endless device", "/dev/zero", 100, false, S::NotRegular);
        row("dangling link", "nowhere", 100, false, S::NotRegular);
        // Files of /proc report no size and have content all the same.
        row("size unknown until read", "/proc/self/status", (1 << 20), true, S::Ok);
        row("size unknown, over the limit", "/proc/self/status", 16, true, S::TooLarge);
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
        } else if (kind == "long") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kLong) == kLong.size());
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
        vostrel::FileBytes read(std::string_view("stale"));
        QCOMPARE(files.readRegularFile(path.toStdString(), std::size_t(limit), read), status);
        const std::string_view bytes = read.view();
        if (status != vostrel::ReadStatus::Ok) {
            QVERIFY(bytes.empty());
        } else if (kind == "long") {
            QVERIFY(bytes == kLong.toStdString());
        } else if (!kind.startsWith(u'/')) {
            QVERIFY(bytes == "apple\n");
        } else {
            QVERIFY(bytes.find("Name:") != std::string::npos && bytes.ends_with('\n'));
        }
    }
};

QTEST_APPLESS_MAIN(TestPlatform)
#include "tst_platform.moc"
