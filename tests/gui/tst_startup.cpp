#include <QMenuBar>
#include <QProxyStyle>
#include <QToolButton>

#include "AppStyle.h"
#include "GuiTestSupport.h"

// What the program does before its window first appears: the style layer it installs, and the
// work that layer and the picture reader keep out of the start.

namespace {

// The image-format plugins mapped into this process; Linux shows them in /proc.
QStringList loadedImagePlugins() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList plugins;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        if (line.contains("/imageformats/")) {
            const QString path = QString::fromLocal8Bit(line.mid(line.indexOf('/')));
            if (!plugins.contains(path)) {
                plugins << path;
            }
        }
    }
    return plugins;
}

QStyle* chosenStyle() {
    const auto* layer = qobject_cast<QProxyStyle*>(QApplication::style());
    return layer != nullptr ? layer->baseStyle() : nullptr;
}

}  // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        useAppTitle();
        QStyle* chosen = QApplication::style();
        vostrel::installAppStyle();
        // The layer keeps the style Qt chose rather than making a default one of its own.
        QCOMPARE(chosenStyle(), chosen);
    }

    // First, before anything else in this process decodes an icon or a picture.
    void startingLoadsNoImagePlugin() {
        if (!QFile::exists(QStringLiteral("/proc/self/maps"))) {
            QSKIP("needs /proc to see the loaded libraries");
        }
        frmMain window(VOSTREL_DATA_DIR, vostrel::systemFileSystem());
        QVERIFY(!window.isUnloaded());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The shipped picture was read, not replaced by the empty one.
        const QImage picture = label(window, "HUNG_PICT")->pixmap().toImage();
        QCOMPARE(picture.size(), QSize(200, 200));
        QVERIFY(picture.pixelColor(100, 100) != picture.pixelColor(0, 0) ||
                picture.pixelColor(100, 20) != picture.pixelColor(0, 0));
        QCOMPARE(loadedImagePlugins(), QStringList());
    }

    void overflowIconIsTheStylesOwn_data() {
        QTest::addColumn<QStyle::StandardPixmap>("which");
        QTest::addColumn<QIcon::Mode>("mode");
        QTest::addColumn<QIcon::State>("state");
        QTest::addColumn<int>("side");
        const auto across = QStyle::SP_ToolBarHorizontalExtensionButton;
        const auto down = QStyle::SP_ToolBarVerticalExtensionButton;
        QTest::newRow("across") << across << QIcon::Normal << QIcon::Off << 16;
        QTest::newRow("across, disabled") << across << QIcon::Disabled << QIcon::Off << 16;
        QTest::newRow("across, active, on, large") << across << QIcon::Active << QIcon::On << 32;
        QTest::newRow("down") << down << QIcon::Normal << QIcon::Off << 24;
        QTest::newRow("down, selected") << down << QIcon::Selected << QIcon::Off << 16;
    }

    void overflowIconIsTheStylesOwn() {
        QFETCH(QStyle::StandardPixmap, which);
        QFETCH(QIcon::Mode, mode);
        QFETCH(QIcon::State, state);
        QFETCH(int, side);
        const QIcon deferred = QApplication::style()->standardIcon(which);
        const QIcon own = chosenStyle()->standardIcon(which);
        const QSize size(side, side);
        QVERIFY(!deferred.isNull());
        QCOMPARE(deferred.actualSize(size, mode, state), own.actualSize(size, mode, state));
        QCOMPARE(deferred.availableSizes(mode, state), own.availableSizes(mode, state));
        QCOMPARE(deferred.pixmap(size, mode, state).toImage(),
                 own.pixmap(size, mode, state).toImage());
        // A copy made before the first drawing draws the same.
        QIcon copy = QApplication::style()->standardIcon(which);
        copy.detach();
        QCOMPARE(copy.pixmap(size, mode, state).toImage(), own.pixmap(size, mode, state).toImage());
    }

    // A window too narrow for its menus shows the overflow button, with the style's icon.
    void narrowWindowShowsTheOverflowIcon() {
        AppFolder folder("apple\n");
        const auto window = folder.load();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->resize(40, window->height());
        QToolButton* overflow = nullptr;
        QTRY_VERIFY((overflow = visibleOverflowButton(*window)) != nullptr);
        const QSize size = overflow->iconSize();
        const QIcon own = chosenStyle()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
        QCOMPARE(overflow->icon().pixmap(size).toImage(), own.pixmap(size).toImage());
        QVERIFY(!overflow->grab().toImage().isNull());
    }

private:
    static QToolButton* visibleOverflowButton(const frmMain& window) {
        for (QToolButton* candidate : window.menuBar()->findChildren<QToolButton*>()) {
            if (candidate->isVisible()) {
                return candidate;
            }
        }
        return nullptr;
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
