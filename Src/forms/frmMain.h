#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>

#include "core/Game.h"
#include "core/WordFile.h"
#include "forms/Definitions.h"
#include "services/Services.h"

namespace vostrel {

class MainView;
class frmAbout;

// The game window: its state and procedures, under the names of the game's design. It reaches
// the window on the screen only through `MainView`, so every rule runs the same under any
// toolkit and in tests.
class frmMain {
public:
    // The window's data lies in `appFolder`. Nothing runs until the toolkit loads the window
    // with Form_Load.
    frmMain(MainView& view, const Services& system, std::string appFolder);
    ~frmMain();
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // A click on a control or menu item, as the toolkit reports it. While the About window is
    // open, or once the window is unloaded, the window takes no input.
    void Click(forms::Id control, int index = -1);

    void Form_Load();
    void CMD_ALPHA_Click(int Index);
    void CMD_RESET_Click();
    void cmdExit_Click();
    void mnuFileExit_Click();
    void mnuHelpAbout_Click();

    // True once the window has been unloaded; a toolkit about to show it must not.
    [[nodiscard]] bool isUnloaded() const { return unloaded_; }

private:
    void failNewGame(std::string_view message);
    void unload();
    void showPicture(int misses);
    void setCaption(forms::Id label, std::u32string_view caption);
    void setLettersEnabled(bool enabled);
    void endGame();
    void describeForScreenReaders();
    void tell(forms::Id control, std::size_t slot, const std::string& name);

    MainView& view_;
    const Services& system_;
    const std::string appFolder_;
    bool unloaded_ = false;
    bool aboutOpen_ = false;
    std::unique_ptr<frmAbout> about_;

    // Game state.
    vostrel::WordList WordList;
    std::array<std::string, kMaxMisses> PictFiles;
    std::u32string AnswerWord;
    std::size_t AnswerLen = 0;
    int MissCount = 0;
    std::u32string display_;  // what WORD_LABEL shows, kept whole rather than read back
    bool gameOver_ = false;
    std::array<bool, 26> letterEnabled_{};
    std::array<std::string, 4> spoken_;  // what screen readers were last told of each label
};

}  // namespace vostrel
