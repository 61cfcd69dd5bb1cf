#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDirIterator>
#include <QProcess>
#include <QtTest>

#include "Rows.h"
#include "core/WordFile.h"

// The real program file in throwaway installations holding what only a real process meets:
// FIFOs, endless devices, links to themselves, sparse files larger than any word list, within
// an address space of 1 GiB. Whatever lies there, it shows a message and ends cleanly, or a game
// that can be played to its end; and it writes nothing. A probe that Qt loads into it as a style
// (probe.cpp) reports what a player would see and plays.

namespace {

const QString kProgram = QStringLiteral(VOSTREL_PROGRAM);
const QString kDataDir = QStringLiteral(VOSTREL_DATA_DIR);
// Far beyond any run that works: reaching it means the program hangs.
constexpr int kDeadlineMs = 10'000;

struct Run {
    bool clean = false;  // ended by itself, with exit code 0
    QStringList lines;
    QString errors;
};

class Installation {
public:
    Installation() {
        QVERIFY(QFile::copy(kProgram, filePath(QStringLiteral("vostrel"))));
        for (const QString& name : QDir(kDataDir).entryList({"h_dat.txt", "*.bmp"})) {
            QVERIFY(QFile::copy(QDir(kDataDir).filePath(name), filePath(name)));
        }
    }

    [[nodiscard]] QString path() const { return dir_.path(); }
    [[nodiscard]] QString filePath(const QString& name) const { return dir_.filePath(name); }

    // Puts `name` in place as a file holding `content`, a fifo, a link to `content`, or a
    // sparse file of `content` bytes.
    void place(const QString& name, const QString& kind, const QByteArray& content) const {
        const QString target = filePath(name);
        QFile::remove(target);
        const QByteArray native = QFile::encodeName(target);
        QFile file(target);
        if (kind == "fifo") {
            QCOMPARE(::mkfifo(native.constData(), 0600), 0);
        } else if (kind == "link") {
            QCOMPARE(::symlink(content.constData(), native.constData()), 0);
        } else if (kind == "sparse") {
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(content.toLongLong()));
        } else {
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        }
    }

    // Starts the program with its home, settings, caches and temporary files all in `home`.
    [[nodiscard]] Run run(const QString& home) const {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(VOSTREL_PROBE_PLUGINS));
        env.insert(QStringLiteral("QT_STYLE_OVERRIDE"), QStringLiteral("vostrelprobe"));
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME",
                                 "XDG_STATE_HOME", "XDG_RUNTIME_DIR", "TMPDIR"}) {
            env.insert(QLatin1String(name), home);
        }
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(home);
#ifndef __SANITIZE_ADDRESS__
        process.setChildProcessModifier([] {
            const rlimit limit{rlim_t{1} << 30, rlim_t{1} << 30};
            ::setrlimit(RLIMIT_AS, &limit);
        });
#endif
        process.start(filePath(QStringLiteral("vostrel")), {});
        Run run;
        const bool finished = process.waitForFinished(kDeadlineMs);
        if (!finished) {
            process.kill();
            process.waitForFinished();
        }
        run.clean =
            finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        run.lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
        run.lines.removeAll(QString());
        run.errors = QString::fromUtf8(process.readAllStandardError()).left(4000);
        return run;
    }

private:
    QTemporaryDir dir_;
};

// Everything under a folder: each path with its content, or what kind of entry it is.
QMap<QString, QByteArray> snapshot(const QString& path) {
    QMap<QString, QByteArray> entries;
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString entry = it.next();
        QFile file(entry);
        entries.insert(QDir(path).relativeFilePath(entry),
                       it.fileInfo().isSymLink()
                           ? "link to " + it.fileInfo().symLinkTarget().toUtf8()
                       : file.open(QIODevice::ReadOnly) ? file.readAll()
                                                        : "not a file");
    }
    return entries;
}

QByteArray words(int count) {
    QByteArray out;
    for (int i = 0; i < count; ++i) {
        out += "word" + QByteArray::number(i % 1000).rightJustified(3, 'x') + '\n';
    }
    return out;
}

}  // namespace

class TestHostile : public QObject {
    Q_OBJECT

private slots:
    void installations_data() {
        QTest::addColumn<QString>("name");  // empty: the installation as built
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("first");  // what the probe reports first, as a pattern

        const QString game = QStringLiteral("^game \\d+ picture 202x202 drawn$");
        const QString blank = QStringLiteral("^game \\d+ picture 202x202 blank$");
        const QString missing = QStringLiteral("^message Data File Not exists\\.$");
        row("as built", "", "", QByteArray(), game);
        row("word file: a FIFO", "h_dat.txt", "fifo", QByteArray(), missing);
        row("word file: link to /dev/zero", "h_dat.txt", "link", QByteArray("/dev/zero"), missing);
        row("word file: link to itself", "h_dat.txt", "link", QByteArray("h_dat.txt"),
            "^message The word file cannot be read\\.$");
        row("word file: sparse, larger than any word list", "h_dat.txt", "sparse",
            QByteArray::number(vostrel::kMaxWordFileBytes + 1),
            "^message The word file is too large to be a word list\\.$");
        row("word file: a million words", "h_dat.txt", "file", words(1'000'000),
            "^game 7 picture 202x202 drawn$");
        row("first picture: a FIFO", "0.bmp", "fifo", QByteArray(), blank);
        row("first picture: link to /dev/zero", "0.bmp", "link", QByteArray("/dev/zero"), blank);
        row("first picture: claims 100,000 x 100,000", "0.bmp", "file",
            QByteArray::fromHex("424d36000000000000003600000028000000a0860100a0860100"
                                "010018000000000000000000130b0000130b00000000000000000000") +
                QByteArray(64, '\0'),
            blank);
    }

    void installations() {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        QFETCH(QString, first);
        const Installation installation;
        if (!name.isEmpty()) {
            installation.place(name, kind, content);
        }
        QTemporaryDir home;
        const Run run = installation.run(home.path());
        const QString said = run.lines.join(u'\n') + "\n" + run.errors;
        QVERIFY2(run.clean, qPrintable(said));
        QVERIFY2(!run.lines.isEmpty() && QRegularExpression(first).match(run.lines[0]).hasMatch(),
                 qPrintable(said));
        if (run.lines[0].startsWith(QLatin1String("game"))) {
            QCOMPARE(run.lines.mid(1), QStringList({run.lines.value(1), "dialog frmAbout"}));
            QVERIFY2(run.lines[1].startsWith(QLatin1String("You")), qPrintable(said));
        } else {
            QCOMPARE(run.lines.size(), 1);
        }
    }

    // Two games' worth of reading and the About window leave the installation as it was, and
    // put nothing in the home folder, the settings, the caches or the temporary folder.
    void nothingWritten() {
        const Installation installation;
        QTemporaryDir home;
        const QMap<QString, QByteArray> before = snapshot(installation.path());
        QVERIFY(installation.run(home.path()).clean);
        QCOMPARE(snapshot(installation.path()), before);
        QCOMPARE(snapshot(home.path()).keys(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestHostile)
#include "tst_hostile.moc"
