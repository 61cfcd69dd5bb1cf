#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// The two windows as designed: every control's name, kind, caption, place in twips, font, look
// and tab index, the menu tree and each window's own settings. Every face builds its windows
// from these and repeats none of it.
namespace vostrel::forms {

// 1/1440 inch; 15 make a pixel at 96 dots per inch. Measured from the client area's top left.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Every control and menu the procedures name. CMD_ALPHA is one name for 26 buttons, told apart
// by their index.
enum class Id : std::uint8_t {
    HUNG_PICT,
    WORD_LABEL,
    RESULT_LABEL,
    Label1,
    ANSWER_LABEL,
    CMD_ALPHA,
    CMD_RESET,
    cmdExit,
    mnuFile,
    mnuFileExit,
    mnuHelp,
    mnuHelpAbout,
    cmdOK,
    picIcon,
    cmdSysInfo,
    lblTitle,
    lblVersion,
};

// One control: its name, and its index within a control array (-1 for a control of its own).
struct ControlRef {
    // A control of its own is named by its name alone, wherever a control is asked for.
    // cppcheck-suppress noExplicitConstructor
    constexpr ControlRef(Id id, int index = -1) : id(id), index(index) {}
    Id id;
    int index;
    friend bool operator==(const ControlRef&, const ControlRef&) = default;
};

enum class Kind : std::uint8_t { Label, Button, Picture };

enum class Border : std::uint8_t {
    None,
    Flat,    // one pixel
    Sunken,  // two pixels
};

// How many design pixels a frame takes on each side, where a toolkit draws it as designed.
constexpr int borderPixels(Border border) {
    return border == Border::Sunken ? 2 : border == Border::Flat ? 1 : 0;
}

// What a control's ground is painted with, named as the system's colours are; its text takes the
// colour the system pairs with that ground, so a high-contrast scheme applies to both.
enum class Ground : std::uint8_t {
    Form,    // the window's own, the button face, with button text
    Window,  // the window background, white in the standard scheme, with window text
};

// Where a caption stands from top to bottom in its label.
enum class Vertical : std::uint8_t { Top, Middle };

enum class Sizing : std::uint8_t {
    Fixed,
    AroundCentre,  // fits its caption, keeping the centre it was designed with
    FromLeft,      // fits its caption, keeping its left edge
    ToPicture,     // takes the size of its picture and its frame, keeping its top left
};

enum class Pitch : std::uint8_t { Fixed, Proportional };

struct Font {
    // UTF-8; the first one installed is used. Where none is, a face of this pitch that holds the
    // characters stands in.
    std::array<const char*, 3> faces{};
    int points = 0;
    bool bold = false;
    Pitch pitch = Pitch::Proportional;
    bool shiftJis = false;  // the character set the faces are asked for in
};

enum class Image : std::uint8_t {
    None,
    ProgramIcon,  // the program's own icon, kIconSide pixels square at the design's density
};

inline constexpr int kIconSide = 32;

struct Control {
    Id id = Id::HUNG_PICT;
    const char* name = "";
    int index = -1;  // within a control array
    Kind kind = Kind::Label;
    const char* caption = "";  // UTF-8, as designed
    TwipsRect rect;
    int tabIndex = 0;            // labels are passed over
    const Font* font = nullptr;  // the platform's default user-interface font
    Border border = Border::None;
    Ground ground = Ground::Form;
    bool centred = false;  // the caption; otherwise from the left
    Vertical vertical = Vertical::Top;
    Sizing sizing = Sizing::Fixed;
    bool blackText = false;  // otherwise the colour its ground is paired with
    bool accessKeys = true;  // an ampersand marks the next character as the access key
    bool isDefault = false;  // pressed by Enter
    bool isCancel = false;   // pressed by Esc
    // Lies beneath every other control where they meet: a picture larger than designed must not
    // hide the buttons.
    bool beneath = false;
    Image image = Image::None;

    [[nodiscard]] ControlRef ref() const { return {id, index}; }
};

struct MenuItem {
    Id id = Id::mnuFile;
    const char* name = "";
    const char* caption = "";  // an ampersand marks the access key
    int parent = -1;           // index of the menu it opens from; -1 for the menu bar
};

enum class Frame : std::uint8_t {
    Sizable,      // with the system menu, Minimize, Maximize and Close
    FixedDialog,  // not resizable, with only Close
};

struct Form {
    const char* name = "";
    const char* caption = "";  // empty: set by the window's load procedure
    int clientWidth = 0;       // twips
    int clientHeight = 0;
    Frame frame = Frame::Sizable;
    bool placedBySystem = true;
    int left = 0;  // twips from the screen's top left to the client area's, when not placed
    int top = 0;   // by the system
    // The client area is never made smaller than this (twips): the controls keep their places.
    int minClientWidth = 0;
    int minClientHeight = 0;
    bool inTaskbar = true;
    // The language of the window's texts, its messages' too (BCP 47): a screen reader speaks
    // them in it, and a face picks fonts by it.
    const char* language = "en";
    std::span<const Control> controls{};
    std::span<const MenuItem> menu{};
};

const Form& mainForm();
const Form& aboutForm();
// The game window's controls as they stand on a screen held upright: the design's controls,
// captions, procedures and tab order, in other places.
const Form& uprightMainForm();

// The definition of a control of `form`.
const Control& control(const Form& form, ControlRef ref);

// The controls of `form` from the lowest to the uppermost, as they lie where they meet.
std::vector<const Control*> stackingOrder(const Form& form);

// The controls of `form` in the order they are read, as a page is: by rows from the top, each
// row from the left, a control's row being its top edge. What the window shows (the word, the
// tries, the picture) comes before the letters that play it, whatever the tab order.
std::vector<ControlRef> readingOrder(const Form& form);

// Where the focus is shown, and which letter of a caption is an access key, every window marks it
// at all times, not only once the keyboard has been used: a player who clicks sees what Enter and
// Space will press.
inline constexpr bool kCuesAlwaysShown = true;

// The game's pictures are Windows bitmaps, uncompressed, with 1, 4, 8 or 24 bits a pixel, or 16
// or 32 plain or in bit fields, holding every row their header claims: the kinds every face
// draws alike. Nothing else counts as a picture, whatever a toolkit could decode.
bool isPicture(std::string_view bytes);

}  // namespace vostrel::forms
