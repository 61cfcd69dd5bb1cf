#include "frmMain.h"

#include <algorithm>

#include "AppInfo.h"
#include "core/Spoken.h"
#include "forms/Layout.h"
#include "forms/frmAbout.h"

namespace vostrel {

using forms::Id;

namespace {

constexpr int kLetters = 26;
constexpr PictureSize kBlankPicture{200, 200};  // the size the picture area is designed around
// Generous for any picture of the gallows; keeps a hostile file from costing much memory.
// Departure: the design loads pictures unchecked (docs/departures.md).
constexpr std::size_t kMaxPictureBytes = std::size_t{8} * 1024 * 1024;
// A picture whose header claims more on a side is not decoded: a few compressed bytes could
// otherwise ask for gigabytes. Still ten times the designed size, and at most 16 MiB of pixels.
constexpr int kMaxPictureSide = 2048;

std::u32string number(int n) {
    const std::string digits = std::to_string(n);
    return {digits.begin(), digits.end()};
}

}  // namespace

std::string_view wordFileProblem(LoadStatus status) {
    switch (status) {
        case LoadStatus::Ok:
            break;
        case LoadStatus::Missing:
            return "Data File Not exists.";
        case LoadStatus::NoWords:
            return "The word file holds no words.";
        case LoadStatus::TooLarge:
            return "The word file is too large to be a word list.";
        case LoadStatus::Unreadable:
            return "The word file cannot be read.";
    }
    return {};
}

frmMain::frmMain(MainFace& view, const Services& system, std::string appFolder)
    : view_(view), system_(system), appFolder_(std::move(appFolder)) {}

frmMain::~frmMain() = default;

bool frmMain::Load(bool again) {
    Form_Load();
    if (state_ != State::Loaded) {
        return false;
    }
    view_.setFocus(forms::tabChain(form()).front());
    if (again) {
        view_.announce(spokenNewGame(AnswerLen));
    }
    return true;
}

frmMain::Reads frmMain::WhatReads(forms::ControlRef control) const {
    if (!takesInput()) {
        return Reads::Nothing;
    }
    // A letter that misses shows the next picture; Reset & Start reads the list and the first.
    return control.id == Id::CMD_RESET   ? Reads::NewGame
           : control.id == Id::CMD_ALPHA ? Reads::Pictures
                                         : Reads::Nothing;
}

forms::KeyOutcome frmMain::decide(const forms::KeyPress& press) const {
    return forms::decideKey({.form = form(),
                             .focused = view_.focus(),
                             .enabled = [this](forms::ControlRef c) { return enabled(c); },
                             .conventions = view_.conventions()},
                            press);
}

frmMain::Reads frmMain::WhatReads(const forms::KeyPress& press) const {
    if (!takesInput()) {
        return Reads::Nothing;
    }
    const forms::KeyOutcome outcome = decide(press);
    return outcome.press ? WhatReads(*outcome.press) : Reads::Nothing;
}

bool frmMain::takesInput() const {
    return state_ == State::Loaded && !aboutOpen_;
}

bool frmMain::enabled(forms::ControlRef control) const {
    return control.id != Id::CMD_ALPHA ||
           letterEnabled_.at(static_cast<std::size_t>(control.index));
}

void frmMain::Click(Id control, int index) {
    if (!takesInput()) {
        return;
    }
    switch (control) {
        case Id::CMD_ALPHA:
            CMD_ALPHA_Click(index);
            break;
        case Id::CMD_RESET:
            CMD_RESET_Click();
            break;
        case Id::cmdExit:
            cmdExit_Click();
            break;
        case Id::mnuFileExit:
            mnuFileExit_Click();
            break;
        case Id::mnuHelpAbout:
            mnuHelpAbout_Click();
            break;
        default:
            break;
    }
}

frmMain::Shown& frmMain::shown(Id control) {
    return *std::find_if(shown_.begin(), shown_.end(),
                         [control](const Shown& each) { return each.control == control; });
}

forms::KeyAction frmMain::KeyDown(const forms::KeyPress& press) {
    if (!takesInput()) {
        return forms::KeyAction::Done;
    }
    const forms::KeyOutcome outcome = decide(press);
    if (outcome.focus) {
        view_.setFocus(*outcome.focus);
    }
    if (outcome.press) {
        Click(outcome.press->id, outcome.press->index);
    }
    return outcome.action;
}

void frmMain::PointerDown(std::optional<forms::ControlRef> control) {
    if (takesInput() && control &&
        forms::takesFocus(form(), *control, [this](forms::ControlRef c) { return enabled(c); }) &&
        view_.focus() != control) {
        view_.setFocus(*control);
    }
}

void frmMain::Form_Load() {
    LoadResult loaded = loadWordFile(system_.files, appFolder_);
    // Departure: lists that cannot be used end the game as a missing one does
    // (docs/departures.md).
    if (loaded.status != LoadStatus::Ok) {
        failNewGame(wordFileProblem(loaded.status));
        return;
    }
    WordList = std::move(loaded.words);
    for (int k = 1; k <= kMaxMisses; ++k) {
        PictFiles[static_cast<std::size_t>(k - 1)] = pictureName(k);
    }

    std::mt19937_64 random = freshRandomSource();
    AnswerWord = decodeWord(WordList, drawIndex(WordList.size(), random), system_.text);
    AnswerLen = AnswerWord.size();  // Departure: characters, not UTF-16 units (docs/departures.md).

    display_ = maskedWord(AnswerLen);
    setCaption(Id::WORD_LABEL, display_);
    MissCount = 0;
    gameOver_ = false;
    showPicture(0);
    setCaption(Id::RESULT_LABEL, U"LEFT" + number(kMaxMisses - MissCount));
    setCaption(Id::ANSWER_LABEL, U"");
    setLettersEnabled(true);
    describeForScreenReaders();
}

void frmMain::Form_QueryUnload() {
    if (takesInput()) {
        unload();
    }
}

void frmMain::Form_DpiChanged() {
    forms::placeFixedControls(view_, form());
    for (const Id label : {Id::WORD_LABEL, Id::RESULT_LABEL, Id::ANSWER_LABEL}) {
        setCaption(label, shown(label).caption);
    }
    placePicture();
}

void frmMain::CMD_ALPHA_Click(int Index) {
    // A finished game takes no more guesses, nor does a letter whose button is disabled: the
    // toolkit may deliver a click all the same. Departure: at both ends (docs/departures.md).
    if (gameOver_ || Index < 0 || Index >= kLetters ||
        !letterEnabled_[static_cast<std::size_t>(Index)]) {
        return;
    }
    // The letter guessed is the caption the button bears.
    const char32_t letter =
        decodeUtf8(forms::control(form(), {Id::CMD_ALPHA, Index}).caption).front();
    const GuessOutcome outcome = judgeGuess(AnswerWord, display_, MissCount, letter);
    // Whatever the guess did, a player who cannot see the window hears it.
    const std::string news = encodeUtf8(spokenGuess(letter, outcome, AnswerWord));
    if (outcome.found) {
        letterEnabled_[static_cast<std::size_t>(Index)] = false;
        // The focus moves on to the next letter still to play before its button is disabled,
        // which would leave it nowhere; never to Reset & Start, where a key meant for a letter
        // would throw the game away. At the end of the game it goes there instead.
        const forms::ControlRef button{Id::CMD_ALPHA, Index};
        if (outcome.end == GameEnd::None && view_.focus() == button) {
            if (const auto next = forms::nextFocus(
                    form(), button, true,
                    [this](forms::ControlRef c) { return c.id == Id::CMD_ALPHA && enabled(c); })) {
                view_.setFocus(*next);
            }
        }
        view_.setEnabled(Id::CMD_ALPHA, Index, false);
    } else {
        MissCount = outcome.misses;
        showPicture(MissCount);
        if (outcome.end == GameEnd::Lost) {
            setCaption(Id::RESULT_LABEL, std::u32string(kLostText));
            setCaption(Id::ANSWER_LABEL, AnswerWord);
            endGame();
            view_.announce(news);
            return;
        }
        setCaption(Id::RESULT_LABEL, U"LEFT " + number(kMaxMisses - MissCount));
    }
    display_ = outcome.display;
    setCaption(Id::WORD_LABEL, display_);
    if (outcome.end == GameEnd::Won) {
        setCaption(Id::RESULT_LABEL, std::u32string(kWonText));
        endGame();
        view_.announce(news);
        return;
    }
    describeForScreenReaders();
    view_.announce(news);
}

void frmMain::CMD_RESET_Click() {
    Form_Load();
    if (state_ == State::Loaded) {
        view_.announce(spokenNewGame(AnswerLen));
    }
}

void frmMain::cmdExit_Click() {
    unload();
}

void frmMain::mnuFileExit_Click() {
    cmdExit_Click();
}

void frmMain::mnuHelpAbout_Click() {
    if (about_ == nullptr) {
        about_ = std::make_unique<frmAbout>(system_);
    }
    // The focus comes back to where it was once the About window has gone.
    const std::optional<forms::ControlRef> focused = view_.focus();
    aboutOpen_ = true;
    about_->Show(view_.aboutFace(*about_), [this, focused] {
        aboutOpen_ = false;
        if (focused && state_ == State::Loaded) {
            view_.setFocus(*focused);
        }
    });
}

void frmMain::failNewGame(std::string_view message) {
    state_ = State::Ending;
    view_.showMessage(kAppTitle, message, [this] { unload(); });
}

void frmMain::unload() {
    state_ = State::Unloaded;
    view_.unload();
}

void frmMain::showPicture(int misses) {
    const std::string& name =
        misses == 0 ? pictureName(0) : PictFiles[static_cast<std::size_t>(misses - 1)];
    FileBytes bytes;
    PictureSize size;
    if (system_.files.readRegularFile(joinPath(appFolder_, name), kMaxPictureBytes, bytes) ==
            ReadStatus::Ok &&
        forms::isPicture(bytes.view())) {
        size = view_.showPicture(bytes.view(), kMaxPictureSide);
    }
    if (size.width <= 0 || size.height <= 0) {
        // A missing or broken picture must not stop the game: an empty one stands in.
        size = kBlankPicture;
        view_.showBlankPicture(size);
    }
    picture_ = size;
    placePicture();
}

// The area takes the picture's size and its frame, keeping its top left.
void frmMain::placePicture() {
    const int dpi = view_.dpi();
    const int frame = 2 * view_.frameWidth(Id::HUNG_PICT);
    forms::Rect bounds = forms::pixelRect(forms::control(form(), Id::HUNG_PICT).rect, dpi);
    bounds.width = forms::scaled(picture_.width, dpi) + frame;
    bounds.height = forms::scaled(picture_.height, dpi) + frame;
    view_.setBounds(Id::HUNG_PICT, bounds);
}

void frmMain::setCaption(Id label, std::u32string caption) {
    const int dpi = view_.dpi();
    const forms::PlacedCaption placed = forms::placeCaption(
        form(), forms::control(form(), label), caption, dpi, view_.frameWidth(label),
        [&](std::string_view text) { return view_.measureText(label, text); });
    shown(label).caption = std::move(caption);
    view_.setCaption(label, placed.text);
    view_.setBounds(label, placed.bounds);
}

void frmMain::setLettersEnabled(bool enabled) {
    for (int index = 0; index < kLetters; ++index) {
        letterEnabled_[static_cast<std::size_t>(index)] = enabled;
        view_.setEnabled(Id::CMD_ALPHA, index, enabled);
    }
}

void frmMain::endGame() {
    // Departure: both ends disable the letters (docs/departures.md).
    gameOver_ = true;
    // Ready for the next game, before the letter that had the focus is disabled.
    view_.setFocus(Id::CMD_RESET);
    setLettersEnabled(false);
    describeForScreenReaders();
    // The outcome is news a player may not be looking at: say it rather than wait to be asked.
    view_.alert(Id::RESULT_LABEL);
}
void frmMain::describeForScreenReaders() {
    tell(Id::WORD_LABEL, encodeUtf8(spokenWord(display_)));
    // At the end the label's own words say it best.
    const bool lost = gameOver_ && MissCount >= kMaxMisses;
    tell(Id::RESULT_LABEL,
         !gameOver_ ? spokenTriesLeft(MissCount) : encodeUtf8(shown(Id::RESULT_LABEL).caption));
    tell(Id::HUNG_PICT, spokenGallows(MissCount));
    // The answer is spoken whole, though the label may show only its two ends.
    tell(Id::ANSWER_LABEL, encodeUtf8(spokenAnswer(lost ? AnswerWord : std::u32string())));
}

// A change is news to assistive technology; the same words again are not.
void frmMain::tell(Id control, const std::string& name) {
    std::string& told = shown(control).spoken;
    if (told != name) {
        told = name;
        view_.setSpokenName(control, name);
    }
}

}  // namespace vostrel
