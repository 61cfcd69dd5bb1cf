#include <sys/stat.h>
#include <unistd.h>

#include <QtTest>

#include "platform/FileSystem.h"

Q_DECLARE_METATYPE(vostrel::ReadStatus)

// The real file services on this system, against real folders, links and FIFOs.
class TestFileSystem : public QObject {
    Q_OBJECT

private slots:
    void kinds_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("normal");
        QTest::addColumn<vostrel::ReadStatus>("status");

        QTest::newRow("file") << "file" << true << vostrel::ReadStatus::Ok;
        QTest::newRow("absent") << "absent" << false << vostrel::ReadStatus::NotRegular;
        QTest::newRow("folder") << "folder" << false << vostrel::ReadStatus::NotRegular;
        QTest::newRow("fifo") << "fifo" << false << vostrel::ReadStatus::NotRegular;
        QTest::newRow("link to file") << "link-file" << true << vostrel::ReadStatus::Ok;
        QTest::newRow("link to folder")
            << "link-folder" << false << vostrel::ReadStatus::NotRegular;
        QTest::newRow("link to endless device")
            << "link-zero" << false << vostrel::ReadStatus::NotRegular;
        QTest::newRow("dangling link") << "link-none" << false << vostrel::ReadStatus::NotRegular;
    }

    void kinds() {
        QFETCH(QString, kind);
        QFETCH(bool, normal);
        QFETCH(vostrel::ReadStatus, status);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("h_dat.txt"));
        const QByteArray native = QFile::encodeName(path);
        QFile target(dir.filePath(QStringLiteral("target.txt")));
        QVERIFY(target.open(QIODevice::WriteOnly));
        target.write("apple\n");
        target.close();

        if (kind == "file") {
            QVERIFY(QFile::copy(target.fileName(), path));
        } else if (kind == "folder") {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("h_dat.txt")));
        } else if (kind == "fifo") {
            QCOMPARE(::mkfifo(native.constData(), 0600), 0);
        } else if (kind == "link-file") {
            QVERIFY(QFile::link(target.fileName(), path));
        } else if (kind == "link-folder") {
            QVERIFY(QFile::link(dir.path(), path));
        } else if (kind == "link-zero") {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        } else if (kind == "link-none") {
            QVERIFY(QFile::link(dir.filePath(QStringLiteral("none")), path));
        }

        const vostrel::FileSystem& files = vostrel::systemFileSystem();
        QCOMPARE(files.isNormalFile(path.toStdString()), normal);
        vostrel::FileBytes bytes(std::string("stale"));
        QCOMPARE(files.readRegularFile(path.toStdString(), 1024, bytes), status);
        QCOMPARE(QByteArray(bytes.view().data(), qsizetype(bytes.size())),
                 status == vostrel::ReadStatus::Ok ? QByteArray("apple\n") : QByteArray());
    }

    void sizeLimit_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<vostrel::ReadStatus>("status");
        QTest::newRow("empty") << 0 << vostrel::ReadStatus::Ok;
        QTest::newRow("at the limit") << 100 << vostrel::ReadStatus::Ok;
        QTest::newRow("one byte over") << 101 << vostrel::ReadStatus::TooLarge;
    }

    void sizeLimit() {
        QFETCH(int, size);
        QFETCH(vostrel::ReadStatus, status);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("f")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, 'x'));
        file.close();
        vostrel::FileBytes bytes;
        QCOMPARE(
            vostrel::systemFileSystem().readRegularFile(file.fileName().toStdString(), 100, bytes),
            status);
        QCOMPARE(bytes.size(),
                 status == vostrel::ReadStatus::Ok ? std::size_t(size) : std::size_t(0));
    }

    // Large files are lent by the system rather than copied; either way the caller must get every
    // byte, and keep them when the owner moves.
    void wholeFileArrives_data() {
        QTest::addColumn<int>("size");
        QTest::newRow("small") << 7;
        QTest::newRow("just under a mebibyte") << (1 << 20) - 1;
        QTest::newRow("a mebibyte") << (1 << 20);
        QTest::newRow("three mebibytes and a bit") << (3 << 20) + 5;
    }

    void wholeFileArrives() {
        QFETCH(int, size);
        QByteArray content(size, Qt::Uninitialized);
        for (int i = 0; i < size; ++i) {
            content[i] = char('a' + i % 23);
        }
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("f")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), qint64(size));
        file.close();
        vostrel::FileBytes read;
        QCOMPARE(vostrel::systemFileSystem().readRegularFile(file.fileName().toStdString(),
                                                             std::size_t(4) << 20, read),
                 vostrel::ReadStatus::Ok);
        const vostrel::FileBytes kept(std::move(read));
        QVERIFY(kept.view() == std::string_view(content.constData(), std::size_t(size)));
    }

    // Files of /proc report no size and have content all the same: the reader must not trust
    // the size it is told, in either direction.
    void sizeUnknownUntilRead_data() {
        QTest::addColumn<int>("limit");
        QTest::addColumn<vostrel::ReadStatus>("status");
        QTest::newRow("within the limit") << (1 << 20) << vostrel::ReadStatus::Ok;
        QTest::newRow("beyond the limit") << 16 << vostrel::ReadStatus::TooLarge;
    }

    void sizeUnknownUntilRead() {
        QFETCH(int, limit);
        QFETCH(vostrel::ReadStatus, status);
        const std::string path = "/proc/self/status";
        if (!QFileInfo::exists(QString::fromStdString(path))) {
            QSKIP("no /proc here");
        }
        vostrel::FileBytes bytes;
        QCOMPARE(vostrel::systemFileSystem().readRegularFile(path, limit, bytes), status);
        if (status == vostrel::ReadStatus::Ok) {
            QVERIFY(bytes.view().find("Name:") != std::string_view::npos);
            QVERIFY(bytes.view().ends_with('\n'));
        } else {
            QVERIFY(bytes.empty());
        }
    }

    void unreadableFileFails() {
        if (::geteuid() == 0) {
            QSKIP("root reads any file");
        }
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("f")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(file.setPermissions(QFileDevice::WriteOwner));
        vostrel::FileBytes bytes;
        QCOMPARE(
            vostrel::systemFileSystem().readRegularFile(file.fileName().toStdString(), 100, bytes),
            vostrel::ReadStatus::Failed);
    }
};

QTEST_APPLESS_MAIN(TestFileSystem)
#include "tst_filesystem.moc"
