// The end-to-end tests' eyes and hands inside the real program. Qt loads it as a style
// (QT_PLUGIN_PATH and QT_STYLE_OVERRIDE, set only by the tests), so the program file carries
// nothing for testing. It reports on stdout, one line each, what a player would see: every
// message box (answered with OK), the start of a game and its end, played to the end with the
// letter buttons; then it opens and closes the About window and presses Exit.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>
#include <QStylePlugin>
#include <QTimer>
#include <cstdio>

namespace {

void report(const QString& line) {
    // The test sees a lost line as a failure; nothing else can be done about one here.
    (void)std::fputs(qPrintable(line + u'\n'), stdout);
    (void)std::fflush(stdout);
}

class Probe : public QObject {
public:
    explicit Probe(QObject* parent) : QObject(parent) {
        connect(&timer_, &QTimer::timeout, this, &Probe::tick);
        timer_.start(5);
    }

private:
    void tick() {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                report(QStringLiteral("message ") + box->text());
                box->button(QMessageBox::Ok)->click();
            } else {
                report(QStringLiteral("dialog ") + modal->objectName());
                modal->close();
            }
            return;
        }
        QWidget* window = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QLatin1String("frmMain") && w->isVisible()) {
                window = w;
            }
        }
        if (window == nullptr || done_) {
            return;
        }
        const auto* word = window->findChild<QLabel*>(QStringLiteral("WORD_LABEL"));
        const QString result = window->findChild<QLabel*>(QStringLiteral("RESULT_LABEL"))->text();
        if (!playing_) {
            playing_ = true;
            const auto* picture = window->findChild<QLabel*>(QStringLiteral("HUNG_PICT"));
            const QImage image = picture->pixmap().toImage();
            QImage uniform(image.size(), image.format());
            uniform.fill(image.isNull() ? 0 : image.pixel(0, 0));
            const bool blank = image == uniform;
            report(QStringLiteral("game %1 picture %2x%3 %4")
                       .arg(word->text().size())
                       .arg(picture->width())
                       .arg(picture->height())
                       .arg(blank ? "blank" : "drawn"));
        } else if (result.startsWith(QLatin1String("You"))) {
            report(result);
            done_ = true;
            // Later, so this tick ends before the About window's own event loop starts.
            QTimer::singleShot(0, window, [window] {
                window->findChild<QAction*>(QStringLiteral("mnuHelpAbout"))->trigger();
                window->findChild<QPushButton*>(QStringLiteral("cmdExit"))->click();
            });
            return;
        }
        // The next enabled letter, round and round: a missed letter stays enabled and counts
        // again, so every game ends.
        const QList<QPushButton*> letters =
            window->findChildren<QPushButton*>(QStringLiteral("CMD_ALPHA"));
        for (qsizetype tried = 0; tried < letters.size(); ++tried) {
            QPushButton* letter = letters[(next_ + tried) % letters.size()];
            if (letter->isEnabled()) {
                next_ = (next_ + tried + 1) % letters.size();
                letter->click();
                return;
            }
        }
        report(QStringLiteral("stuck"));
        done_ = true;
    }

    QTimer timer_;
    bool playing_ = false;
    bool done_ = false;
    qsizetype next_ = 0;
};

}  // namespace

class ProbePlugin : public QStylePlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QStyleFactoryInterface_iid FILE "probe.json")

public:
    QStyle* create(const QString& key) override {
        if (key.compare(QLatin1String("vostrelprobe"), Qt::CaseInsensitive) != 0) {
            return nullptr;
        }
        new Probe(QCoreApplication::instance());
        return new QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    }
};

#include "probe.moc"
