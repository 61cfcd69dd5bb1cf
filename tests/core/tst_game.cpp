#include <QtTest>

#include "FakeFileSystem.h"
#include "core/Game.h"
#include "core/Spoken.h"

Q_DECLARE_METATYPE(vostrel::LoadStatus)
Q_DECLARE_METATYPE(vostrel::GameEnd)

static std::u32string u32(const QString& text) {
    const QList<uint> units = text.toUcs4();
    return {units.begin(), units.end()};
}

class TestGame : public QObject {
    Q_OBJECT

private slots:
    void joinPath_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("path");
        QTest::newRow("plain folder") << "/opt/game"
                                      << "/opt/game/h_dat.txt";
        QTest::newRow("root") << "/"
                              << "/h_dat.txt";
        QTest::newRow("drive root") << "C:\\"
                                    << "C:\\h_dat.txt";
        QTest::newRow("trailing slash") << "/opt/game/"
                                        << "/opt/game/h_dat.txt";
    }

    void joinPath() {
        QFETCH(QString, folder);
        QFETCH(QString, path);
        QCOMPARE(QString::fromStdString(vostrel::joinPath(folder.toStdString(), "h_dat.txt")),
                 path);
    }

    void loadWordFile_data() {
        QTest::addColumn<int>("kind");  // 0 absent, 1 file, 2 folder or device, 3 unreadable
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<vostrel::LoadStatus>("status");
        QTest::addColumn<int>("count");

        QTest::newRow("absent") << 0 << QByteArray() << vostrel::LoadStatus::Missing << 0;
        QTest::newRow("words") << 1 << QByteArray("a\nb\nc\n") << vostrel::LoadStatus::Ok << 3;
        QTest::newRow("empty") << 1 << QByteArray() << vostrel::LoadStatus::NoWords << 0;
        QTest::newRow("only separators")
            << 1 << QByteArray(" ,\n\n") << vostrel::LoadStatus::NoWords << 0;
        QTest::newRow("not a normal file")
            << 2 << QByteArray() << vostrel::LoadStatus::Missing << 0;
        QTest::newRow("unreadable") << 3 << QByteArray() << vostrel::LoadStatus::Unreadable << 0;
        const QByteArray huge(qsizetype(vostrel::kMaxWordBytes) + 1, 'a');
        QTest::newRow("only a field longer than any word")
            << 1 << huge << vostrel::LoadStatus::NoWords << 0;
        QTest::newRow("a huge field among words")
            << 1 << "fig\n" + huge + "\nkiwi" << vostrel::LoadStatus::Ok << 2;
        QTest::newRow("a word of a million letters")
            << 1 << QByteArray(1'000'000, 'a') << vostrel::LoadStatus::Ok << 1;
    }

    void loadWordFile() {
        QFETCH(int, kind);
        QFETCH(QByteArray, content);
        QFETCH(vostrel::LoadStatus, status);
        QFETCH(int, count);

        FakeFileSystem files;
        const std::string path = "/game/h_dat.txt";
        if (kind == 1) {
            files.addFile(path, content.toStdString());
        } else if (kind == 2) {
            files.addSpecial(path);
        } else if (kind == 3) {
            files.addUnreadable(path);
        }
        const vostrel::LoadResult result = vostrel::loadWordFile(files, "/game");
        QCOMPARE(result.status, status);
        QCOMPARE(result.words.size(), std::size_t(count));
    }

    void tooLargeWordFileIsRefused() {
        FakeFileSystem files;
        files.addFile("/game/h_dat.txt", std::string(vostrel::kMaxWordFileBytes + 1, 'a'));
        QCOMPARE(vostrel::loadWordFile(files, "/game").status, vostrel::LoadStatus::TooLarge);
    }

    // Every word, the last included, is drawn about equally often.
    void drawIsUniform_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("one word") << 1;
        QTest::newRow("two words") << 2;
        QTest::newRow("seven words") << 7;
        QTest::newRow("a hundred words") << 100;
    }

    void drawIsUniform() {
        QFETCH(int, count);
        std::mt19937_64 random(12345);  // NOLINT(cert-msc32-c,cert-msc51-cpp): repeatable
        const int perWord = 2000;
        std::vector<int> seen(static_cast<std::size_t>(count), 0);
        for (int i = 0; i < count * perWord; ++i) {
            const std::size_t index = vostrel::drawIndex(static_cast<std::size_t>(count), random);
            QVERIFY(index < seen.size());
            ++seen[index];
        }
        // Chi-square against the uniform expectation; the bound is far beyond the 99.9% point for
        // up to 99 degrees of freedom, yet far below what a skewed or truncated draw gives.
        double chi = 0;
        for (const int n : seen) {
            chi += double(n - perWord) * (n - perWord) / perWord;
        }
        QVERIFY2(chi < 3.0 * count + 30, qPrintable(QString::number(chi)));
        QVERIFY(seen.back() > 0);
    }

    void judgeGuess_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("display");
        QTest::addColumn<int>("misses");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("missesAfter");
        QTest::addColumn<vostrel::GameEnd>("end");

        using E = vostrel::GameEnd;
        QTest::newRow("first hit") << "apple"
                                   << "?????" << 0 << "a"
                                   << "a????" << true << 0 << E::None;
        QTest::newRow("letter twice") << "apple"
                                      << "a????" << 0 << "p"
                                      << "app??" << true << 0 << E::None;
        QTest::newRow("miss") << "apple"
                              << "app??" << 3 << "z"
                              << "app??" << false << 4 << E::None;
        QTest::newRow("repeated miss counts again") << "apple"
                                                    << "?????" << 4 << "z"
                                                    << "?????" << false << 5 << E::None;
        QTest::newRow("ninth miss") << "apple"
                                    << "a????" << 8 << "q"
                                    << "a????" << false << 9 << E::None;
        QTest::newRow("tenth miss loses, display kept") << "apple"
                                                        << "ap???" << 9 << "q"
                                                        << "ap???" << false << 10 << E::Lost;
        QTest::newRow("win after misses") << "apple"
                                          << "appl?" << 7 << "e"
                                          << "apple" << true << 7 << E::Won;
        QTest::newRow("win at once") << "aaa"
                                     << "???" << 0 << "a"
                                     << "aaa" << true << 0 << E::Won;
        QTest::newRow("hit on the last try") << "ox"
                                             << "o?" << 9 << "x"
                                             << "ox" << true << 9 << E::Won;
        QTest::newRow("case-sensitive") << "Apple"
                                        << "?????" << 0 << "a"
                                        << "?????" << false << 1 << E::None;
        QTest::newRow("no button bears it") << "co-op"
                                            << "co?op" << 0 << "-"
                                            << "co-op" << true << 0 << E::Won;
        QTest::newRow("hyphen stays hidden") << "co-op"
                                             << "?????" << 0 << "o"
                                             << "?o?o?" << true << 0 << E::None;
        QTest::newRow("revealed letters stay") << "kiwi"
                                               << "?i?i" << 2 << "w"
                                               << "?iwi" << true << 2 << E::None;
        QTest::newRow("short display padded") << "fig"
                                              << "f" << 0 << "g"
                                              << "f?g" << true << 0 << E::None;
        QTest::newRow("empty word: a miss") << ""
                                            << "" << 0 << "a"
                                            << "" << false << 1 << E::Won;
        QTest::newRow("beyond the basic plane") << "a\U0001F600"
                                                << "??" << 0 << "a"
                                                << "a?" << true << 0 << E::None;
    }

    void judgeGuess() {
        QFETCH(QString, answer);
        QFETCH(QString, display);
        QFETCH(int, misses);
        QFETCH(QString, letter);
        QFETCH(QString, after);
        QFETCH(bool, found);
        QFETCH(int, missesAfter);
        QFETCH(vostrel::GameEnd, end);

        const vostrel::GuessOutcome outcome =
            vostrel::judgeGuess(u32(answer), u32(display), misses, u32(letter).front());
        QCOMPARE(QString::fromUcs4(outcome.display.data(), qsizetype(outcome.display.size())),
                 after);
        QCOMPARE(outcome.found, found);
        QCOMPARE(outcome.misses, missesAfter);
        QCOMPARE(outcome.end, end);
    }

    // A screen reader spells a word out, but only a word short enough to listen to.
    void spokenWord_data() {
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("hidden and found") << "?pp?e"
                                          << "Word: blank, p, p, blank, e";
        QTest::newRow("one letter") << "?"
                                    << "Word: blank";
        QTest::newRow("longest spelled")
            << QString(64, u'?') << "Word:" + QString(" blank,").repeated(64).chopped(1);
        QTest::newRow("too long to spell") << QString(65, u'?') << "Word of 65 letters, 0 shown";
        QTest::newRow("huge, partly found")
            << "ab" + QString(999'998, u'?') << "Word of 1000000 letters, 2 shown";
    }

    void spokenWord() {
        QFETCH(QString, display);
        QFETCH(QString, spoken);
        const std::u32string said = vostrel::spokenWord(u32(display));
        QCOMPARE(QString::fromUcs4(said.data(), qsizetype(said.size())), spoken);
    }

    void freshSourcesDiffer() {
        std::mt19937_64 a = vostrel::freshRandomSource();
        std::mt19937_64 b = vostrel::freshRandomSource();
        QVERIFY(a() != b());
    }
};

QTEST_APPLESS_MAIN(TestGame)
#include "tst_game.moc"
