#include "frmMain.h"

#include <QApplication>
#include <QBuffer>
#include <QButtonGroup>
#include <QImageReader>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>

#include "Fonts.h"
#include "MessageBox.h"
#include "QtText.h"
#include "ScreenReader.h"
#include "Twips.h"
#include "core/Game.h"
#include "core/Spoken.h"
#include "frmAbout.h"
#include "icons/vostrel16.xpm"
#include "platform/FileSystem.h"
#include "platform/Text.h"

using vostrel::px;
using vostrel::toQString;
using vostrel::twipsRect;

namespace {

constexpr int kLetters = 26;
constexpr int kPictureSide = 200;  // the size the picture area is designed around
// Generous for any picture of the gallows; keeps a hostile file from costing much memory.
constexpr std::size_t kMaxPictureBytes = std::size_t{8} * 1024 * 1024;
// A picture whose header claims more on a side is not decoded: a few compressed bytes could
// otherwise ask for gigabytes. Still ten times the designed size, and at most 16 MiB of pixels.
constexpr int kMaxPictureSide = 2048;
constexpr int kClientWidth = 7980;  // twips
// No window shows more characters than this from either end of a caption; measuring only these
// keeps a huge caption as quick to lay out as a short one.
constexpr qsizetype kMaxEndChars = 1024;

// The letter buttons stand in three rows; each row's first index, count and left edge in twips.
struct LetterRow {
    int firstIndex;
    int count;
    int left;
    int top;
};
constexpr std::array<LetterRow, 3> kLetterRows{{
    {0, 11, 3720, 2280},
    {11, 9, 4080, 2640},
    {20, 6, 4680, 3000},
}};
constexpr int kLetterPitch = 360;
constexpr int kLetterSide = 350;

// The focus walks from Exit through the letters in this order, then to Reset & Start.
constexpr std::string_view kLetterTabOrder = "lzyxwvutsrqponmkjihgfedcba";

constexpr const char* kCentre2 = "vostrelCentre2";

QLabel* makeGameLabel(QWidget* parent, const char* name, const QString& caption, const QRect& rect,
                      bool border) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(rect);
    label->setProperty(kCentre2, 2 * rect.x() + rect.width());
    label->setObjectName(QLatin1String(name));
    label->setFont(vostrel::gothicFont(18));
    label->setAlignment(Qt::AlignCenter);
    label->setTextFormat(Qt::PlainText);
    if (border) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(2);
    }
    return label;
}

// The two ends of a caption too wide for `room`, around an ellipsis.
QString elideMiddle(const QString& text, const QFontMetrics& metrics, int room) {
    if (text.size() <= 2 * kMaxEndChars) {
        return metrics.elidedText(text, Qt::ElideMiddle, room);
    }
    // Never cut a character beyond the basic plane in two.
    qsizetype head = kMaxEndChars;
    qsizetype tail = text.size() - kMaxEndChars;
    if (text.at(head - 1).isHighSurrogate()) {
        --head;
    }
    if (text.at(tail).isLowSurrogate()) {
        ++tail;
    }
    return metrics.elidedText(text.left(head) + QChar(0x2026) + text.mid(tail), Qt::ElideMiddle,
                              room);
}

// A null picture when the bytes hold none that may be shown.
QPixmap decodePicture(std::string_view bytes) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Qt reads BMP itself: naming the format spares loading and asking every image-format plugin,
    // as recognising it by its contents would. Other formats are still recognised.
    if (bytes.starts_with("BM")) {
        reader.setFormat("bmp");
        reader.setAutoDetectImageFormat(false);
    }
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxPictureSide || size.height() > kMaxPictureSide) {
        return {};
    }
    return QPixmap::fromImage(reader.read());
}

void paintWhite(QLabel* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
}

}  // namespace

frmMain::frmMain(std::string appFolder, const vostrel::FileSystem& files, QWidget* parent)
    : QMainWindow(parent), appFolder_(std::move(appFolder)), files_(files) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QApplication::applicationName());
    setWindowIcon(QPixmap(vostrel16_xpm));
    createMenus();
    createControls();
    setTabOrder();
    cmdExit->setFocus();
    Form_Load();
}

frmMain::~frmMain() = default;

