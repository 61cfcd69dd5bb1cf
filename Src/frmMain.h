#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <random>
#include <string>

#include "core/Game.h"
#include "core/WordFile.h"

class QButtonGroup;
class QLabel;
class QPushButton;
class frmAbout;

namespace vostrel {
class FileSystem;
}

// The game window. Its procedures keep the names of the game's design; the rules they apply live
// in the Qt-free core, and this class only moves their results onto the controls.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    // Loads the window: builds the controls and runs Form_Load, so a game is ready, or the window
    // already unloaded, before anyone shows it.
    explicit frmMain(std::string appFolder, const vostrel::FileSystem& files,
                     QWidget* parent = nullptr);
    ~frmMain() override;

    // True once the window has been unloaded; a caller about to show it must not.
    [[nodiscard]] bool isUnloaded() const { return unloaded_; }

    void Form_Load();
    void CMD_ALPHA_Click(int Index);
    void CMD_RESET_Click();
    void cmdExit_Click();
    void mnuFileExit_Click();
    void mnuHelpAbout_Click();

private:
    void createControls();
    void createMenus();
    void setTabOrder();
    void unload();
    void failNewGame(const QString& message);
    void showPicture(int misses);
    void setCaption(QLabel* label, const QString& text);
    void setLetterButtonsEnabled(bool enabled);
    void endGame();
    void describeForScreenReaders();

    const std::string appFolder_;
    const vostrel::FileSystem& files_;
    bool unloaded_ = false;

    QLabel* HUNG_PICT = nullptr;
    QLabel* WORD_LABEL = nullptr;
    QLabel* RESULT_LABEL = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* ANSWER_LABEL = nullptr;
    std::array<QPushButton*, 26> CMD_ALPHA{};
    QButtonGroup* CMD_ALPHA_group = nullptr;
    QPushButton* CMD_RESET = nullptr;
    QPushButton* cmdExit = nullptr;
    frmAbout* aboutBox_ = nullptr;

    // Game state.
    vostrel::WordList WordList;
    std::array<std::string, vostrel::kMaxMisses> PictFiles;
    std::u32string AnswerWord;
    std::size_t AnswerLen = 0;
    int MissCount = 0;
    std::u32string display_;  // what WORD_LABEL shows, kept as text rather than read back
    bool gameOver_ = false;
};
