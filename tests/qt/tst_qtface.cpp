#include <QAccessible>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QtMath>
#include <QtTest>

#include "AppInfo.h"
#include "AppStyle.h"
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

QWidget* widgetOf(const QWidget& window, const forms::Control& control) {
    return find(window, control.name, control.index);
}

// Acts on the next modal window once it is open (above `over`, if given), then closes it if the
// act did not: modal windows in tests never wait for a player.
void whenModal(const std::function<void(QWidget*)>& act, const QWidget* over = nullptr) {
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

    // First, before anything else in this process decodes an icon or a picture: starting on the
    // shipped data loads no image-format plugin (each costs start-up time).
    void startingLoadsNoImagePlugin() {
        const vostrel::Services system = vostrel::systemServices();
        vostrel::qt::MainFace window(system, VOSTREL_DATA_DIR);
        QVERIFY(window.load());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage picture = find<QLabel>(window, "HUNG_PICT")->pixmap().toImage();
        QCOMPARE(picture.size(), QSize(200, 200));
        QFile maps(QStringLiteral("/proc/self/maps"));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        QVERIFY(!maps.readAll().contains("/imageformats/"));
    }

    // Both windows put every designed control at its place at 96 dpi, with its caption, frame
    // and focus, and chain the focus in the order of the tab indices.
    void windowsFollowTheDefinitions() {
        AppFolder folder;
        const auto main = folder.load();
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        QCOMPARE(main->centralWidget()->size(), QSize(532, 323));
        QCOMPARE(main->windowTitle(), "Vostrel");
        QCOMPARE(QApplication::focusWidget(), find(*main, "cmdExit"));
        QWidget* about = nullptr;
        whenModal([&](QWidget* modal) {
            about = modal;
            QCOMPARE(modal->geometry(), QRect(156, 129, 288, 116));
            QTRY_COMPARE(QApplication::focusWidget(), find(*modal, "cmdOK"));
            checkControls(*modal, forms::aboutForm());
            modal->close();
        });
        main->form().Click(Id::mnuHelpAbout);
        QVERIFY(about != nullptr && !(about->windowFlags() & Qt::WindowMinMaxButtonsHint));
        checkControls(*main, forms::mainForm());
        QStringList menus;
        for (QAction* top : main->menuBar()->actions()) {
            menus << top->text() + ":" + top->menu()->actions().value(0)->text();
        }
        QCOMPARE(menus, QStringList({"File(&F):Exit(X)", "Help(&H):About(&A)"}));
        main->resize(100, 100);
        QCOMPARE(main->centralWidget()->size(), QSize(532, 323));  // never smaller than designed
    }

    // The keyboard as a player meets it in the Qt window: Tab walks the whole tab order round,
    // with a visible cue on the picture; Space and Enter press the focused letter, a found letter
    // hands the focus on and a won game leaves it on Reset & Start; the frame's Close waits while
    // About is open, which gives the focus back as it closes.
    void keyboardPlay() {
        AppFolder folder("lz\n");
        const auto main = folder.load();
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        const auto focused = [] { return QApplication::focusWidget(); };
        QImage pictureWithFocus;
        for (const forms::ControlRef ref : forms::tabChain(forms::mainForm())) {
            const char* name = forms::control(forms::mainForm(), ref).name;
            QCOMPARE(focused(), find(*main, name, ref.index));
            if (ref.id == Id::HUNG_PICT) {
                pictureWithFocus = focused()->grab().toImage();
            }
            QTest::keyClick(focused(), Qt::Key_Tab);
        }
        QVERIFY(pictureWithFocus != find(*main, "HUNG_PICT")->grab().toImage());
        QCOMPARE(focused(), find(*main, "cmdExit"));
        QTest::keyClick(focused(), Qt::Key_Tab);
        QTest::keyClick(focused(), Qt::Key_Space);  // l, found
        QCOMPARE(focused(), find(*main, "CMD_ALPHA", 25));
        QTest::keyClick(focused(), Qt::Key_Return);  // z: the word is whole
        QCOMPARE(find<QLabel>(*main, "RESULT_LABEL")->text(), "You've got it !");
        QCOMPARE(focused(), find(*main, "CMD_RESET"));
        bool stayed = false;
        whenModal([&](QWidget* about) {
            main->close();
            stayed = main->isVisible();
            about->close();
        });
        main->form().Click(Id::mnuHelpAbout);
        QVERIFY(stayed);
        QCOMPARE(main->focusWidget(), find(*main, "CMD_RESET"));
        main->close();
        QVERIFY(!main->isVisible());
    }

    // Pictures in any readable format are shown at their size; one whose header claims more
    // than 2,048 pixels a side is not decoded, and an empty one stands in.
    void pictures_data() {
        QTest::addColumn<QByteArray>("format");  // what 0.bmp is written as
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("shown");
        row("BMP", QByteArray("BMP"), QSize(150, 120), QSize(150, 120));
        row("PNG named .bmp", QByteArray("PNG"), QSize(90, 90), QSize(90, 90));
        row("wider than allowed", QByteArray("BMP"), QSize(2049, 2), QSize(200, 200));
        row("taller than allowed", QByteArray("PNG"), QSize(1, 2049), QSize(200, 200));
        row("the largest allowed", QByteArray("PNG"), QSize(2048, 2048), QSize(2048, 2048));
    }

    void pictures() {
        QFETCH(QByteArray, format);
        QFETCH(QSize, size);
        QFETCH(QSize, shown);
        AppFolder folder;
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(folder.filePath(QStringLiteral("0.bmp")), format.constData()));
        const auto window = folder.load();
        const auto* area = find<QLabel>(*window, "HUNG_PICT");
        QCOMPARE(area->pixmap().size(), shown);
        QCOMPARE(area->size(), shown + QSize(2, 2));
        QCOMPARE(area->pixmap().toImage().pixelColor(0, 0),
                 shown == size ? QColor(Qt::red) : area->palette().color(QPalette::Base));
    }

    // The About window's keys reach its procedures: Enter and Esc close it; its system-information
    // button's access key says the tool cannot be used (no registry here) in a message owned by
    // and centred on the About window, which stays open.
    void aboutKeys_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("closes");
        row("Enter", "Return", true);
        row("Esc", "Escape", true);
        row("Alt+S", "Alt+S", false);
    }

    void aboutKeys() {
        QFETCH(QString, action);
        QFETCH(bool, closes);
        AppFolder folder;
        const auto main = folder.load();
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        bool stillOpen = false;
        QString message;
        bool messageOnAbout = false;
        whenModal([&](QWidget* about) {
            if (action == "Alt+S") {
                whenModal(
                    [&](QWidget* box) {
                        message = qobject_cast<QMessageBox*>(box)->text();
                        messageOnAbout = box->parentWidget() == about &&
                                         about->geometry().contains(box->geometry().center());
                    },
                    about);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
                // An access key presses its button a moment later, as a mouse click would.
                QTRY_VERIFY(!message.isEmpty());
            } else {
                QTest::keyClick(QApplication::focusWidget(),
                                QKeySequence::fromString(action)[0].key());
            }
            stillOpen = about->isVisible();
            about->close();
        });
        main->form().Click(Id::mnuHelpAbout);
        QCOMPARE(stillOpen, !closes);
        if (action == "Alt+S") {
            QCOMPARE(message, QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"));
            QVERIFY(messageOnAbout);
        }
    }

    // Screen readers find the game's state in the controls' names, and hear each guess from a
    // notification of the window that is neither a widget nor drawn.
    void screenReadersAreTold() {
        AppFolder folder;
        const auto window = folder.load();
        const QList<QWidget*> before = window->findChildren<QWidget*>();
        for (const int index : {25, 0, 15}) {  // z, a, p
            QTest::mouseClick(find(*window, "CMD_ALPHA", index), Qt::LeftButton);
        }
        QCOMPARE(window->findChildren<QWidget*>(), before);
        QAccessibleInterface* note = QAccessible::queryAccessibleInterface(
            window->findChild<QObject*>(QStringLiteral("vostrelAnnouncement")));
        QVERIFY(note != nullptr);
        QCOMPARE(note->role(), QAccessible::Notification);
        QCOMPARE(note->text(QAccessible::Name), "p found. Word: a, p, p, blank, blank");
        QStringList names;
        for (const char* name : {"WORD_LABEL", "RESULT_LABEL", "HUNG_PICT", "ANSWER_LABEL"}) {
            names << QAccessible::queryAccessibleInterface(find(*window, name))
                         ->text(QAccessible::Name);
        }
        QCOMPARE(names, QStringList({"Word: a, p, p, blank, blank", "9 tries left",
                                     "Gallows: 1 of 10 misses", "Answer hidden"}));
    }

    // Every edge of every frame is drawn, whatever the scale factor (ctest runs this at 1.25 and
    // 1.5 as well): at the outermost screen pixels of each side, the frame's colour.
    void framesDrawnWhole() {
        AppFolder folder;
        const auto window = folder.load();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QImage whole = window->grab().toImage();
        const qreal scale = whole.devicePixelRatio();
        for (const forms::Control& control : forms::mainForm().controls) {
            if (control.border == forms::Border::None) {
                continue;
            }
            const QWidget* widget = widgetOf(*window, control);
            const QRectF area(QPointF(widget->mapTo(window.get(), QPoint(0, 0))) * scale,
                              QSizeF(widget->size()) * scale);
            // The first and last rows and columns of screen pixels the widget covers.
            const int top = qFloor(area.top() + 0.5);
            const int bottom = qFloor(area.bottom() + 0.5) - 1;
            const int left = qFloor(area.left() + 0.5);
            const int right = qFloor(area.right() + 0.5) - 1;
            const bool flat = control.border == forms::Border::Flat;
            const QColor shadow = flat ? widget->palette().color(QPalette::WindowText)
                                       : widget->palette().dark().color();
            const QColor light = flat ? shadow : widget->palette().light().color();
            const auto is = [&](int x, int y, const QColor& colour) {
                return whole.pixel(x, y) == colour.rgb();
            };
            for (int i = 4; i < 12; ++i) {
                const QString where =
                    QStringLiteral("%1, %2 pixels along, ").arg(control.name).arg(i);
                QVERIFY2(is(left + i, top, shadow), qPrintable(where + "top"));
                QVERIFY2(is(left, top + i, shadow), qPrintable(where + "left"));
                QVERIFY2(is(left + i, bottom, light), qPrintable(where + "bottom"));
                QVERIFY2(is(right, top + i, light), qPrintable(where + "right"));
            }
        }
    }

private:
    static void checkControls(const QWidget& window, const forms::Form& form) {
        for (const forms::Control& control : form.controls) {
            QWidget* widget = widgetOf(window, control);
            QVERIFY2(widget != nullptr, control.name);
            const forms::Rect px = forms::pixelRect(control.rect, forms::kDesignDpi);
            // Labels that fit their caption keep only their top, or their left edge as well.
            QCOMPARE(widget->y(), px.top);
            if (control.sizing != forms::Sizing::AroundCentre) {
                QCOMPARE(widget->x(), px.left);
            }
            if (control.sizing == forms::Sizing::Fixed) {
                QCOMPARE(widget->size(), QSize(px.width, px.height));
            }
            if (control.sizing == forms::Sizing::AroundCentre) {
                // Measured in its own font, frame included; bold, and every letter and every "?"
                // as wide as the next where the face is of fixed pitch.
                const auto* label = qobject_cast<const QLabel*>(widget);
                const QFontMetrics metrics(label->font());
                const QMargins frame = label->contentsMargins();
                QCOMPARE(label->width(),
                         metrics.horizontalAdvance(label->text()) + frame.left() + frame.right());
                QVERIFY(QFontInfo(label->font()).bold());
                QCOMPARE(metrics.horizontalAdvance(u'W'), metrics.horizontalAdvance(u'?'));
            }
            if (control.kind == forms::Kind::Button) {
                // What a player reads: an ampersand marks an access key only where it should.
                QString shown = QString::fromUtf8(control.caption);
                shown.remove(control.accessKeys ? QStringLiteral("&") : QString());
                QCOMPARE(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name),
                         shown);
            }
        }
    }
};

QTEST_MAIN(TestQtFace)
#include "tst_qtface.moc"
