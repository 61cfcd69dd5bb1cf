#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "Version.h"
#include "frmMain.h"
#include "platform/FileSystem.h"

// A throwaway application folder. Picture k is 150 + k pixels wide, so the size of the picture
// area tells which stage is on show.
class AppFolder {
public:
    explicit AppFolder(const QByteArray& words) {
        setWords(words);
        for (int stage = 0; stage <= 10; ++stage) {
            QImage image(150 + stage, 150, QImage::Format_RGB32);
            image.fill(Qt::white);
            image.save(dir_.filePath(QStringLiteral("%1.bmp").arg(stage)), "BMP");
        }
    }

    void setWords(const QByteArray& words) {
        QFile file(dir_.filePath(QStringLiteral("h_dat.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(words);
    }

    void remove(const QString& name) { QVERIFY(QFile::remove(dir_.filePath(name))); }
    [[nodiscard]] QString path() const { return dir_.path(); }
    [[nodiscard]] QString filePath(const QString& name) const { return dir_.filePath(name); }

    [[nodiscard]] std::unique_ptr<frmMain> load() const {
        return std::make_unique<frmMain>(dir_.path().toStdString(), vostrel::systemFileSystem());
    }

private:
    QTemporaryDir dir_;
};

// Answers the next modal window that opens: records it, then lets `close` dismiss it. Modal
// windows in tests are always closed by the test, never left to hang. Given `over`, a modal
// window already open, it waits for the next one opened above that.
class ModalCloser : public QObject {
public:
    using Closer = std::function<void(QWidget*)>;

    explicit ModalCloser(Closer close = pressOk, const QWidget* over = nullptr)
        : close_(std::move(close)) {
        connect(&timer_, &QTimer::timeout, this, [this, over] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || modal == over || !modal->isVisible()) {
                return;
            }
            timer_.stop();
            ++seen;
            title = modal->windowTitle();
            className = QString::fromLatin1(modal->metaObject()->className());
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                text = box->text();
                noIcon = box->icon() == QMessageBox::NoIcon;
                buttons = box->buttons().size();
            }
            close_(modal);
        });
        timer_.start(10);
    }

    static void pressOk(QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            box->button(QMessageBox::Ok)->click();
        } else {
            modal->close();
        }
    }

    int seen = 0;
    QString title;
    QString className;
    QString text;
    bool noIcon = false;
    qsizetype buttons = 0;

private:
    Closer close_;
    QTimer timer_;
};

inline QLabel* label(const QWidget& window, const char* name) {
    return window.findChild<QLabel*>(QLatin1String(name));
}

inline QPushButton* button(const QWidget& window, const char* name) {
    return window.findChild<QPushButton*>(QLatin1String(name));
}

// The letter buttons by index, as the window's button array holds them.
inline QList<QPushButton*> letterButtons(const QWidget& window) {
    QList<QPushButton*> buttons = window.findChildren<QPushButton*>(QStringLiteral("CMD_ALPHA"));
    std::sort(buttons.begin(), buttons.end(), [](QPushButton* a, QPushButton* b) {
        return a->property("Index").toInt() < b->property("Index").toInt();
    });
    return buttons;
}

inline QPushButton* letter(const QWidget& window, char c) {
    return letterButtons(window).value(c - 'a');
}

// The stage the picture area shows, read from the test pictures' widths.
inline int pictureStage(const QWidget& window) {
    const QLabel* picture = label(window, "HUNG_PICT");
    return picture->pixmap().width() - 150;
}

inline void useAppTitle() {
    QApplication::setApplicationName(QString::fromLatin1(vostrel::kAppTitle));
}
