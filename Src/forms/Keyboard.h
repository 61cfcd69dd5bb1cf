#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Definitions.h"

// How the keyboard moves through a window and which key presses which button, decided here for
// every toolkit. Space pressing the focused button, and the menus' own keys, are every
// toolkit's alike and stay theirs.
namespace vostrel::forms {

enum class Key : std::uint8_t {
    Tab,      // the focus to the next control
    BackTab,  // Shift+Tab: to the one before
    Enter,    // presses the focused button, or the window's default button
    Escape,   // presses the window's cancel button
};

// The controls that take the focus, in the order Tab walks them: the buttons and picture areas
// by their tab index. Labels never take it.
std::vector<ControlRef> tabChain(const Form& form);

using IsEnabled = std::function<bool(ControlRef)>;

// Where the focus goes from `from` (none: from before the first control): the next enabled
// control of the tab chain that way, going round; `from` itself only when no other is enabled.
std::optional<ControlRef> nextFocus(const Form& form, std::optional<ControlRef> from, bool forward,
                                    const IsEnabled& enabled);

// The button `key` presses while `focused` has the focus: Enter the focused button, or the
// default button where the focus is not on a button; Escape the cancel button.
std::optional<ControlRef> keyTarget(const Form& form, Key key, std::optional<ControlRef> focused);

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
