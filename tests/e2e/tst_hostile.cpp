#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include "core/WordFile.h"

// The real program file, started in throwaway installations that hold strange data. Whatever lies
// there, it shows a message and ends cleanly, or shows a game that can be played to its end. A
// probe that Qt loads into it as a style (probe.cpp) reports what a player would see and plays.

namespace {

const QString kProgram = QStringLiteral(VOSTREL_PROGRAM);
const QString kDataDir = QStringLiteral(VOSTREL_DATA_DIR);
const QString kProbePlugins = QStringLiteral(VOSTREL_PROBE_PLUGINS);
// Far beyond any run that works: reaching it means the program hangs.
constexpr int kDeadlineMs = 10'000;
#ifndef __SANITIZE_ADDRESS__
// The program must live within this much address space whatever the installation holds.
constexpr rlim_t kMaxAddressSpace = rlim_t{1} << 30;
#endif

const QString kNotExists = QStringLiteral("Data File Not exists.");
const QString kNoWords = QStringLiteral("The word file holds no words.");
const QString kTooLarge = QStringLiteral("The word file is too large to be a word list.");
const QString kUnreadable = QStringLiteral("The word file cannot be read.");

struct Run {
    bool finished = false;
    QProcess::ExitStatus status = QProcess::CrashExit;
    int exitCode = -1;
    QStringList lines;
    QString errors;
};

// The program file and the installation's own data files in a folder of their own.
class Installation {
public:
    Installation() {
        QVERIFY(dir_.isValid());
        QVERIFY(QFile::copy(kProgram, filePath(QStringLiteral("vostrel"))));
        QStringList data{QStringLiteral("h_dat.txt")};
        for (int stage = 0; stage <= 10; ++stage) {
            data << QStringLiteral("%1.bmp").arg(stage);
        }
        for (const QString& name : data) {
            QVERIFY(QFile::copy(QDir(kDataDir).filePath(name), filePath(name)));
        }
    }

    [[nodiscard]] QString path() const { return dir_.path(); }
    [[nodiscard]] QString filePath(const QString& name) const { return dir_.filePath(name); }

    // Puts `name` in place as `kind`: file (holding content), folder, fifo, link (to content),
    // sparse (a file of content's size in bytes, all holes), or absent.
    void place(const QString& name, const QString& kind, const QByteArray& content) const {
        const QString target = filePath(name);
        QFile::remove(target);
        const QByteArray native = QFile::encodeName(target);
        if (kind == "file") {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(content), content.size());
        } else if (kind == "sparse") {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(content.toLongLong()));
        } else if (kind == "folder") {
            QVERIFY(QDir(dir_.path()).mkdir(name));
        } else if (kind == "fifo") {
            QCOMPARE(::mkfifo(native.constData(), 0600), 0);
        } else if (kind == "link") {
            QCOMPARE(::symlink(content.constData(), native.constData()), 0);
        } else {
            QCOMPARE(kind, "absent");
        }
    }

    // Starts the program file with its home, settings, caches and temporary files all pointed
    // at `home`, and waits for it to end.
    [[nodiscard]] Run run(const QString& home) const {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_PLUGIN_PATH"), kProbePlugins);
        env.insert(QStringLiteral("QT_STYLE_OVERRIDE"), QStringLiteral("vostrelprobe"));
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME",
                                 "XDG_STATE_HOME", "XDG_RUNTIME_DIR", "TMPDIR"}) {
            env.insert(QLatin1String(name), home);
        }
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(home);
#ifndef __SANITIZE_ADDRESS__
        process.setChildProcessModifier([] {
            const rlimit limit{kMaxAddressSpace, kMaxAddressSpace};
            ::setrlimit(RLIMIT_AS, &limit);
        });
#endif
        process.start(filePath(QStringLiteral("vostrel")), {});
        Run run;
        run.finished = process.waitForFinished(kDeadlineMs);
        if (!run.finished) {
            process.kill();
            process.waitForFinished();
        }
        run.status = process.exitStatus();
        run.exitCode = process.exitCode();
        run.lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
        run.lines.removeAll(QString());
        run.errors = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    [[nodiscard]] Run run() const {
        QTemporaryDir home;
        return run(home.path());
    }

private:
    QTemporaryDir dir_;
};

QString describe(const Run& run) {
    return QStringLiteral("finished %1, exit %2, code %3\nreported:\n%4\nstandard error:\n%5")
        .arg(run.finished)
        .arg(run.status == QProcess::NormalExit ? "normal" : "crash")
        .arg(run.exitCode)
        .arg(run.lines.join(u'\n'), run.errors.left(4000));
}

void expectCleanEnd(const Run& run) {
    QVERIFY2(run.finished, qPrintable(describe(run)));
    QVERIFY2(run.status == QProcess::NormalExit && run.exitCode == 0, qPrintable(describe(run)));
}

void expectMessage(const Run& run, const QString& message) {
    expectCleanEnd(run);
    QCOMPARE(run.lines, QStringList{QStringLiteral("message ") + message});
}