void frmMain::createMenus() {
    QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("File(&F)"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    QAction* mnuFileExit = mnuFile->addAction(QStringLiteral("Exit(X)"));
    mnuFileExit->setObjectName(QStringLiteral("mnuFileExit"));
    connect(mnuFileExit, &QAction::triggered, this, &frmMain::mnuFileExit_Click);

    QMenu* mnuHelp = menuBar()->addMenu(QStringLiteral("Help(&H)"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    QAction* mnuHelpAbout = mnuHelp->addAction(QStringLiteral("About(&A)"));
    mnuHelpAbout->setObjectName(QStringLiteral("mnuHelpAbout"));
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
}

void frmMain::createControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    // Controls sit at fixed places; resizing the window only shows more or less of the ground.
    resize(px(kClientWidth), px(4845) + menuBar()->sizeHint().height());

    HUNG_PICT = new QLabel(client);
    HUNG_PICT->setObjectName(QStringLiteral("HUNG_PICT"));
    HUNG_PICT->setGeometry(twipsRect(480, 240, 3030, 3030));
    HUNG_PICT->setFrameStyle(QFrame::Box | QFrame::Plain);
    HUNG_PICT->setLineWidth(1);
    HUNG_PICT->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    HUNG_PICT->setBackgroundRole(QPalette::Base);
    HUNG_PICT->setAutoFillBackground(true);
    HUNG_PICT->setFocusPolicy(Qt::StrongFocus);

    WORD_LABEL = makeGameLabel(client, "WORD_LABEL", QStringLiteral("??????????"),
                               twipsRect(4650, 360, 2055, 420), true);
    paintWhite(WORD_LABEL);

    RESULT_LABEL = makeGameLabel(client, "RESULT_LABEL", QStringLiteral("LEFT 10"),
                                 twipsRect(4950, 960, 1455, 420), true);
    paintWhite(RESULT_LABEL);

    Label1 = new QLabel(QStringLiteral("Select any letter  below"), client);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(4200, 1800, 3135, 255));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    // No border and a see-through ground: an empty answer leaves no stray box on the window.
    ANSWER_LABEL =
        makeGameLabel(client, "ANSWER_LABEL", QString(), twipsRect(5640, 3480, 225, 360), false);

    CMD_ALPHA_group = new QButtonGroup(this);
    CMD_ALPHA_group->setExclusive(false);
    for (const LetterRow& row : kLetterRows) {
        for (int column = 0; column < row.count; ++column) {
            const int index = row.firstIndex + column;
            auto* button = new QPushButton(QString(QChar(u'a' + index)), client);
            button->setObjectName(QStringLiteral("CMD_ALPHA"));
            button->setProperty("Index", index);
            button->setGeometry(
                twipsRect(row.left + kLetterPitch * column, row.top, kLetterSide, kLetterSide));
            button->setAutoDefault(false);
            CMD_ALPHA_group->addButton(button, index);
            CMD_ALPHA[static_cast<std::size_t>(index)] = button;
        }
    }
    connect(CMD_ALPHA_group, &QButtonGroup::idClicked, this, &frmMain::CMD_ALPHA_Click);

    // The ampersand is shown: it joins two words here and marks no access key.
    CMD_RESET = new QPushButton(QStringLiteral("Reset && Start"), client);
    CMD_RESET->setObjectName(QStringLiteral("CMD_RESET"));
    CMD_RESET->setGeometry(twipsRect(480, 3480, 3015, 375));
    connect(CMD_RESET, &QPushButton::clicked, this, &frmMain::CMD_RESET_Click);

    cmdExit = new QPushButton(QStringLiteral("Exit"), client);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setGeometry(twipsRect(5760, 4320, 2055, 375));
    connect(cmdExit, &QPushButton::clicked, this, &frmMain::cmdExit_Click);

    for (QLabel* label : {WORD_LABEL, RESULT_LABEL, Label1, ANSWER_LABEL}) {
        label->setFocusPolicy(Qt::NoFocus);
    }
}

void frmMain::setTabOrder() {
    QWidget* previous = cmdExit;
    for (const char letter : kLetterTabOrder) {
        QWidget* next = CMD_ALPHA[static_cast<std::size_t>(letter - 'a')];
        QWidget::setTabOrder(previous, next);
        previous = next;
    }
    QWidget::setTabOrder(previous, CMD_RESET);
    QWidget::setTabOrder(CMD_RESET, HUNG_PICT);
}

void frmMain::Form_Load() {
    vostrel::LoadResult loaded = vostrel::loadWordFile(files_, appFolder_);
    switch (loaded.status) {
        case vostrel::LoadStatus::Ok:
            break;
        case vostrel::LoadStatus::Missing:
            failNewGame(QStringLiteral("Data File Not exists."));
            return;
        case vostrel::LoadStatus::NoWords:
            failNewGame(QStringLiteral("The word file holds no words."));
            return;
        case vostrel::LoadStatus::TooLarge:
            failNewGame(QStringLiteral("The word file is too large to be a word list."));
            return;
        case vostrel::LoadStatus::Unreadable:
            failNewGame(QStringLiteral("The word file cannot be read."));
            return;
    }
    WordList = std::move(loaded.words);
    for (int k = 1; k <= vostrel::kMaxMisses; ++k) {
        PictFiles[static_cast<std::size_t>(k - 1)] = vostrel::pictureName(k);
    }

    std::mt19937_64 random = vostrel::freshRandomSource();
    AnswerWord = vostrel::decodeNativeText(WordList[vostrel::drawIndex(WordList.size(), random)]);
    AnswerLen = AnswerWord.size();

    display_ = vostrel::maskedWord(AnswerLen);
    setCaption(WORD_LABEL, toQString(display_));
    MissCount = 0;
    gameOver_ = false;
    showPicture(0);
    setCaption(RESULT_LABEL, QStringLiteral("LEFT%1").arg(vostrel::kMaxMisses - MissCount));
    setCaption(ANSWER_LABEL, QString());
    setLetterButtonsEnabled(true);
    describeForScreenReaders();
}

void frmMain::CMD_ALPHA_Click(int Index) {
    // A finished game takes no more guesses: its buttons are disabled, and this guards the
    // procedure against being called all the same.
    if (gameOver_ || Index < 0 || Index >= kLetters) {
        return;
    }
    QPushButton* clicked = CMD_ALPHA[static_cast<std::size_t>(Index)];
    const QList<uint> caption = clicked->text().toUcs4();
    if (caption.isEmpty()) {
        return;
    }
    const vostrel::GuessOutcome outcome =
        vostrel::judgeGuess(AnswerWord, display_, MissCount, caption.front());
    if (outcome.found) {
        clicked->setEnabled(false);
    } else {
        MissCount = outcome.misses;
        showPicture(MissCount);
        if (outcome.end == vostrel::GameEnd::Lost) {
            setCaption(RESULT_LABEL, QStringLiteral("You are hunged !"));
            setCaption(ANSWER_LABEL, toQString(AnswerWord));
            endGame();
            return;
        }
        setCaption(RESULT_LABEL, QStringLiteral("LEFT %1").arg(vostrel::kMaxMisses - MissCount));
    }
    display_ = outcome.display;
    setCaption(WORD_LABEL, toQString(display_));
    if (outcome.end == vostrel::GameEnd::Won) {
        setCaption(RESULT_LABEL, QStringLiteral("You've got it !"));
        endGame();
        return;
    }
    describeForScreenReaders();
}

void frmMain::CMD_RESET_Click() {
    Form_Load();
}

void frmMain::cmdExit_Click() {
    unload();
}

void frmMain::mnuFileExit_Click() {
    cmdExit_Click();
}

void frmMain::mnuHelpAbout_Click() {
    if (aboutBox_ == nullptr) {
        aboutBox_ = new frmAbout(this);
    }
    aboutBox_->showModal();
}

void frmMain::unload() {
    unloaded_ = true;
    close();
}

void frmMain::failNewGame(const QString& message) {
    vostrel::showMessage(message);
    unload();
}

void frmMain::showPicture(int misses) {
    const std::string name =
        misses == 0 ? vostrel::pictureName(0) : PictFiles[static_cast<std::size_t>(misses - 1)];
    vostrel::FileBytes bytes;
    QPixmap picture;
    if (files_.readRegularFile(vostrel::joinPath(appFolder_, name), kMaxPictureBytes, bytes) ==
        vostrel::ReadStatus::Ok) {
        picture = decodePicture(bytes.view());
    }
    if (picture.isNull()) {
        // A missing or broken picture must not stop the game: show an empty one instead.
        picture = QPixmap(kPictureSide, kPictureSide);
        picture.fill(Qt::white);
    }
    HUNG_PICT->setPixmap(picture);
    const int frame = 2 * HUNG_PICT->frameWidth();
    HUNG_PICT->resize(picture.width() + frame, picture.height() + frame);
}

void frmMain::setCaption(QLabel* label, const QString& text) {
    // Auto-size around the centre the label was designed with, so the word and the tries stay
    // centred over the letters; kept doubled so odd widths never make it drift. A caption too
    // wide for that is moved in to stay inside the window, and one wider than the window shows
    // its two ends.
    const int centre2 = label->property(kCentre2).toInt();
    const int frame = 2 * label->frameWidth();
    const int client = px(kClientWidth);
    const QFontMetrics metrics(label->font());
    const QString shown = elideMiddle(text, metrics, client - frame);
    label->setText(shown);
    const int width = metrics.horizontalAdvance(shown) + frame;
    const int height = metrics.height() + frame;
    const int left = std::clamp((centre2 - width) / 2, 0, std::max(0, client - width));
    label->setGeometry(left, label->y(), width, height);
}

void frmMain::endGame() {
    gameOver_ = true;
    setLetterButtonsEnabled(false);
    describeForScreenReaders();
    // The outcome is news a player may not be looking at: say it rather than wait to be asked.
    vostrel::alertScreenReader(RESULT_LABEL);
}

void frmMain::describeForScreenReaders() {
    using vostrel::setSpokenName;
    setSpokenName(WORD_LABEL, toQString(vostrel::spokenWord(display_)));
    setSpokenName(RESULT_LABEL, gameOver_
                                    ? RESULT_LABEL->text()
                                    : QString::fromStdString(vostrel::spokenTriesLeft(MissCount)));
    setSpokenName(HUNG_PICT, QString::fromStdString(vostrel::spokenGallows(MissCount)));
    // The answer is shown once the game is lost; the label may hold only its two ends.
    const bool lost = gameOver_ && MissCount >= vostrel::kMaxMisses;
    setSpokenName(ANSWER_LABEL,
                  toQString(vostrel::spokenAnswer(lost ? AnswerWord : std::u32string())));
}

void frmMain::setLetterButtonsEnabled(bool enabled) {
    for (QPushButton* button : CMD_ALPHA) {
        button->setEnabled(enabled);
    }
}
