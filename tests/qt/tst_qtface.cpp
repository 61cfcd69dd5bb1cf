#include <QAccessible>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QtTest>
#include <cstring>

#include "Acceptance.h"
#include "AppInfo.h"
#include "AppStyle.h"
#include "KeyRows.h"
#include "MainFace.h"
#include "Rows.h"

namespace forms = vostrel::forms;
using forms::Id;

namespace {

// A throwaway application folder with one word; picture k is 150 + k pixels wide.
class AppFolder {
public:
    explicit AppFolder(const QByteArray& words = "apple\n") {
        QFile file(dir_.filePath(QStringLiteral("h_dat.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(words) == words.size());
        for (int stage = 0; stage <= 10; ++stage) {
            QImage image(150 + stage, 150, QImage::Format_RGB32);
            image.fill(Qt::white);
            image.save(filePath(QStringLiteral("%1.bmp").arg(stage)), "BMP");
        }
    }
    [[nodiscard]] QString filePath(const QString& name) const { return dir_.filePath(name); }
    [[nodiscard]] std::unique_ptr<vostrel::qt::MainFace> load() const {
        auto window = std::make_unique<vostrel::qt::MainFace>(system_, dir_.path().toStdString());
        window->load();
        return window;
    }

private:
    QTemporaryDir dir_;
    vostrel::Services system_ = vostrel::systemServices();
};

template <class T = QWidget>
T* find(const QWidget& window, const char* name, int index = -1) {
    if (index < 0) {
        return window.findChild<T*>(QLatin1String(name));
    }
    return window.findChildren<T*>(QLatin1String(name)).value(index);  // made in index order
}

// Acts on the next modal window once it is open (above `over`, if given), then closes it if the
// act did not: modal windows in tests never wait for a player.
// Returns the poll, for a caller that stops waiting.
QPointer<QTimer> whenModal(const std::function<void(QWidget*)>& act,
                           const QWidget* over = nullptr) {
    // Polled, not waited for: the act itself may open a modal window of its own.
    auto* poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act, over, ticks = 0]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (++ticks > 500) {
            poll->deleteLater();  // none came: the test finds what the act would have recorded
        }
        if (ticks > 500 || modal == nullptr || modal == over ||
            QApplication::activeWindow() != modal) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        act(modal);
        if (modal->isVisible()) {
            modal->close();
        }
    });
    poll->start(10);
    return poll;
}

}  // namespace

