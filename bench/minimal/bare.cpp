// A window with a label and 27 buttons and no menu bar: what start-up costs with Qt alone, for
// scale. It maps before Qt has loaded a font.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    auto* client = new QWidget(&window);
    window.setCentralWidget(client);
    window.resize(532, 343);
    auto* label = new QLabel(QStringLiteral("??????????"), client);
    label->setGeometry(310, 24, 137, 28);
    for (int i = 0; i < 27; ++i) {
        auto* button = new QPushButton(QString(QChar(u'a' + i % 26)), client);
        button->setGeometry(248 + 24 * (i % 11), 152 + 24 * (i / 11), 23, 23);
    }
    window.show();
    return QApplication::exec();
}
