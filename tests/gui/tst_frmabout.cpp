#include <QFontDatabase>
#include <QMenuBar>
#include <QSignalSpy>
#include <QWindow>

#include "GuiTestSupport.h"
#include "frmAbout.h"

// The About window as a player meets it, opened through Help > About of a shown game window.

namespace {

const QString kCaption = QStringLiteral("Vostrelのﾊﾞｰｼﾞｮﾝ情報");
const QString kVersion = QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.0.0");
const QString kSysInfo = QStringLiteral("ｼｽﾃﾑ情報(&S)...");
const QString kNoSysInfo = QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません");

using WhileOpen = std::function<void(QWidget* about)>;

// Chooses Help > About and runs `whileOpen` once the About window is active; OK closes it
// afterwards if it is still open. Returns only when the About window has been closed.
void openAbout(const frmMain& window, const WhileOpen& whileOpen) {
    ModalCloser closer([&](QWidget* about) {
        (void)QTest::qWaitForWindowActive(about);
        whileOpen(about);
        if (about->isVisible()) {
            button(*about, "cmdOK")->click();
        }
    });
    window.findChild<QAction*>(QStringLiteral("mnuHelpAbout"))->trigger();
}

// Input as the window system delivers it, so a window blocked by a modal one never sees it.
void clickThroughWindow(QWidget* target) {
    QWidget* top = target->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {},
                      target->mapTo(top, target->rect().center()));
}

}  // namespace

class TestFrmAbout : public QObject {
    Q_OBJECT

private slots:
    void init() { useAppTitle(); }

    // Each opening loads the window afresh, so texts spoilt while it was open come back.
    void texts_data() {
        QTest::addColumn<int>("openings");
        QTest::newRow("first opening") << 1;
        QTest::newRow("second opening") << 2;
    }

