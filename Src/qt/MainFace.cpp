#include "MainFace.h"

#include <QButtonGroup>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

#include "AboutFace.h"
#include "Pictures.h"
#include "QtText.h"
#include "ScreenReader.h"
#include "icons/vostrel16.xpm"

namespace vostrel::qt {

using forms::Id;

MainFace::MainFace(const vostrel::Services& system, std::string appFolder)
    : form_(*this, system, std::move(appFolder)) {
    const forms::Form& design = forms::mainForm();
    setObjectName(QLatin1String(design.name));
    setWindowTitle(vostrel::toQString(design.caption));
    setWindowIcon(QPixmap(vostrel16_xpm));
    createMenus();

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    controls_ = std::make_unique<vostrel::Controls>(design, client);
    // Controls keep their places; resizing the window only shows more or less of the ground.
    client->setMinimumSize(forms::pixels(design.minClientWidth, forms::kDesignDpi),
                           forms::pixels(design.minClientHeight, forms::kDesignDpi));
    resize(forms::pixels(design.clientWidth, forms::kDesignDpi),
           forms::pixels(design.clientHeight, forms::kDesignDpi) + menuBar()->sizeHint().height());

    auto* letters = new QButtonGroup(this);
    letters->setExclusive(false);
    for (const forms::Control& control : design.controls) {
        auto* button = qobject_cast<QPushButton*>(widget(control.id, control.index));
        if (control.id == Id::CMD_ALPHA) {
            letters->addButton(button, control.index);
        } else if (button != nullptr) {
            connect(button, &QPushButton::clicked, this,
                    [this, id = control.id] { form_.Click(id); });
        }
    }
    connect(letters, &QButtonGroup::idClicked, this,
            [this](int index) { form_.Click(Id::CMD_ALPHA, index); });
    takeInput(client);
}

MainFace::~MainFace() = default;

void MainFace::createMenus() {
    const auto menu = forms::mainForm().menu;
    std::vector<QMenu*> menus(menu.size(), nullptr);
    for (std::size_t i = 0; i < menu.size(); ++i) {
        const forms::MenuItem& item = menu[i];
        const QString caption = vostrel::mnemonicText(item.caption, true);
        if (item.parent < 0) {
            menus[i] = menuBar()->addMenu(caption);
            menus[i]->setObjectName(QLatin1String(item.name));
            continue;
        }
        QAction* action = menus[static_cast<std::size_t>(item.parent)]->addAction(caption);
        action->setObjectName(QLatin1String(item.name));
        connect(action, &QAction::triggered, this, [this, id = item.id] { form_.Click(id); });
    }
}

bool MainFace::load() {
    return form_.Load();
}

forms::KeyAction MainFace::keyDown(const forms::KeyPress& press) {
    return form_.KeyDown(press);
}

void MainFace::pointerDown(std::optional<forms::ControlRef> control) {
    form_.PointerDown(control);
}

// F10 opens the first menu, and Alt with a menu's access key that menu.
void MainFace::openMenus(const forms::KeyPress& press) {
    const QList<QAction*> menus = menuBar()->actions();
    const QString key = QStringLiteral("&") + QChar(char16_t(press.character));
    for (QAction* menu : menus) {
        if (press.key == forms::Key::F10 || menu->text().contains(key, Qt::CaseInsensitive)) {
            menuBar()->setActiveAction(menu);
            return;
        }
    }
}

void MainFace::closeRequested() {
    form_.Form_QueryUnload();
}

void MainFace::unload() {
    unloading_ = true;
    close();
}

void MainFace::setEnabled(Id control, int index, bool enabled) {
    widget(control, index)->setEnabled(enabled);
}

vostrel::PictureSize MainFace::showPicture(std::string_view bytes, int maxSide) {
    const QPixmap picture = vostrel::decodePicture(bytes, maxSide);
    if (picture.isNull()) {
        return {};
    }
    qobject_cast<QLabel*>(widget(Id::HUNG_PICT))->setPixmap(picture);
    return {picture.width(), picture.height()};
}

void MainFace::showBlankPicture(vostrel::PictureSize size) {
    auto* area = qobject_cast<QLabel*>(widget(Id::HUNG_PICT));
    QPixmap blank(size.width, size.height);
    blank.fill(area->palette().color(QPalette::Base));
    area->setPixmap(blank);
}

void MainFace::alert(Id control) {
    vostrel::alertScreenReader(widget(control));
}

void MainFace::announce(std::string_view utterance) {
    vostrel::announce(this, vostrel::toQString(utterance));
}

vostrel::AboutFace& MainFace::aboutFace(vostrel::frmAbout& form) {
    if (about_ == nullptr) {
        about_ = new AboutFace(form, this);
    }
    return *about_;
}

}  // namespace vostrel::qt
