#include <QtTest>

#include "core/Game.h"
#include "core/Spoken.h"

Q_DECLARE_METATYPE(vostrel::GameEnd)

static std::u32string u32(const QString& text) {
    const QList<uint> units = text.toUcs4();
    return {units.begin(), units.end()};
}

static QString qs(const std::u32string& text) {
    return QString::fromUcs4(text.data(), qsizetype(text.size()));
}

// The rules of a game: guesses judged, words drawn, and what a screen reader is told.
class TestRules : public QObject {
    Q_OBJECT

private slots:
    void judgeGuess_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("display");
        QTest::addColumn<int>("misses");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("missesAfter");
        QTest::addColumn<vostrel::GameEnd>("end");

        using E = vostrel::GameEnd;
        QTest::newRow("letter twice") << "apple"
                                      << "a????" << 0 << "p"
                                      << "app??" << 0 << E::None;
        QTest::newRow("revealed letters stay") << "kiwi"
                                               << "?i?i" << 2 << "w"
                                               << "?iwi" << 2 << E::None;
        QTest::newRow("miss") << "apple"
                              << "app??" << 3 << "z"
                              << "app??" << 4 << E::None;
        QTest::newRow("ninth miss") << "apple"
                                    << "a????" << 8 << "q"
                                    << "a????" << 9 << E::None;
        QTest::newRow("tenth miss loses, display kept") << "apple"
                                                        << "ap???" << 9 << "q"
                                                        << "ap???" << 10 << E::Lost;
        QTest::newRow("win on the last try") << "ox"
                                             << "o?" << 9 << "x"
                                             << "ox" << 9 << E::Won;
        QTest::newRow("case-sensitive") << "Apple"
                                        << "?????" << 0 << "a"
                                        << "?????" << 1 << E::None;
        QTest::newRow("no button bears it: stays hidden") << "co-op"
                                                          << "?????" << 0 << "o"
                                                          << "?o?o?" << 0 << E::None;
        QTest::newRow("short display padded") << "fig"
                                              << "f" << 0 << "g"
                                              << "f?g" << 0 << E::None;
        QTest::newRow("empty word: a miss, and won") << ""
                                                     << "" << 0 << "a"
                                                     << "" << 1 << E::Won;
        QTest::newRow("beyond the basic plane") << "a\U0001F600"
                                                << "??" << 0 << "a"
                                                << "a?" << 0 << E::None;
    }

    void judgeGuess() {
        QFETCH(QString, answer);
        QFETCH(QString, display);
        QFETCH(int, misses);
        QFETCH(QString, letter);
        QFETCH(QString, after);
        QFETCH(int, missesAfter);
        QFETCH(vostrel::GameEnd, end);
        const vostrel::GuessOutcome outcome =
            vostrel::judgeGuess(u32(answer), u32(display), misses, u32(letter).front());
        QCOMPARE(qs(outcome.display), after);
        QCOMPARE(outcome.found, missesAfter == misses);
        QCOMPARE(outcome.misses, missesAfter);
        QCOMPARE(outcome.end, end);
    }

    // Every word, the last included, is drawn about equally often.
    void drawIsUniform_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("one word") << 1;
        QTest::newRow("seven words") << 7;
        QTest::newRow("a hundred words") << 100;
    }

    void drawIsUniform() {
        QFETCH(int, count);
        std::mt19937_64 random(12345);  // NOLINT(cert-msc32-c,cert-msc51-cpp): repeatable
        const int perWord = 2000;
        std::vector<int> seen(static_cast<std::size_t>(count), 0);
        for (int i = 0; i < count * perWord; ++i) {
            ++seen.at(vostrel::drawIndex(static_cast<std::size_t>(count), random));
        }
        // Chi-square against the uniform expectation: far beyond the 99.9% point for up to 99
        // degrees of freedom, yet far below what a skewed or truncated draw gives.
        double chi = 0;
        for (const int n : seen) {
            chi += double(n - perWord) * (n - perWord) / perWord;
        }
        QVERIFY2(chi < 3.0 * count + 30, qPrintable(QString::number(chi)));
    }

    // What a screen reader says unasked after a guess, and for the word.
    void spoken_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("display");
        QTest::addColumn<int>("misses");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QString>("said");
        QTest::newRow("hit") << "apple"
                             << "?????" << 0 << "p"
                             << "p found. Word: blank, p, p, blank, blank";
        QTest::newRow("miss") << "apple"
                              << "?????" << 0 << "z"
                              << "z missed. 9 tries left";
        QTest::newRow("last try left") << "apple"
                                       << "?????" << 8 << "z"
                                       << "z missed. 1 try left";
        QTest::newRow("win") << "ox"
                             << "o?" << 3 << "x"
                             << "x found. Word: o, x. You've got it !";
        QTest::newRow("loss") << "ox"
                              << "o?" << 9 << "z"
                              << "z missed. You are hunged ! Answer: ox";
        QTest::newRow("too long to spell")
            << QString(65, u'a') + "b" << QString(66, u'?') << 0 << "b"
            << "b found. Word of 66 letters, 1 shown";
    }

    void spoken() {
        QFETCH(QString, answer);
        QFETCH(QString, display);
        QFETCH(int, misses);
        QFETCH(QString, letter);
        QFETCH(QString, said);
        const char32_t guessed = u32(letter).front();
        const auto outcome = vostrel::judgeGuess(u32(answer), u32(display), misses, guessed);
        QCOMPARE(qs(vostrel::spokenGuess(guessed, outcome, u32(answer))), said);
    }
};

QTEST_APPLESS_MAIN(TestRules)
#include "tst_rules.moc"
