#include <QFontDatabase>
#include <QImageWriter>
#include <QMenuBar>
#include <cstdlib>

#include "GuiTestSupport.h"

// The game window as a player meets it: layout, a new game, Reset & Start, the ways out.
// Closing the last visible window ends the program once its event loop runs.
static bool programWouldEnd(const QWidget& window) {
    const QWidgetList all = QApplication::topLevelWidgets();
    const bool noneVisible =
        std::none_of(all.begin(), all.end(), [](const QWidget* w) { return w->isVisible(); });
    return noneVisible && window.testAttribute(Qt::WA_QuitOnClose) &&
           QApplication::quitOnLastWindowClosed();
}

class TestFrmMain : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useAppTitle(); }

    void newGameState() {
        AppFolder folder("apple\n");
        const auto window = folder.load();
        QVERIFY(!window->isUnloaded());
        QCOMPARE(label(*window, "WORD_LABEL")->text(), "?????");
        QCOMPARE(label(*window, "RESULT_LABEL")->text(), "LEFT10");
        QCOMPARE(label(*window, "ANSWER_LABEL")->text(), "");
        QCOMPARE(pictureStage(*window), 0);
        const QList<QPushButton*> letters = letterButtons(*window);
        QCOMPARE(letters.size(), 26);
        for (int i = 0; i < 26; ++i) {
            QCOMPARE(letters[i]->text(), QString(QChar(u'a' + i)));
            QVERIFY(letters[i]->isEnabled());
        }
    }

    void windowCaptionsAndClientArea() {
        AppFolder folder("apple\n");
        const auto window = folder.load();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(window->windowTitle(), "Vostrel");
        QVERIFY(!window->windowIcon().isNull());
        QCOMPARE(window->centralWidget()->size(), QSize(532, 323));
        QCOMPARE(label(*window, "Label1")->text(), "Select any letter  below");
        QCOMPARE(button(*window, "cmdExit")->text(), "Exit");
        // Shown with its ampersand, and no access key.
        QCOMPARE(button(*window, "CMD_RESET")->text(), "Reset && Start");
    }

    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("Label1") << "Label1" << -1 << QRect(280, 120, 209, 17);
        QTest::newRow("CMD_RESET") << "CMD_RESET" << -1 << QRect(32, 232, 201, 25);
        QTest::newRow("cmdExit") << "cmdExit" << -1 << QRect(384, 288, 137, 25);
        QTest::newRow("a") << "CMD_ALPHA" << 0 << QRect(248, 152, 23, 23);
        QTest::newRow("k") << "CMD_ALPHA" << 10 << QRect(488, 152, 23, 23);
        QTest::newRow("l") << "CMD_ALPHA" << 11 << QRect(272, 176, 23, 23);
        QTest::newRow("t") << "CMD_ALPHA" << 19 << QRect(464, 176, 23, 23);
        QTest::newRow("u") << "CMD_ALPHA" << 20 << QRect(312, 200, 23, 23);
        QTest::newRow("z") << "CMD_ALPHA" << 25 << QRect(432, 200, 23, 23);
    }

    void layout() {
        QFETCH(QString, name);
        QFETCH(int, index);
        QFETCH(QRect, rect);
        AppFolder folder("apple\n");
        const auto window = folder.load();
        const QWidget* widget =
            index < 0 ? window->findChild<QWidget*>(name) : letterButtons(*window).value(index);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), rect);
        // Resizing the window moves nothing.
        window->resize(900, 700);
        QCOMPARE(widget->geometry(), rect);
    }

    void pictureAreaFitsItsPicture() {
        AppFolder folder("apple\n");
        const auto window = folder.load();
        const QLabel* picture = label(*window, "HUNG_PICT");
        QCOMPARE(picture->pos(), QPoint(32, 16));
        QCOMPARE(picture->size(), QSize(150 + 2, 150 + 2));
        QVERIFY(picture->autoFillBackground());
    }

    // The auto-size labels grow and shrink with their caption about a fixed centre.
    void labelsSizeToTheirCaption_data() {
        QTest::addColumn<QByteArray>("word");
        QTest::newRow("short") << QByteArray("ox");
        QTest::newRow("designed") << QByteArray("strawberry");
        QTest::newRow("long") << QByteArray("incomprehensibilities");
    }

    void labelsSizeToTheirCaption() {
        QFETCH(QByteArray, word);
        AppFolder folder(word);
        const auto window = folder.load();
        const QLabel* wordLabel = label(*window, "WORD_LABEL");
        const QFontMetrics metrics(wordLabel->font());
        QCOMPARE(wordLabel->y(), 24);
        QCOMPARE(wordLabel->width(), metrics.horizontalAdvance(QString(word.size(), u'?')) + 4);
        QCOMPARE(wordLabel->height(), metrics.height() + 4);
        QVERIFY(qAbs(2 * wordLabel->x() + wordLabel->width() - (2 * 310 + 137)) <= 1);
        const QLabel* result = label(*window, "RESULT_LABEL");
        QCOMPARE(result->y(), 64);
        QVERIFY(qAbs(2 * result->x() + result->width() - (2 * 330 + 97)) <= 1);
    }

    // However long the word, the masked word and the answer stay inside the window; one too
    // wide for it shows its two ends around an ellipsis.
    void longWordsStayInsideTheWindow_data() {
        QTest::addColumn<int>("length");
        QTest::newRow("fits right of its centre") << 20;
        QTest::newRow("moved in from the right edge") << 35;
        QTest::newRow("wider than the window") << 60;
        QTest::newRow("a million letters") << 1'000'000;
    }

    void longWordsStayInsideTheWindow() {
        QFETCH(int, length);
        AppFolder folder(QByteArray(length, 'a'));
        const auto window = folder.load();
        for (int miss = 0; miss < 10; ++miss) {
            letter(*window, 'z')->click();
        }
        for (const char* name : {"WORD_LABEL", "ANSWER_LABEL"}) {
            const QLabel* shown = label(*window, name);
            const QFontMetrics metrics(shown->font());
            const int frame = 2 * shown->frameWidth();
            const bool fits = metrics.horizontalAdvance(QString(length, u'a')) + frame <= 532;
            QVERIFY(shown->x() >= 0);
            QVERIFY(shown->x() + shown->width() <= 532);
            QCOMPARE(shown->width(), metrics.horizontalAdvance(shown->text()) + frame);
            QCOMPARE(shown->text().size() == length, fits);
            QCOMPARE(shown->text().contains(QChar(0x2026)), !fits);
        }
    }

    // A big picture grows its area beneath the other controls, so every one stays in view.
    void bigPictureStaysBeneathTheControls() {
        AppFolder folder("apple\n");
        QImage image(1200, 900, QImage::Format_RGB32);
        image.fill(Qt::black);
        QVERIFY(image.save(folder.filePath(QStringLiteral("0.bmp")), "BMP"));
        const auto window = folder.load();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QLabel* picture = label(*window, "HUNG_PICT");
        QCOMPARE(picture->size(), QSize(1202, 902));
        const QWidget* client = window->centralWidget();
        for (QWidget* control : client->findChildren<QWidget*>()) {
            if (control != picture && !control->geometry().isEmpty()) {
                QCOMPARE(client->childAt(control->geometry().center()), control);
            }
        }
    }

    void gameFonts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("framed");
        QTest::newRow("WORD_LABEL") << "WORD_LABEL" << true;
        QTest::newRow("RESULT_LABEL") << "RESULT_LABEL" << true;
        QTest::newRow("ANSWER_LABEL") << "ANSWER_LABEL" << false;
    }

    void gameFonts() {
        QFETCH(QString, name);
        QFETCH(bool, framed);
        AppFolder folder("apple\n");
        const auto window = folder.load();
        const auto* widget = window->findChild<QLabel*>(name);
        const QFontInfo info(widget->font());
        const QFontMetrics metrics(widget->font());
        // Every letter and every "?" of the masked word takes the same width.
        for (const QChar c : QStringLiteral("imwW")) {
            QCOMPARE(metrics.horizontalAdvance(c), metrics.horizontalAdvance(u'?'));
        }
        QVERIFY(info.bold());
        QCOMPARE(info.pointSize(), 18);
        if (QFontDatabase::families().contains(QStringLiteral("IPAGothic"))) {
            QCOMPARE(info.family(), "IPAGothic");
        }
        QCOMPARE(widget->alignment(), Qt::AlignCenter);
        QCOMPARE(widget->frameWidth(), framed ? 2 : 0);
        QCOMPARE(widget->focusPolicy(), Qt::NoFocus);
    }

    void tabOrderAndFocus() {
        AppFolder folder("apple\n");
        const auto window = folder.load();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QWidget* exit = button(*window, "cmdExit");
        QCOMPARE(QApplication::focusWidget(), exit);

        QStringList order;
        QWidget* widget = exit;
        for (int step = 0; step < 29; ++step) {
            order << (widget->objectName() == "CMD_ALPHA"
                          ? qobject_cast<QPushButton*>(widget)->text()
                          : widget->objectName());
            QTest::keyClick(widget, Qt::Key_Tab);
            widget = QApplication::focusWidget();
        }
        QCOMPARE(order.join(u' '),
                 "cmdExit l z y x w v u t s r q p o n m k j i h g f e d c b a CMD_RESET HUNG_PICT");
        QCOMPARE(widget, exit);  // and round again
    }

    void menus() {
        AppFolder folder("apple\n");
        const auto window = folder.load();
        const QList<QAction*> top = window->menuBar()->actions();
        QCOMPARE(top.size(), 2);
        QCOMPARE(top[0]->text(), "File(&F)");
        QCOMPARE(top[0]->menu()->objectName(), "mnuFile");
        QCOMPARE(top[1]->text(), "Help(&H)");
        QCOMPARE(top[1]->menu()->objectName(), "mnuHelp");
        const QList<QAction*> file = top[0]->menu()->actions();
        QCOMPARE(file.size(), 1);
        QCOMPARE(file[0]->objectName(), "mnuFileExit");
        QCOMPARE(file[0]->text(), "Exit(X)");
        const QList<QAction*> help = top[1]->menu()->actions();
        QCOMPARE(help.size(), 1);
        QCOMPARE(help[0]->objectName(), "mnuHelpAbout");
        QCOMPARE(help[0]->text(), "About(&A)");
        for (QAction* action : file + help) {
            QVERIFY(action->shortcut().isEmpty());
            QVERIFY(!action->isCheckable());
        }
    }

    // Each new game reads the word file afresh.
    void resetReadsTheWordFileAgain() {
        AppFolder folder("apple\n");
        const auto window = folder.load();
        folder.setWords("fig\n");
        button(*window, "CMD_RESET")->click();
        QCOMPARE(label(*window, "WORD_LABEL")->text(), "???");
        QCOMPARE(label(*window, "RESULT_LABEL")->text(), "LEFT10");
    }

    void everyWordIsDrawn() {
        AppFolder folder("a\nbb\nccc\n");
        const auto window = folder.load();
        QSet<qsizetype> lengths;
        for (int i = 0; i < 200 && lengths.size() < 3; ++i) {
            button(*window, "CMD_RESET")->click();
            lengths << label(*window, "WORD_LABEL")->text().size();
        }
        QCOMPARE(lengths, QSet<qsizetype>({1, 2, 3}));
    }

    // Pictures are BMPs, but one saved in another format Qt can read is shown all the same.
    void picturesInAnyReadableFormat_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QImage::Format>("pixels");
        QTest::addColumn<QByteArray>("bytes");  // instead of a picture, when not empty
        QTest::addColumn<QSize>("shown");
        const QSize red(120, 80);
        QTest::newRow("bmp, true colour")
            << QByteArray("BMP") << QImage::Format_RGB32 << QByteArray() << red;
        QTest::newRow("bmp, palette")
            << QByteArray("BMP") << QImage::Format_Indexed8 << QByteArray() << red;
        QTest::newRow("png") << QByteArray("PNG") << QImage::Format_RGB32 << QByteArray() << red;
        QTest::newRow("jpeg") << QByteArray("JPEG") << QImage::Format_RGB32 << QByteArray() << red;
        QTest::newRow("BM and no picture")
            << QByteArray() << QImage::Format_RGB32 << QByteArray("BMxxxxxxxxxxxxxxxxxxxxxxxx")
            << QSize(200, 200);
    }

    void picturesInAnyReadableFormat() {
        QFETCH(QByteArray, format);
        QFETCH(QImage::Format, pixels);
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, shown);
        AppFolder folder("apple\n");
        QFile file(folder.filePath(QStringLiteral("0.bmp")));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        if (bytes.isEmpty()) {
            if (!QImageWriter::supportedImageFormats().contains(format.toLower())) {
                QSKIP("this Qt cannot write the format");
            }
            QImage image(shown, QImage::Format_RGB32);
            image.fill(Qt::red);
            QVERIFY(image.convertToFormat(pixels).save(&file, format.constData()));
        } else {
            QCOMPARE(file.write(bytes), bytes.size());
        }
        file.close();
        const auto window = folder.load();
        const QImage picture = label(*window, "HUNG_PICT")->pixmap().toImage();
        QCOMPARE(picture.size(), shown);
        const QColor centre = picture.pixelColor(shown.width() / 2, shown.height() / 2);
        const QColor expected = bytes.isEmpty() ? QColor(Qt::red) : QColor(Qt::white);
        QVERIFY2(std::abs(centre.red() - expected.red()) < 8 &&
                     std::abs(centre.green() - expected.green()) < 8 &&
                     std::abs(centre.blue() - expected.blue()) < 8,
                 qPrintable(centre.name()));
    }

    void missingPictureShowsEmptyPicture() {
        AppFolder folder("apple\n");
        folder.remove(QStringLiteral("0.bmp"));
        const auto window = folder.load();
        QVERIFY(!window->isUnloaded());
        QCOMPARE(label(*window, "HUNG_PICT")->pixmap().size(), QSize(200, 200));
        QCOMPARE(label(*window, "WORD_LABEL")->text(), "?????");
    }

    // A new game that cannot start says why and unloads the window, before it was ever shown.
    void failedStart_data() {
        QTest::addColumn<QByteArray>("words");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray() << false << "Data File Not exists.";
        QTest::newRow("empty") << QByteArray() << true << "The word file holds no words.";
        QTest::newRow("only separators")
            << QByteArray(" ,\n\n,") << true << "The word file holds no words.";
    }

    void failedStart() {
        QFETCH(QByteArray, words);
        QFETCH(bool, present);
        QFETCH(QString, message);
        AppFolder folder(words);
        if (!present) {
            folder.remove(QStringLiteral("h_dat.txt"));
        }
        ModalCloser closer;
        const auto window = folder.load();
        QCOMPARE(closer.seen, 1);
        QCOMPARE(closer.text, message);
        QCOMPARE(closer.title, "Vostrel");
        QVERIFY(closer.noIcon);
        QCOMPARE(closer.buttons, 1);
        QVERIFY(window->isUnloaded());
        QVERIFY(!window->isVisible());
    }

    void resetAfterWordFileDeletedEndsTheProgram() {
        AppFolder folder("apple\n");
        const auto window = folder.load();
        window->show();
        folder.remove(QStringLiteral("h_dat.txt"));
        ModalCloser closer;
        button(*window, "CMD_RESET")->click();
        QCOMPARE(closer.text, "Data File Not exists.");
        QVERIFY(window->isUnloaded());
        QVERIFY(!window->isVisible());
        QVERIFY(programWouldEnd(*window));
    }

    void waysOut_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("Exit button") << "button";
        QTest::newRow("File > Exit") << "menu";
        QTest::newRow("close box") << "close";
        QTest::newRow("keyboard on the focused Exit") << "key";
    }

    void waysOut() {
        QFETCH(QString, way);
        AppFolder folder("apple\n");
        const auto window = folder.load();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        if (way == "button") {
            button(*window, "cmdExit")->click();
        } else if (way == "menu") {
            window->findChild<QAction*>(QStringLiteral("mnuFileExit"))->trigger();
        } else if (way == "close") {
            window->close();
        } else {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        }
        QVERIFY(!window->isVisible());
        QVERIFY(programWouldEnd(*window));
    }

    void aboutOpensModally() {
        AppFolder folder("apple\n");
        const auto window = folder.load();
        window->show();
        ModalCloser closer;
        window->findChild<QAction*>(QStringLiteral("mnuHelpAbout"))->trigger();
        QCOMPARE(closer.seen, 1);
        QCOMPARE(closer.className, "frmAbout");
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
