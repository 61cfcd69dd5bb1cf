// The game's window with every control in place and nothing behind it: no word list, no
// pictures, no captions sized to fit, no screen-reader names. What start-up costs with Qt and the
// game's controls; the game is measured against it.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>

namespace {

QFont gothic() {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(18);
    font.setBold(true);
    return font;
}

QLabel* gameLabel(const QString& text, const QRect& place, bool framed, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    label->setFont(gothic());
    label->setAlignment(Qt::AlignCenter);
    if (framed) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(2);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, Qt::white);
        label->setPalette(palette);
        label->setAutoFillBackground(true);
    }
    return label;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Vostrel"));
    window.menuBar()->addMenu(QStringLiteral("File(&F)"))->addAction(QStringLiteral("Exit(X)"));
    window.menuBar()->addMenu(QStringLiteral("Help(&H)"))->addAction(QStringLiteral("About(&A)"));
    auto* client = new QWidget(&window);
    window.setCentralWidget(client);
    window.resize(532, 323 + window.menuBar()->sizeHint().height());

    auto* picture = new QLabel(client);
    picture->setGeometry(32, 16, 202, 202);
    picture->setFrameStyle(QFrame::Box | QFrame::Plain);
    picture->setBackgroundRole(QPalette::Base);
    picture->setAutoFillBackground(true);
    gameLabel(QStringLiteral("??????????"), {310, 24, 137, 28}, true, client);
    gameLabel(QStringLiteral("LEFT10"), {330, 64, 97, 28}, true, client);
    gameLabel(QString(), {376, 232, 15, 24}, false, client);
    auto* hint = new QLabel(QStringLiteral("Select any letter  below"), client);
    hint->setGeometry(280, 120, 209, 17);
    hint->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    // Three rows of letters: first letter, count, left edge and top in pixels.
    const int rows[3][4] = {{0, 11, 248, 152}, {11, 9, 272, 176}, {20, 6, 312, 200}};
    for (const auto& row : rows) {
        for (int column = 0; column < row[1]; ++column) {
            auto* letter = new QPushButton(QString(QChar(u'a' + row[0] + column)), client);
            letter->setGeometry(row[2] + 24 * column, row[3], 23, 23);
        }
    }
    (new QPushButton(QStringLiteral("Reset && Start"), client))->setGeometry(32, 232, 201, 25);
    (new QPushButton(QStringLiteral("Exit"), client))->setGeometry(384, 288, 137, 25);

    window.show();
    return QApplication::exec();
}
