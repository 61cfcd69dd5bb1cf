#include "GuiTestSupport.h"

// Letter guesses through the real window, as a player clicks them.
class TestGuess : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useAppTitle(); }

    void hitRevealsEveryPositionAndDisablesOnlyItsButton() {
        AppFolder folder("apple\n");
        const auto window = folder.load();
        QTest::mouseClick(letter(*window, 'p'), Qt::LeftButton);
        QCOMPARE(label(*window, "WORD_LABEL")->text(), "?pp??");
        QCOMPARE(label(*window, "RESULT_LABEL")->text(), "LEFT10");  // a hit leaves it alone
        QCOMPARE(pictureStage(*window), 0);
        for (QPushButton* b : letterButtons(*window)) {
            QCOMPARE(b->isEnabled(), b->text() != "p");
        }
    }

    // Ten misses walk the picture through every stage and count the tries down.
    void tenMisses() {
        AppFolder folder("apple\n");
        const auto window = folder.load();
        QPushButton* z = letter(*window, 'z');
        QTest::mouseClick(letter(*window, 'a'), Qt::LeftButton);
        for (int miss = 1; miss <= 9; ++miss) {
            QTest::mouseClick(z, Qt::LeftButton);
            QCOMPARE(pictureStage(*window), miss);
            QCOMPARE(label(*window, "RESULT_LABEL")->text(),
                     QStringLiteral("LEFT %1").arg(10 - miss));
            QVERIFY(z->isEnabled());  // a wrong letter may be tried again, and counts again
        }
        QCOMPARE(label(*window, "ANSWER_LABEL")->text(), "");
        QTest::mouseClick(z, Qt::LeftButton);
        QCOMPARE(pictureStage(*window), 10);
        QCOMPARE(label(*window, "RESULT_LABEL")->text(), "You are hunged !");
        QCOMPARE(label(*window, "ANSWER_LABEL")->text(), "apple");
        QCOMPARE(label(*window, "WORD_LABEL")->text(), "a????");
        expectLocked(*window);
    }

    void winAfterMisses() {
        AppFolder folder("apple\n");
        const auto window = folder.load();
        for (const char c : std::string("zqpalxe")) {
            QTest::mouseClick(letter(*window, c), Qt::LeftButton);
        }
        QCOMPARE(label(*window, "WORD_LABEL")->text(), "apple");
        QCOMPARE(label(*window, "RESULT_LABEL")->text(), "You've got it !");
        QCOMPARE(label(*window, "ANSWER_LABEL")->text(), "");
        QCOMPARE(pictureStage(*window), 3);
        expectLocked(*window);
    }

    // Characters no button bears stay hidden, so such a word can only be lost.
    void unwinnableWord_data() {
        QTest::addColumn<QByteArray>("word");
        QTest::addColumn<QString>("shown");
        QTest::newRow("capital") << QByteArray("Zoo") << "?oo";
        QTest::newRow("hyphen") << QByteArray("co-op") << "co?op";
        QTest::newRow("digit") << QByteArray("b2b") << "b?b";
        QTest::newRow("accent") << QByteArray("caf\xC3\xA9") << "caf?";
    }

    void unwinnableWord() {
        QFETCH(QByteArray, word);
        QFETCH(QString, shown);
        AppFolder folder(word);
        const auto window = folder.load();
        const QString text = QString::fromUtf8(word);
        for (QPushButton* b : letterButtons(*window)) {
            if (text.contains(b->text())) {
                QTest::mouseClick(b, Qt::LeftButton);
            }
        }
        QCOMPARE(label(*window, "WORD_LABEL")->text(), shown);
        QCOMPARE(label(*window, "RESULT_LABEL")->text(), "LEFT10");
        for (int miss = 0; miss < 10; ++miss) {
            QTest::mouseClick(letter(*window, 'j'), Qt::LeftButton);
        }
        QCOMPARE(label(*window, "RESULT_LABEL")->text(), "You are hunged !");
        QCOMPARE(label(*window, "ANSWER_LABEL")->text(), QString::fromUtf8(word));
    }

    // Reset & Start, mid-game or after either end, gives a fresh game with every letter back.
    void resetReleases_data() {
        QTest::addColumn<QString>("clicks");
        QTest::newRow("mid-game") << "apz";
        QTest::newRow("after a win") << "aple";
        QTest::newRow("after a loss") << "zzzzzzzzzz";
    }

    void resetReleases() {
        QFETCH(QString, clicks);
        AppFolder folder("apple\n");
        const auto window = folder.load();
        for (const QChar c : clicks) {
            QTest::mouseClick(letter(*window, char(c.unicode())), Qt::LeftButton);
        }
        QTest::mouseClick(button(*window, "CMD_RESET"), Qt::LeftButton);
        QCOMPARE(label(*window, "WORD_LABEL")->text(), "?????");
        QCOMPARE(label(*window, "RESULT_LABEL")->text(), "LEFT10");
        QCOMPARE(label(*window, "ANSWER_LABEL")->text(), "");
        QCOMPARE(pictureStage(*window), 0);
        for (QPushButton* b : letterButtons(*window)) {
            QVERIFY(b->isEnabled());
        }
        QTest::mouseClick(letter(*window, 'z'), Qt::LeftButton);
        QCOMPARE(label(*window, "RESULT_LABEL")->text(), "LEFT 9");
    }

    // Letters typed on the keyboard guess nothing; only a focused button is pressed.
    void typedLettersGuessNothing() {
        AppFolder folder("apple\n");
        const auto window = folder.load();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClicks(window.get(), QStringLiteral("aple"));
        QCOMPARE(label(*window, "WORD_LABEL")->text(), "?????");
        letter(*window, 'e')->setFocus();
        QTest::keyClick(letter(*window, 'e'), Qt::Key_Space);
        QCOMPARE(label(*window, "WORD_LABEL")->text(), "????e");
    }

    void missingMissPictureLeavesGameGoing() {
        AppFolder folder("apple\n");
        folder.remove(QStringLiteral("1.bmp"));
        const auto window = folder.load();
        QTest::mouseClick(letter(*window, 'z'), Qt::LeftButton);
        QCOMPARE(label(*window, "HUNG_PICT")->pixmap().size(), QSize(200, 200));
        QCOMPARE(label(*window, "RESULT_LABEL")->text(), "LEFT 9");
        QTest::mouseClick(letter(*window, 'z'), Qt::LeftButton);
        QCOMPARE(pictureStage(*window), 2);
    }

private:
    static void expectLocked(frmMain& window) {
        const QString result = label(window, "RESULT_LABEL")->text();
        for (QPushButton* b : letterButtons(window)) {
            QVERIFY(!b->isEnabled());
        }
        // Even a direct call changes nothing once the game has ended.
        window.CMD_ALPHA_Click(25);
        QCOMPARE(label(window, "RESULT_LABEL")->text(), result);
    }
};

QTEST_MAIN(TestGuess)
#include "tst_guess.moc"