// Two whole games around a Reset & Start, the About box, and Exit. `game` is the start line the
// probe reports: the masked word's length, the picture area's size and whether it is blank.
void expectGames(const Run& run, const QRegularExpression& game) {
    expectCleanEnd(run);
    const QRegularExpression end(QStringLiteral("^(won|lost) inside$"));
    QVERIFY2(run.lines.size() == 8, qPrintable(describe(run)));
    QVERIFY2(game.match(run.lines[0]).hasMatch(), qPrintable(run.lines[0]));
    QVERIFY2(end.match(run.lines[1]).hasMatch(), qPrintable(run.lines[1]));
    QCOMPARE(run.lines[2], "reset");
    QVERIFY2(game.match(run.lines[3]).hasMatch(), qPrintable(run.lines[3]));
    QVERIFY2(end.match(run.lines[4]).hasMatch(), qPrintable(run.lines[4]));
    QCOMPARE(run.lines.mid(5), QStringList({"about", "dialog frmAbout", "exit"}));
}

QByteArray randomBytes(qsizetype size, quint32 seed) {
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes) {
        byte = static_cast<char>(random.bounded(256));
    }
    return bytes;
}

QByteArray randomWords(std::size_t count, int length, quint32 seed) {
    QRandomGenerator random(seed);
    QByteArray words;
    words.reserve(static_cast<qsizetype>(count) * (length + 1));
    for (std::size_t i = 0; i < count; ++i) {
        for (int k = 0; k < length; ++k) {
            words.append(static_cast<char>('a' + random.bounded(26)));
        }
        words.append('\n');
    }
    return words;
}

void append32(QByteArray& out, quint32 value) {
    std::array<char, 4> little{};
    qToLittleEndian(value, little.data());
    out.append(little.data(), little.size());
}

// A 24-bit bitmap that claims the given size; black pixels, as many bytes of them as given.
QByteArray bitmap(qint32 width, qint32 height, qsizetype pixelBytes) {
    QByteArray out("BM");
    append32(out, static_cast<quint32>(54 + pixelBytes));
    append32(out, 0);
    append32(out, 54);
    append32(out, 40);
    append32(out, static_cast<quint32>(width));
    append32(out, static_cast<quint32>(height));
    append32(out, 1 | (24 << 16));  // one plane, 24 bits a pixel
    append32(out, 0);               // not compressed
    append32(out, static_cast<quint32>(pixelBytes));
    append32(out, 2835);
    append32(out, 2835);
    append32(out, 0);
    append32(out, 0);
    out.append(QByteArray(pixelBytes, '\0'));
    return out;
}

qsizetype fullBitmap(qint32 width, qint32 height) {
    return (qsizetype{width} * 3 + 3) / 4 * 4 * height;
}

// Everything under a folder: each path with its content, or with what kind of entry it is.
QMap<QString, QByteArray> snapshot(const QString& path) {
    QMap<QString, QByteArray> entries;
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString entry = it.next();
        const QFileInfo info = it.fileInfo();
        QByteArray content = "other";
        if (info.isSymLink()) {
            content = "link to " + info.symLinkTarget().toUtf8();
        } else if (info.isDir()) {
            content = "folder";
        } else if (info.isFile()) {
            QFile file(entry);
            content = file.open(QIODevice::ReadOnly) ? file.readAll() : "unreadable";
        }
        entries.insert(QDir(path).relativeFilePath(entry), content);
    }
    return entries;
}

}  // namespace

class TestHostile : public QObject {
    Q_OBJECT

private slots:
    void wordFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");  // none: a game
        QTest::addColumn<QString>("length");   // of the masked word, as a pattern

