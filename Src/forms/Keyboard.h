#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Definitions.h"

// What every key does in a window, and where the focus goes, decided here for every toolkit. A
// face hands over each key it is given and does what the outcome says; the menus, once open, are
// the toolkit's own.
namespace vostrel::forms {

enum class Key : std::uint8_t {
    Tab,
    Enter,
    Escape,
    Space,
    Left,
    Right,
    Up,
    Down,
    F10,
    Function,   // F1 to F12 but F10: the system's and the browser's (help, reload, full screen)
    Character,  // a key that types `KeyPress::character`
    Other,      // Home, End, Backspace and every other key
};

struct KeyPress {
    Key key = Key::Other;
    char32_t character = 0;  // for Key::Character, in either case
    bool shift = false;
    bool control = false;  // Ctrl, or Command where it stands for Ctrl
    bool alt = false;
    bool repeat = false;  // sent again while the key is held down
};

// What the face does with a key once the window's procedures have had it.
enum class KeyAction : std::uint8_t {
    // The procedures did what the key does, or it does nothing: the toolkit must not act on it.
    Done,
    // The menu bar takes it: F10, or Alt and a menu's access key.
    Menus,
    // Not the window's: the system or the browser does with it what it does elsewhere (Alt+F4,
    // Ctrl+Tab, F5; Tab past the last control of a window that is one part of a page).
    Onwards,
};

// Where players of one system expect a key to act otherwise than on the others. Named once here;
// a face says which are its own.
struct Conventions {
    // In a Windows dialog a letter alone presses the button whose access key it is.
    bool bareAccessKeys = false;
    // The window is one part of a page: Tab and Shift+Tab go on from its last and first control
    // to the page's own controls, rather than round the window.
    bool partOfPage = false;
};
inline constexpr Conventions kWindowsConventions{.bareAccessKeys = true};
inline constexpr Conventions kLinuxConventions{};
inline constexpr Conventions kBrowserConventions{.partOfPage = true};

// The controls that take the focus, in the order Tab walks them: the buttons and picture areas
// by their tab index. Labels never take it.
std::vector<ControlRef> tabChain(const Form& form);

using IsEnabled = std::function<bool(ControlRef)>;

// Whether a control takes the focus: an enabled button or a picture area.
bool takesFocus(const Form& form, ControlRef control, const IsEnabled& enabled);

// Where the focus goes from `from` (none: from before the first control): the next enabled
// control of the tab chain that way; going round, or, where the window does not go round, none
// past its end. `from` itself only when no other is enabled.
std::optional<ControlRef> nextFocus(const Form& form, std::optional<ControlRef> from, bool forward,
                                    const IsEnabled& enabled, bool goesRound = true);

// What a key does in a window.
struct KeyOutcome {
    KeyAction action = KeyAction::Done;
    std::optional<ControlRef> focus;  // where the focus moves first
    std::optional<ControlRef> press;  // then the button it presses
};

// The window's state as a key finds it.
struct KeyContext {
    const Form& form;
    std::optional<ControlRef> focused;
    IsEnabled enabled;
    Conventions conventions;
    bool modal = false;  // a dialog over another window: Tab goes round it, even in a page
};

// Decides what `press` does:
// - Tab and Shift+Tab walk the tab chain past disabled controls.
// - Enter presses the focused button, or the window's default one; Esc its cancel button.
// - Space presses the focused button, as the key goes down.
// - The arrows move the focus among the buttons of a control array by their places: Left and
//   Right to the one before or after in index order, going round; Up and Down to the nearest one
//   in the row above or below.
// - Alt and a letter press the button whose access key it is, or open the menu it marks.
// - F10 opens the menus.
// Shift changes nothing but Tab's direction. A key held down presses nothing more than once.
// Ctrl and Alt with any other key, and F1-F12, are the system's.
KeyOutcome decideKey(const KeyContext& window, const KeyPress& press);

// A caption as shown, and the access key its ampersand marks. "&&" shows one ampersand; without
// access keys every ampersand is shown as written.
struct AccessText {
    std::string text;                       // UTF-8
    std::size_t keyAt = std::string::npos;  // byte offset of the marked character in `text`
    char32_t key = 0;                       // lower case
};
AccessText accessText(std::string_view caption, bool accessKeys);

// The caption as toolkits that mark access keys with ampersands take it: one before the access
// key, every ampersand shown doubled.
std::string markedCaption(const AccessText& shown);

// The button whose access key is `letter`, in any case.
std::optional<ControlRef> accessKeyTarget(const Form& form, char32_t letter);

}  // namespace vostrel::forms
