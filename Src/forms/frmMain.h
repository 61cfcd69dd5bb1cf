#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "core/Game.h"
#include "core/WordFile.h"
#include "forms/Definitions.h"
#include "forms/Faces.h"
#include "forms/Keyboard.h"
#include "services/Services.h"

namespace vostrel {

class frmAbout;

// Why a word list cannot be played, in the words the game says it; empty for one that can.
std::string_view wordFileProblem(LoadStatus status);

// The game window: its state and procedures, under the names of the game's design. It reaches
// the window on the screen only through `MainFace`, so every rule runs the same under any
// toolkit and in tests.
class frmMain {
public:
    // The window's data lies in `appFolder`. Nothing runs until the toolkit loads the window.
    frmMain(MainFace& view, const Services& system, std::string appFolder);
    ~frmMain();
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // Loads the window as the program starts: Form_Load, and the focus on the first control of
    // the tab order. False when it did not load: the window is unloaded, or will be once its
    // message is dismissed, and a toolkit must not show it. `again`: the window is loaded again
    // where a screen reader reads no new window (a page starting the game once more), so the new
    // game is said as Reset & Start says it.
    bool Load(bool again = false);

    // What a press of `control`, or the key `press`, would read from the application folder: a
    // face that fetches the folder's files has them in hand first, and the word list fresh
    // before a new game.
    enum class Reads { Nothing, Pictures, NewGame };
    [[nodiscard]] Reads WhatReads(forms::ControlRef control) const;
    [[nodiscard]] Reads WhatReads(const forms::KeyPress& press) const;

    // Events as the toolkit reports them. While a message or the About window is open, or once
    // the window is unloaded, the window takes no input.
    void Click(forms::Id control, int index = -1);
    // A key pressed in the window; the face does with it what the answer says.
    forms::KeyAction KeyDown(const forms::KeyPress& press);
    // The pointer pressed on a control, or on none (the window's ground, or beside the window):
    // the focus goes to a control that takes it, and otherwise stays where it was.
    void PointerDown(std::optional<forms::ControlRef> control);

    void Form_Load();
    // The frame's close command.
    void Form_QueryUnload();
    // The window is drawn at another pixel density now: everything is placed again at it.
    void Form_DpiChanged();
    void CMD_ALPHA_Click(int Index);
    void CMD_RESET_Click();
    void cmdExit_Click();
    void mnuFileExit_Click();
    void mnuHelpAbout_Click();

    [[nodiscard]] bool isUnloaded() const { return state_ == State::Unloaded; }

private:
    enum class State {
        Loaded,
        Ending,  // a message says why the game cannot go on; the window unloads after it
        Unloaded,
    };

    // What the window shows of a label or picture, whole, and what screen readers were told of
    // it: kept to place it again at another density, and to tell them only what changed.
    struct Shown {
        forms::Id control;
        std::u32string caption;
        std::string spoken;
    };

    [[nodiscard]] const forms::Form& form() const { return view_.arrangement(); }
    [[nodiscard]] bool takesInput() const;
    [[nodiscard]] forms::KeyOutcome decide(const forms::KeyPress& press) const;
    [[nodiscard]] bool enabled(forms::ControlRef control) const;
    Shown& shown(forms::Id control);
    void failNewGame(std::string_view message);
    void unload();
    void showPicture(int misses);
    void placePicture();
    void setCaption(forms::Id label, std::u32string caption);
    void setLettersEnabled(bool enabled);
    void endGame();
    void describeForScreenReaders();
    void tell(forms::Id control, const std::string& name);

    MainFace& view_;
    const Services& system_;
    const std::string appFolder_;
    State state_ = State::Loaded;
    bool aboutOpen_ = false;
    std::unique_ptr<frmAbout> about_;

    // Game state.
    Words WordList;
    std::array<std::string, kMaxMisses> PictFiles;
    std::u32string AnswerWord;
    std::size_t AnswerLen = 0;
    int MissCount = 0;
    std::u32string display_;  // what WORD_LABEL shows, kept whole rather than read back
    bool gameOver_ = false;
    std::array<bool, 26> letterEnabled_{};

    std::array<Shown, 4> shown_{{{forms::Id::WORD_LABEL, {}, {}},
                                 {forms::Id::RESULT_LABEL, {}, {}},
                                 {forms::Id::ANSWER_LABEL, {}, {}},
                                 {forms::Id::HUNG_PICT, {}, {}}}};
    PictureSize picture_;
};

}  // namespace vostrel