        const QString any = QStringLiteral("\\d+");
        QTest::newRow("the installation's own") << "file" << QByteArray() << "" << any;
        QTest::newRow("absent") << "absent" << QByteArray() << kNotExists << "";
        QTest::newRow("a folder") << "folder" << QByteArray() << kNotExists << "";
        QTest::newRow("a FIFO") << "fifo" << QByteArray() << kNotExists << "";
        QTest::newRow("link to /dev/zero") << "link" << QByteArray("/dev/zero") << kNotExists << "";
        QTest::newRow("link to /dev/urandom")
            << "link" << QByteArray("/dev/urandom") << kNotExists << "";
        QTest::newRow("dangling link") << "link" << QByteArray("nowhere") << kNotExists << "";
        QTest::newRow("link to itself") << "link" << QByteArray("h_dat.txt") << kUnreadable << "";
        QTest::newRow("larger than any word list")
            << "sparse" << QByteArray::number(vostrel::kMaxWordFileBytes + 1) << kTooLarge << "";
        QTest::newRow("empty") << "file" << QByteArray() << kNoWords << "";
        QTest::newRow("only separators and blanks")
            << "file" << QByteArray(" ,\r\n\t,\n\r  ,\"\"\n") << kNoWords << "";
        QTest::newRow("random bytes with NULs")
            << "file" << randomBytes(qsizetype{3} << 20, 6) << "" << any;
        QTest::newRow("invalid UTF-8") << "file"
                                       << QByteArray(
                                              "\xC3(\n\xA0\xA1\n\xE2\x28\xA1\n\xF0\x28\x8C"
                                              "\xBC\n\xFF\xFE\n\xED\xA0\x80\n")
                                       << "" << any;
        // Shown cut to its two ends, so the probe sees a short caption.
        QTest::newRow("a word of a million letters")
            << "file" << QByteArray(1'000'000, 'a') << "" << any;
        QTest::newRow("only a field longer than any word")
            << "file" << QByteArray(qsizetype(vostrel::kMaxWordBytes) + 1, 'a') << kNoWords << "";
        QTest::newRow("a huge field among words")
            << "file"
            << "fig\n" + QByteArray(qsizetype(vostrel::kMaxWordBytes) + 1, 'a') + "\nfig"
            << ""
            << "3";
        QTest::newRow("the longest word")
            << "file" << QByteArray(qsizetype(vostrel::kMaxWordBytes), 'q') << "" << any;
        QTest::newRow("100,000 words") << "file" << randomWords(100'000, 6, 1) << ""
                                       << "6";
        QTest::newRow("1,000,000 words") << "file" << randomWords(1'000'000, 6, 2) << ""
                                         << "6";
        QTest::newRow("open quote at the end") << "file" << QByteArray("\"grape") << ""
                                               << "5";
        QTest::newRow("byte-order mark") << "file" << QByteArray("\xEF\xBB\xBFmelon\n") << ""
                                         << "5";
        QTest::newRow("lone CR line ends") << "file" << QByteArray("lemon\rmango\rpeach\r") << ""
                                           << "5";
    }

    void wordFile() {
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QFETCH(QString, length);
        const Installation installation;
        if (QTest::currentDataTag() != QLatin1String("the installation's own")) {
            installation.place(QStringLiteral("h_dat.txt"), kind, content);
        }
        const Run run = installation.run();
        if (message.isEmpty()) {
            expectGames(run, QRegularExpression(
                                 QStringLiteral("^game %1 picture 202x202 drawn$").arg(length)));
        } else {
            expectMessage(run, message);
        }
    }

    // Every one of the eleven pictures is replaced, so each stage of a game meets it.
    void pictures_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("picture");  // what the picture area shows

        const QString blank = QStringLiteral("202x202 blank");
        QTest::newRow("the installation's own") << "keep" << QByteArray() << "202x202 drawn";
        QTest::newRow("missing") << "absent" << QByteArray() << blank;
        QTest::newRow("empty") << "file" << QByteArray() << blank;
        // What a cut-off picture holds may be shown, as far as it goes.
        QTest::newRow("truncated") << "file" << bitmap(200, 200, 5000) << "202x202 (blank|drawn)";
        QTest::newRow("random bytes") << "file" << randomBytes(qsizetype{64} << 10, 3) << blank;
        QTest::newRow("random bytes after a bitmap's mark")
            << "file"
            << "BM" + randomBytes(qsizetype{64} << 10, 4) << blank;
        QTest::newRow("header claims an enormous picture")
            << "file" << bitmap(1'000'000, 1'000'000, 64) << blank;
        QTest::newRow("header claims a negative size") << "file" << bitmap(-5, -5, 64) << blank;
        QTest::newRow("wider than any gallows")
            << "file" << bitmap(2049, 2, fullBitmap(2049, 2)) << blank;
        QTest::newRow("large but sound")
            << "file" << bitmap(600, 400, fullBitmap(600, 400)) << "602x402 drawn";
        QTest::newRow("a folder") << "folder" << QByteArray() << blank;
        QTest::newRow("a FIFO") << "fifo" << QByteArray() << blank;
        QTest::newRow("link to /dev/zero") << "link" << QByteArray("/dev/zero") << blank;
    }

    void pictures() {
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        QFETCH(QString, picture);
        const Installation installation;
        for (int stage = 0; stage <= 10 && kind != "keep"; ++stage) {
            installation.place(QStringLiteral("%1.bmp").arg(stage), kind, content);
        }
        expectGames(installation.run(),
                    QRegularExpression(QStringLiteral("^game \\d+ picture %1$").arg(picture)));
    }

    // A whole game, Reset & Start, another game and the About box leave the installation as it
    // was, and put nothing in the home folder, the settings, the caches or the temporary folder.
    void nothingWritten() {
        const Installation installation;
        QTemporaryDir home;
        const QMap<QString, QByteArray> before = snapshot(installation.path());
        const Run run = installation.run(home.path());
        expectGames(run, QRegularExpression(QStringLiteral("^game \\d+ picture 202x202 drawn$")));
        QCOMPARE(snapshot(installation.path()), before);
        QCOMPARE(snapshot(home.path()).keys(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestHostile)
#include "tst_hostile.moc"
