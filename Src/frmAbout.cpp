#include "frmAbout.h"

#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "Fonts.h"
#include "MessageBox.h"
#include "Twips.h"
#include "Version.h"
#include "core/SysInfo.h"
#include "icons/vostrel32.xpm"
#include "platform/FileSystem.h"
#include "platform/ProgramStart.h"
#include "platform/Registry.h"
#include "platform/Text.h"

using vostrel::px;
using vostrel::twipsRect;

namespace {

// The window always opens at the same place on the screen, measured to its client area.
constexpr QRect kClientArea = twipsRect(2340, 1935, 4320, 1740);

}  // namespace

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmAbout"));
    // A set but empty icon, so the window does not borrow the main window's.
    setWindowIcon(QIcon());
    setFixedSize(kClientArea.size());
    createControls();
}

void frmAbout::createControls() {
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(twipsRect(1080, 1200, 1380, 345));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picIcon->setLineWidth(2);
    picIcon->setFocusPolicy(Qt::StrongFocus);
    const QPixmap icon(vostrel32_xpm);
    picIcon->setPixmap(icon);
    const int frame = 2 * picIcon->frameWidth();
    picIcon->setGeometry(px(240), px(240), icon.width() + frame, icon.height() + frame);

    cmdSysInfo = new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(twipsRect(2520, 1200, 1380, 345));
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setGeometry(twipsRect(1050, 240, 1125, 240));
    lblTitle->setFont(vostrel::pGothicFont(12));
    lblTitle->setTextFormat(Qt::PlainText);
    QPalette black = lblTitle->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblTitle->setPalette(black);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setGeometry(twipsRect(1440, 600, 1845, 225));
    lblVersion->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblVersion->setTextFormat(Qt::PlainText);

    for (QLabel* label : {lblTitle, lblVersion}) {
        label->setFocusPolicy(Qt::NoFocus);
    }
    QWidget::setTabOrder(cmdOK, picIcon);
    QWidget::setTabOrder(picIcon, cmdSysInfo);
}

void frmAbout::showModal() {
    // Every showing is a fresh load: the window comes back where it was designed to be, with the
    // focus on OK, wherever it was moved or tabbed to last time.
    setGeometry(kClientArea);
    cmdOK->setFocus();
    Form_Load();
    exec();
}

void frmAbout::Form_Load() {
    const QString title = QApplication::applicationName();
    setWindowTitle(title + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));
    lblVersion->setText(QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2.%3")
                            .arg(vostrel::kVersionMajor)
                            .arg(vostrel::kVersionMinor)
                            .arg(vostrel::kVersionRevision));
    // The title sizes the label to itself, growing to the right of its fixed left edge.
    lblTitle->setText(title);
    picIcon->setAccessibleName(title);  // the picture is the program's own icon
    const QFontMetrics metrics(lblTitle->font());
    lblTitle->resize(metrics.horizontalAdvance(title), metrics.height());
}

void frmAbout::cmdOK_Click() {
    accept();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    const vostrel::SysInfoServices system{vostrel::systemRegistry(), vostrel::systemAnsiText(),
                                          vostrel::systemFileSystem(),
                                          vostrel::systemProgramStart()};
    if (vostrel::StartSysInfo(system) == vostrel::SysInfoResult::Unavailable) {
        vostrel::showMessage(QString::fromUtf8(vostrel::kSysInfoUnavailable));
    }
}

void frmAbout::keyPressEvent(QKeyEvent* event) {
    // OK is the cancel button as well: Esc presses it rather than merely closing the window.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
