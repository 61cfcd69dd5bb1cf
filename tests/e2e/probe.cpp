// The end-to-end tests' eyes and hands inside the real program. Qt loads it as a style
// (QT_PLUGIN_PATH and QT_STYLE_OVERRIDE, set only by the tests), so the program file carries
// nothing for testing. It reports on stdout, one line each, what a player would see, answers every
// message box with OK, closes the About box, and plays: a game to its end, Reset & Start, a
// second game, the About box, then Exit.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
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

bool allWhite(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    QImage white(image.size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    return image == white;
}

class Probe : public QObject {
public:
    explicit Probe(QObject* parent) : QObject(parent) {
        connect(&timer_, &QTimer::timeout, this, &Probe::tick);
        timer_.start(5);
    }

private:
    enum class Step { FirstGame, Reset, SecondGame, About, Exit, Done };

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
        if (window == nullptr) {
            return;
        }
        switch (step_) {
            case Step::FirstGame:
            case Step::SecondGame:
                play(*window);
                break;
            case Step::Reset:
                report(QStringLiteral("reset"));
                window->findChild<QPushButton*>(QStringLiteral("CMD_RESET"))->click();
                step_ = Step::SecondGame;
                break;
            case Step::About:
                report(QStringLiteral("about"));
                step_ = Step::Exit;
                // Later, so this tick ends before the About box's own event loop starts.
                QTimer::singleShot(0, window, [window] {
                    window->findChild<QAction*>(QStringLiteral("mnuHelpAbout"))->trigger();
                });
                break;
            case Step::Exit:
                report(QStringLiteral("exit"));
                step_ = Step::Done;
                window->findChild<QPushButton*>(QStringLiteral("cmdExit"))->click();
                break;
            case Step::Done:
                break;
        }
    }

    void play(QWidget& window) {
        const auto* word = window.findChild<QLabel*>(QStringLiteral("WORD_LABEL"));
        const auto* result = window.findChild<QLabel*>(QStringLiteral("RESULT_LABEL"));
        if (!playing_) {
            playing_ = true;
            next_ = 0;
            const auto* picture = window.findChild<QLabel*>(QStringLiteral("HUNG_PICT"));
            report(QStringLiteral("game %1 picture %2x%3 %4")
                       .arg(word->text().size())
                       .arg(picture->width())
                       .arg(picture->height())
                       .arg(allWhite(picture->pixmap()) ? "blank" : "drawn"));
        }
        if (result->text() == QLatin1String("You've got it !") ||
            result->text() == QLatin1String("You are hunged !")) {
            const bool won = result->text() == QLatin1String("You've got it !");
            report(QStringLiteral("%1 %2").arg(won ? "won" : "lost", labelsInside(window)));
            playing_ = false;
            step_ = step_ == Step::FirstGame ? Step::Reset : Step::About;
            return;
        }
        // The next enabled letter, round and round: a missed letter stays enabled and counts
        // again, so every game ends.
        QList<QPushButton*> letters =
            window.findChildren<QPushButton*>(QStringLiteral("CMD_ALPHA"));
        std::sort(letters.begin(), letters.end(), [](QPushButton* a, QPushButton* b) {
            return a->property("Index").toInt() < b->property("Index").toInt();
        });
        for (qsizetype tried = 0; tried < letters.size(); ++tried) {
            QPushButton* letter = letters[(next_ + tried) % letters.size()];
            if (letter->isEnabled()) {
                next_ = (next_ + tried + 1) % letters.size();
                letter->click();
                return;
            }
        }
        report(QStringLiteral("stuck"));
        step_ = Step::Done;
    }

    static QString labelsInside(const QWidget& window) {
        const QRect client = window.findChild<QWidget*>(QStringLiteral("client"))->rect();
        for (const char* name : {"WORD_LABEL", "ANSWER_LABEL", "RESULT_LABEL"}) {
            const auto* label = window.findChild<QLabel*>(QLatin1String(name));
            if (label->x() < 0 || label->geometry().right() > client.right()) {
                return QStringLiteral("outside:") + QLatin1String(name);
            }
        }
        return QStringLiteral("inside");
    }

    QTimer timer_;
    Step step_ = Step::FirstGame;
    bool playing_ = false;
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