// The Qt face where it can break: windows built from the definitions, captions measured in the
// labels' own fonts, pictures decoded within limits, the About window's modality and keys, and
// what assistive technology hears. The rules behind them are tested with a recording face.
class TestQtFace : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QApplication::setApplicationName(QString::fromLatin1(vostrel::kAppTitle));
        QStyle* chosen = QApplication::style();
        vostrel::installAppStyle();
        // The layer keeps the style Qt chose rather than making a default one of its own.
        QCOMPARE(qobject_cast<QProxyStyle*>(QApplication::style())->baseStyle(), chosen);
    }

    // Both windows as the design's tables give them, at 96 dpi: every control at its place with
    // its caption and font, each window's size, place, title and menus, and the tab order as the
    // Tab key walks it.
    void windowsAsDesigned() {
        AppFolder folder;
        const auto main = folder.load();
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        const auto rows = acceptance::read(VOSTREL_ACCEPTANCE_DIR "/windows.tsv");
        const auto window = [&](const char* name) {
            return *std::find_if(rows.begin(), rows.end(),
                                 [&](const acceptance::Row& r) { return r.at("window") == name; });
        };
        const acceptance::Row game = window("frmMain");
        QCOMPARE(main->centralWidget()->size(), QSize(acceptance::pixels(game.at("width")),
                                                      acceptance::pixels(game.at("height"))));
        QCOMPARE(main->windowTitle().toStdString(), game.at("caption"));
        QStringList menus;
        for (QAction* top : main->menuBar()->actions()) {
            menus << top->text() + " > " + top->menu()->actions().value(0)->text();
        }
        QCOMPARE(menus.join("; ").toStdString(), game.at("menus"));
        checkControls(*main, "frmMain");
        QCOMPARE(tabWalk(), game.at("taborder"));
        const acceptance::Row about = window("frmAbout");
        bool checked = false;
        whenModal([&](QWidget* modal) {
            QCOMPARE(modal->geometry(), QRect(acceptance::pixels(about.at("left")),
                                              acceptance::pixels(about.at("top")),
                                              acceptance::pixels(about.at("width")),
                                              acceptance::pixels(about.at("height"))));
            QCOMPARE(modal->windowTitle().toStdString(), about.at("caption"));
            QVERIFY(!(modal->windowFlags() & Qt::WindowMinMaxButtonsHint));
            checkControls(*modal, "frmAbout");
            QCOMPARE(tabWalk(), about.at("taborder"));
            checked = true;
        });
        main->form().Click(Id::mnuHelpAbout);
        QVERIFY(checked);
        main->resize(100, 100);
        QCOMPARE(main->centralWidget()->size(), QSize(532, 323));  // never smaller than designed
    }

    // Every key and pointer press of the keys table that holds on Linux, pressed as a player
    // presses it, does what the table says.
    void keysAsDesigned_data() { keyRows({"linux"}); }

    void keysAsDesigned() {
        QFETCH(QString, window);
        QFETCH(QString, before);
        QFETCH(QString, keys);
        QFETCH(QString, after);
        QFETCH(QString, shows);
        AppFolder folder("moon\n");
        const auto main = folder.load();
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        QString focus;
        QString state;
        const auto play = [&](QWidget& on) {
            const auto named = [&](const QString& name) {
                return name.size() == 1   ? find(on, "CMD_ALPHA", name.front().unicode() - u'a')
                       : name == "ground" ? on.findChild<QWidget*>(QStringLiteral("client"))
                                          : find(on, qPrintable(name));
            };
            named(before)->setFocus(Qt::TabFocusReason);
            QTRY_COMPARE(QApplication::focusWidget(), named(before));
            for (const QString& step : keys.split(u' ')) {
                if (step.startsWith("Click(")) {
                    const QString target = step.mid(6).chopped(1);
                    // The ground: a spot of the game window beneath Reset & Start with nothing on
                    // it.
                    QTest::mouseClick(named(target), Qt::LeftButton, {},
                                      target == "ground" ? QPoint(10, 300) : QPoint(5, 5));
                } else {
                    pressKey(step);
                }
            }
            // The window's own: a message just closed gives the window back its focus only once
            // the window is active again.
            QWidget* now = on.focusWidget();
            const QString name = now == nullptr ? QStringLiteral("none") : now->objectName();
            focus = name == "CMD_ALPHA" ? QString(QChar(u'a' + findIndex(on, now))) : name;
            if (QApplication::activePopupWidget() != nullptr ||
                main->menuBar()->activeAction() != nullptr) {
                focus = QStringLiteral("menus");
                QApplication::activePopupWidget()->close();
            }
        };
        if (window == "frmAbout") {
            whenModal([&](QWidget* about) {
                // The system-information message, if the keys bring it, is read and closed.
                const QPointer<QTimer> message =
                    whenModal([&](QWidget* box) { state = box->objectName(); }, about);
                play(*about);
                delete message.data();
                state = state == "vostrelMessage" ? QStringLiteral("message")
                        : about->isVisible()      ? QStringLiteral("open")
                                                  : QStringLiteral("closed");
                if (state == "closed") {
                    focus = "-";
                }
            });
            main->form().Click(Id::mnuHelpAbout);
        } else {
            play(*main);
            state = find<QLabel>(*main, "WORD_LABEL")->text() + u'/' +
                    find<QLabel>(*main, "RESULT_LABEL")->text();
        }
        QCOMPARE(focus, after);
        QCOMPARE(state, shows);
    }

    // However Qt itself would close the About window, its procedures close it, and the game
    // takes clicks again.
    void aboutClosedByQtAsByOK() {
        AppFolder folder("moon\n");
        const auto main = folder.load();
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        whenModal([](QWidget* about) { qobject_cast<QDialog*>(about)->reject(); });
        main->form().Click(Id::mnuHelpAbout);
        QTest::mouseClick(find(*main, "CMD_ALPHA", 25), Qt::LeftButton);
        QCOMPARE(find<QLabel>(*main, "RESULT_LABEL")->text(), "LEFT 9");
    }

    // A held key, as X sends it: a release and a press at one moment for every repeat, which
    // Qt does not always mark as one. It presses once.
    void heldKeyPressesOnce() {
        AppFolder folder("moon\n");
        const auto main = folder.load();
        QWidget* letter = find(*main, "CMD_ALPHA", 11);  // l, a miss
        main->form().PointerDown(vostrel::forms::ControlRef{Id::CMD_ALPHA, 11});
        for (const auto& [type, time] : {std::pair{QEvent::KeyPress, 1},
                                         {QEvent::KeyRelease, 2},
                                         {QEvent::KeyPress, 2},
                                         {QEvent::KeyRelease, 3}}) {
            QKeyEvent key(type, Qt::Key_Return, Qt::NoModifier);
            key.setTimestamp(time);
            QApplication::sendEvent(letter, &key);
        }
        QCOMPARE(find<QLabel>(*main, "RESULT_LABEL")->text(), "LEFT 9");
    }

    // The focus is seen on a button given it by the pointer, and on the picture given it by
    // the keyboard; the frame's Close waits while About is open, which gives the focus back.
    void focusSeenAndGivenBack() {
        AppFolder folder("lz\n");
        const auto main = folder.load();
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        QWidget* picture = find(*main, "HUNG_PICT");
        const QImage unfocused = picture->grab().toImage();
        pressKey("Shift+Tab");
        QCOMPARE(QApplication::focusWidget(), picture);
        QVERIFY(picture->grab().toImage() != unfocused);
        QWidget* y = find(*main, "CMD_ALPHA", 24);
        const QImage plain = y->grab().toImage();
        QTest::mouseClick(y, Qt::LeftButton);  // a miss: the focus stays on it
        QCOMPARE(QApplication::focusWidget(), y);
        QVERIFY(y->grab().toImage() != plain);
        bool stayed = false;
        whenModal([&](QWidget* about) {
            main->close();
            stayed = main->isVisible();
            about->close();
        });
        main->form().Click(Id::mnuHelpAbout);
        QVERIFY(stayed);
        QCOMPARE(main->focusWidget(), y);
        main->close();
        QVERIFY(!main->isVisible());
    }

    // Bitmaps are shown at their size; one whose header claims more than 2,048 pixels a side is
    // not decoded, and an empty one stands in, as it does for a picture of another format.
    void pictures_data() {
        QTest::addColumn<QByteArray>("format");  // what 0.bmp is written as
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("shown");
        row("BMP", QByteArray("BMP"), QSize(150, 120), QSize(150, 120));
        row("PNG named .bmp", QByteArray("PNG"), QSize(90, 90), QSize(200, 200));
        row("wider than allowed", QByteArray("BMP"), QSize(2049, 2), QSize(200, 200));
        row("taller than allowed", QByteArray("BMP"), QSize(1, 2049), QSize(200, 200));
        row("the largest allowed", QByteArray("BMP"), QSize(2048, 2048), QSize(2048, 2048));
        row("stored top row first", QByteArray("top-down"), QSize(90, 60), QSize(90, 60));
    }

    void pictures() {
        QFETCH(QByteArray, format);
        QFETCH(QSize, size);
        QFETCH(QSize, shown);
        AppFolder folder;
        // Two colours a pixel: small enough as a bitmap at the largest size allowed.
        QImage image(size, QImage::Format_Mono);
        image.setColorTable({QColor(Qt::red).rgb(), QColor(Qt::white).rgb()});
        image.fill(0);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(image.save(&buffer, format == "top-down" ? "BMP" : format.constData()));
        if (format == "top-down") {
            // The same rows, the top one first, as a negative height says.
            // Byte by byte: GCC's bounds check cannot see that the saved file has a header.
            const auto le32 = [&bytes](int at) {
                return qint32(quint32(quint8(bytes.at(at))) |
                              quint32(quint8(bytes.at(at + 1))) << 8 |
                              quint32(quint8(bytes.at(at + 2))) << 16 |
                              quint32(quint8(bytes.at(at + 3))) << 24);
            };
            const qint32 height = -le32(22);
            const int offset = le32(10);
            const int stride = int((bytes.size() - offset) / size.height());
            QByteArray rows;
            for (int y = size.height() - 1; y >= 0; --y) {
                rows += bytes.mid(offset + y * stride, stride);
            }
            bytes = bytes.left(offset) + rows;
            qToLittleEndian<qint32>(height, bytes.data() + 22);
        }
        QFile file(folder.filePath(QStringLiteral("0.bmp")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        const auto window = folder.load();
        const auto* area = find<QLabel>(*window, "HUNG_PICT");
        QCOMPARE(area->pixmap().size(), shown);
        QCOMPARE(area->size(), shown + QSize(2, 2));
        QCOMPARE(area->pixmap().toImage().pixelColor(0, 0),
                 shown == size ? QColor(Qt::red) : area->palette().color(QPalette::Base));
    }

private:
    // Checks the controls of `window` against the design table: places at 96 dpi as their sizing
    // keeps them, captions as a player reads them, and fonts.
    static void checkControls(const QWidget& window, const std::string& name) {
        for (const acceptance::Row& entry :
             acceptance::read(VOSTREL_ACCEPTANCE_DIR "/design.tsv")) {
            if (entry.at("window") != name) {
                continue;
            }
            const int index = entry.at("index") == "-" ? -1 : std::stoi(entry.at("index"));
            QWidget* widget = find(window, entry.at("control").c_str(), index);
            const QByteArray what = QByteArray::fromStdString(entry.at("control")) +
                                    (index >= 0 ? QByteArray::number(index) : QByteArray());
            QVERIFY2(widget != nullptr, what);
            const QRect px(
                acceptance::pixels(entry.at("left")), acceptance::pixels(entry.at("top")),
                acceptance::pixels(entry.at("width")), acceptance::pixels(entry.at("height")));
            const std::string& sizing = entry.at("sizing");
            QVERIFY2(widget->y() == px.y(), what);
            if (sizing == "fixed") {
                QVERIFY2(widget->geometry() == px, what);
            } else if (sizing == "centre") {
                // Short enough here to stay around the designed centre.
                QVERIFY2(
                    std::abs(2 * widget->x() + widget->width() - (2 * px.x() + px.width())) <= 1,
                    what);
            } else {
                QVERIFY2(widget->x() == px.x(), what);
            }
            const std::string& caption = entry.at("caption");
            if (qobject_cast<const QPushButton*>(widget) != nullptr) {
                // What a player reads: an ampersand marks an access key only where it should.
                QString shown = QString::fromStdString(caption);
                if (shown != "Reset & Start") {
                    shown.remove(u'&');
                }
                QVERIFY2(
                    QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name) == shown,
                    what);
            } else if (sizing == "fixed" && caption != "-") {
                QVERIFY2(qobject_cast<const QLabel*>(widget)->text().toStdString() == caption,
                         what);
            }
            const QFont font = widget->font();
            const std::string& designed = entry.at("font");
            if (designed == "-") {
                QVERIFY2(font == QApplication::font(widget), what);
            } else {
                // "ＭＳ ゴシック 18 bold": the face asked for first, its size and weight.
                const QStringList parts = QString::fromStdString(designed).split(u' ');
                QVERIFY2(font.families().value(0) == parts.mid(0, parts.size() - 2).join(u' '),
                         what);
                QVERIFY2(font.pointSize() == parts.value(parts.size() - 2).toInt(), what);
                QVERIFY2(font.bold(), what);
            }
        }
    }

    // The focus as Tab walks it from the first control back to it, letters by their letter.
    static std::string tabWalk() {
        QWidget* first = QApplication::focusWidget();
        std::string order;
        QWidget* now = first;
        do {
            const QString name = now->objectName();
            order +=
                (order.empty() ? "" : " ") +
                (name == "CMD_ALPHA" ? std::string(1, char('a' + findIndex(*now->window(), now)))
                                     : name.toStdString());
            pressKey("Tab");
            now = QApplication::focusWidget();
        } while (now != first && order.size() < 400);
        return order;
    }

    static int findIndex(const QWidget& window, const QWidget* letter) {
        return int(window.findChildren<QWidget*>(QStringLiteral("CMD_ALPHA")).indexOf(letter));
    }

    // A key by its name in the keys table, pressed on the widget with the focus; Key* held down.
    static void pressKey(QString name) {
        Qt::KeyboardModifiers held;
        for (const auto& [prefix, modifier] :
             {std::pair{"Shift+", Qt::ShiftModifier}, std::pair{"Ctrl+", Qt::ControlModifier},
              std::pair{"Alt+", Qt::AltModifier}}) {
            if (name.startsWith(prefix)) {
                held |= modifier;
                name = name.mid(int(std::strlen(prefix)));
            }
        }
        const bool repeated = name.endsWith(u'*');
        name.remove(u'*');
        static const QMap<QString, Qt::Key> keys{
            {"Tab", Qt::Key_Tab},     {"Enter", Qt::Key_Return}, {"Escape", Qt::Key_Escape},
            {"Space", Qt::Key_Space}, {"Left", Qt::Key_Left},    {"Right", Qt::Key_Right},
            {"Up", Qt::Key_Up},       {"Down", Qt::Key_Down},    {"F10", Qt::Key_F10},
            {"Home", Qt::Key_Home}};
        Qt::Key key = keys.value(name, Qt::Key(Qt::Key_A + (name.front().unicode() - u'a')));
        if (key == Qt::Key_Tab && held.testFlag(Qt::ShiftModifier)) {
            key = Qt::Key_Backtab;
        }
        QWidget* target = QApplication::focusWidget();
        if (!repeated) {
            QTest::keyClick(target, key, held);
            return;
        }
        // Held down: the system sends the key again, marked as a repeat.
        QTest::keyPress(target, key, held);
        QKeyEvent again(QEvent::KeyPress, key, held, QString(), true);
        QApplication::sendEvent(QApplication::focusWidget(), &again);
        QTest::keyRelease(QApplication::focusWidget(), key, held);
        QCoreApplication::processEvents();
    }
};

QTEST_MAIN(TestQtFace)
#include "tst_qtface.moc"