    void texts() {
        QFETCH(int, openings);
        AppFolder folder("apple\n");
        const auto window = folder.load();
        window->show();
        QStringList seen;
        for (int i = 0; i < openings; ++i) {
            openAbout(*window, [&](QWidget* about) {
                seen = {about->windowTitle(), label(*about, "lblTitle")->text(),
                        label(*about, "lblVersion")->text(), button(*about, "cmdOK")->text(),
                        button(*about, "cmdSysInfo")->text()};
                about->setWindowTitle(QStringLiteral("spoilt"));
                label(*about, "lblTitle")->setText(QStringLiteral("spoilt"));
                label(*about, "lblVersion")->setText(QStringLiteral("spoilt"));
            });
        }
        QCOMPARE(seen, QStringList({kCaption, "Vostrel", kVersion, "OK", kSysInfo}));
        QCOMPARE(window->findChildren<frmAbout*>().size(), 1);
    }

    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("cmdOK") << "cmdOK" << QRect(72, 80, 92, 23);
        QTest::newRow("cmdSysInfo") << "cmdSysInfo" << QRect(168, 80, 92, 23);
        QTest::newRow("picIcon") << "picIcon" << QRect(16, 16, 36, 36);
        QTest::newRow("lblVersion") << "lblVersion" << QRect(96, 40, 123, 15);
    }

    void layout() {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        AppFolder folder("apple\n");
        const auto window = folder.load();
        window->show();
        QRect geometry;
        openAbout(*window,
                  [&](QWidget* about) { geometry = about->findChild<QWidget*>(name)->geometry(); });
        QCOMPARE(geometry, rect);
    }

    // The title label fits its caption and grows to the right of a fixed left edge.
    void titleSizesToItsCaption_data() {
        QTest::addColumn<QString>("title");
        QTest::newRow("the program's") << "Vostrel";
        QTest::newRow("short") << "V";
        QTest::newRow("long") << "Vostrel Deluxe Championship Edition";
    }

    void titleSizesToItsCaption() {
        QFETCH(QString, title);
        QApplication::setApplicationName(title);
        AppFolder folder("apple\n");
        const auto window = folder.load();
        window->show();
        QString caption;
        QString shown;
        QRect geometry;
        QFont font;
        QColor colour;
        openAbout(*window, [&](QWidget* about) {
            const QLabel* lblTitle = label(*about, "lblTitle");
            caption = about->windowTitle();
            shown = lblTitle->text();
            geometry = lblTitle->geometry();
            font = lblTitle->font();
            colour = lblTitle->palette().color(QPalette::WindowText);
        });
        QCOMPARE(caption, title + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(shown, title);
        const QFontMetrics metrics(font);
        QCOMPARE(geometry, QRect(70, 16, metrics.horizontalAdvance(title), metrics.height()));
        const QFontInfo info(font);
        QVERIFY(info.bold());
        QCOMPARE(info.pointSize(), 12);
        if (QFontDatabase::families().contains(QStringLiteral("IPAPGothic"))) {
            QCOMPARE(info.family(), "IPAPGothic");
        }
        QCOMPARE(colour, QColor(Qt::black));
    }

    // A fixed dialog at a fixed place on the screen, owned by the game window so it gets no
    // taskbar entry of its own; moved away, it comes back to its place the next time.
    void frame() {
        AppFolder folder("apple\n");
        const auto window = folder.load();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        for (int opening = 1; opening <= 2; ++opening) {
            QRect geometry;
            QPoint origin;
            QSize afterResize;
            Qt::WindowFlags flags;
            QWidget* modal = nullptr;
            const QWindow* owner = nullptr;
            bool noIcon = false;
            openAbout(*window, [&](QWidget* about) {
                geometry = about->geometry();
                origin = about->mapToGlobal(QPoint(0, 0));
                flags = about->windowFlags();
                modal = QApplication::activeModalWidget();
                owner = about->windowHandle()->transientParent();
                noIcon = about->windowIcon().isNull();
                about->resize(400, 300);
                afterResize = about->size();
                about->move(300, 300);
            });
            QCOMPARE(geometry, QRect(156, 129, 288, 116));
            QCOMPARE(origin, QPoint(156, 129));
            QCOMPARE(afterResize, QSize(288, 116));
            QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
            QVERIFY(flags & Qt::WindowCloseButtonHint);
            QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
            QCOMPARE(modal, window->findChild<frmAbout*>());
            QCOMPARE(owner, window->windowHandle());
            QVERIFY(noIcon);
        }
    }

    void focusAndTabOrder() {
        AppFolder folder("apple\n");
        const auto window = folder.load();
        window->show();
        for (int opening = 1; opening <= 2; ++opening) {
            QStringList order;
            openAbout(*window, [&](QWidget* about) {
                for (int step = 0; step < 4; ++step) {
                    QWidget* focus = QApplication::focusWidget();
                    order << (focus != nullptr ? focus->objectName() : QString());
                    if (step < 3) {
                        QTest::keyClick(focus, Qt::Key_Tab);
                    }
                }
                // Left on the system-information button: the next opening starts on OK again.
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                about->close();
            });
            QCOMPARE(order.join(u' '), "cmdOK picIcon cmdSysInfo cmdOK");
        }
    }

    // The ways the keyboard and mouse close the window or ask for the system information, which
    // is not available yet and says so while the window stays open.
    void commands_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QString>("focus");
        QTest::newRow("click OK") << "click OK" << true << "cmdOK";
        QTest::newRow("Enter on OK") << "Return" << true << "cmdOK";
        QTest::newRow("keypad Enter on OK") << "Enter" << true << "cmdOK";
        QTest::newRow("Space on OK") << "Space" << true << "cmdOK";
        QTest::newRow("Enter on the icon") << "Return" << true << "picIcon";
        QTest::newRow("Esc on OK") << "Escape" << true << "cmdOK";
        QTest::newRow("Esc on the icon") << "Escape" << true << "picIcon";
        QTest::newRow("Esc on system information") << "Escape" << true << "cmdSysInfo";
        QTest::newRow("close box") << "close" << true << "cmdOK";
        QTest::newRow("click system information") << "click SysInfo" << false << "cmdOK";
        QTest::newRow("Enter on system information") << "Return" << false << "cmdSysInfo";
        QTest::newRow("access key Alt+S") << "Alt+S" << false << "cmdOK";
    }

    void commands() {
        QFETCH(QString, action);
        QFETCH(bool, closes);
        QFETCH(QString, focus);
        AppFolder folder("apple\n");
        const auto window = folder.load();
        window->show();
        bool stayedOpen = false;
        bool stayedModal = false;
        int okClicks = 0;
        int messages = 0;
        QString messageTitle;
        QString messageText;
        bool messageNoIcon = false;
        qsizetype messageButtons = 0;
        openAbout(*window, [&](QWidget* about) {
            QSignalSpy okSpy(button(*about, "cmdOK"), &QPushButton::clicked);
            ModalCloser message(ModalCloser::pressOk, about);
            about->findChild<QWidget*>(focus)->setFocus();
            QWidget* target = QApplication::focusWidget();
            if (action == "click OK") {
                QTest::mouseClick(button(*about, "cmdOK"), Qt::LeftButton);
            } else if (action == "click SysInfo") {
                QTest::mouseClick(button(*about, "cmdSysInfo"), Qt::LeftButton);
            } else if (action == "close") {
                about->close();
            } else if (action == "Alt+S") {
                QTest::keyClick(target, Qt::Key_S, Qt::AltModifier);
            } else {
                const QKeySequence key = QKeySequence::fromString(action);
                QTest::keyClick(target, key[0].key());
            }
            // An access key presses its button a moment later, as a mouse click would.
            (void)QTest::qWaitFor([&] { return message.seen > 0 || !about->isVisible(); });
            stayedOpen = about->isVisible();
            stayedModal = QApplication::activeModalWidget() == about;
            okClicks = static_cast<int>(okSpy.count());
            messages = message.seen;
            messageTitle = message.title;
            messageText = message.text;
            messageNoIcon = message.noIcon;
            messageButtons = message.buttons;
        });
        QCOMPARE(stayedOpen, !closes);
        // Esc and Enter press OK itself; only the frame's close command goes round it.
        QCOMPARE(okClicks, closes && action != "close" ? 1 : 0);
        QCOMPARE(messages, closes ? 0 : 1);
        if (!closes) {
            QVERIFY(stayedModal);
            QCOMPARE(messageTitle, "Vostrel");
            QCOMPARE(messageText, kNoSysInfo);
            QVERIFY(messageNoIcon);
            QCOMPARE(messageButtons, 1);
        }
        QVERIFY(!window->findChild<frmAbout*>()->isVisible());
    }

    // While the About window is open the game window ignores the player; once it is closed, the
    // same input reaches the game window again.
    void gameWindowWaits_data() {
        QTest::addColumn<QString>("input");
        QTest::newRow("letter button") << "a";
        QTest::newRow("Reset & Start") << "CMD_RESET";
        QTest::newRow("key on the focused Exit") << "key";
        QTest::newRow("Help menu") << "mnuHelp";
    }

    void gameWindowWaits() {
        QFETCH(QString, input);
        AppFolder folder("apple\n");
        const auto window = folder.load();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        folder.setWords("fig\n");  // a new game would show three marks instead of five

        QPushButton* pressed = input == "a"           ? letter(*window, 'a')
                               : input == "CMD_RESET" ? button(*window, "CMD_RESET")
                                                      : button(*window, "cmdExit");
        QSignalSpy clicks(pressed, &QPushButton::clicked);
        const auto sendInput = [&] {
            if (input == "key") {
                QTest::keyClick(window->windowHandle(), Qt::Key_Space);
            } else if (input == "mnuHelp") {
                const QMenuBar* bar = window->menuBar();
                const QRect help = bar->actionGeometry(bar->actions().at(1));
                QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                                  bar->mapTo(window.get(), help.center()));
            } else {
                clickThroughWindow(pressed);
            }
        };

        bool menuOpened = true;
        openAbout(*window, [&](QWidget*) {
            sendInput();
            menuOpened = QApplication::activePopupWidget() != nullptr;
        });
        QCOMPARE(clicks.count(), 0);
        QVERIFY(!menuOpened);
        QVERIFY(window->isVisible());
        QCOMPARE(label(*window, "WORD_LABEL")->text(), "?????");

        // The window system hands the activation back; the offscreen platform does not.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        sendInput();
        if (input == "mnuHelp") {
            QWidget* menu = QApplication::activePopupWidget();
            QVERIFY(menu != nullptr);
            menu->close();
        } else {
            QCOMPARE(clicks.count(), 1);
        }
    }
};

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
