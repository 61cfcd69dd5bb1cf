#include "Keyboard.h"

#include <algorithm>
#include <cstdlib>

#include "core/WordFile.h"

namespace vostrel::forms {

std::vector<ControlRef> tabChain(const Form& form) {
    std::vector<const Control*> takers;
    for (const Control& each : form.controls) {
        if (each.kind != Kind::Label) {
            takers.push_back(&each);
        }
    }
    std::stable_sort(takers.begin(), takers.end(),
                     [](const Control* a, const Control* b) { return a->tabIndex < b->tabIndex; });
    std::vector<ControlRef> chain;
    chain.reserve(takers.size());
    for (const Control* taker : takers) {
        chain.push_back(taker->ref());
    }
    return chain;
}

bool takesFocus(const Form& form, ControlRef control, const IsEnabled& enabled) {
    return forms::control(form, control).kind != Kind::Label && enabled(control);
}

std::optional<ControlRef> nextFocus(const Form& form, std::optional<ControlRef> from, bool forward,
                                    const IsEnabled& enabled, bool goesRound) {
    const std::vector<ControlRef> chain = tabChain(form);
    const auto size = static_cast<std::ptrdiff_t>(chain.size());
    const auto found = from ? std::find(chain.begin(), chain.end(), *from) : chain.end();
    // From nowhere, Tab starts at the first control and Shift+Tab at the last.
    const std::ptrdiff_t start =
        found != chain.end() ? found - chain.begin() : (forward ? -1 : size);
    for (std::ptrdiff_t step = 1; step <= size; ++step) {
        std::ptrdiff_t at = start + (forward ? step : -step);
        if (at < 0 || at >= size) {
            if (!goesRound) {
                return std::nullopt;
            }
            at = (at % size + size) % size;
        }
        const ControlRef candidate = chain[static_cast<std::size_t>(at)];
        if (enabled(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

namespace {

char32_t lower(char32_t c) {
    return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
}

// The top-level menu whose access key is `letter`.
bool opensMenu(const Form& form, char32_t letter) {
    return std::any_of(form.menu.begin(), form.menu.end(), [&](const MenuItem& item) {
        return item.parent < 0 && accessText(item.caption, true).key == lower(letter);
    });
}

// The enabled button of `from`'s control array that an arrow key moves the focus to.
std::optional<ControlRef> arrowTarget(const Form& form, ControlRef from, Key key,
                                      const IsEnabled& enabled) {
    std::vector<const Control*> members;
    for (const Control& each : form.controls) {
        if (each.id == from.id && each.index >= 0 && enabled(each.ref())) {
            members.push_back(&each);
        }
    }
    if (from.index < 0 || members.empty()) {
        return std::nullopt;
    }
    std::sort(members.begin(), members.end(),
              [](const Control* a, const Control* b) { return a->index < b->index; });
    if (key == Key::Left || key == Key::Right) {
        // Round the array in index order, as Tab goes round the window.
        const auto after =
            std::upper_bound(members.begin(), members.end(), from.index,
                             [](int index, const Control* c) { return index < c->index; });
        const auto before =
            std::lower_bound(members.begin(), members.end(), from.index,
                             [](const Control* c, int index) { return c->index < index; });
        const Control* next = key == Key::Right
                                  ? (after != members.end() ? *after : members.front())
                                  : (before != members.begin() ? *(before - 1) : members.back());
        return next->ref();
    }
    // Up and Down: the row above or below that has an enabled button, and in it the button whose
    // centre is nearest, the left one of two as near.
    const TwipsRect& own = control(form, from).rect;
    const int centre = 2 * own.left + own.width;
    const bool up = key == Key::Up;
    const Control* best = nullptr;
    for (const Control* each : members) {
        const int top = each->rect.top;
        if (up ? top >= own.top : top <= own.top) {
            continue;
        }
        const int bestTop = best != nullptr ? best->rect.top : 0;
        const bool nearerRow = best == nullptr || (up ? top > bestTop : top < bestTop);
        const int distance = std::abs(2 * each->rect.left + each->rect.width - centre);
        const int bestDistance =
            best != nullptr ? std::abs(2 * best->rect.left + best->rect.width - centre) : 0;
        if (nearerRow || (top == bestTop && distance < bestDistance)) {
            best = each;
        }
    }
    return best != nullptr ? std::optional(best->ref()) : std::nullopt;
}

}  // namespace

KeyOutcome decideKey(const KeyContext& window, const KeyPress& press) {
    const Form& form = window.form;
    const auto is = [](KeyAction action) {
        KeyOutcome outcome;
        outcome.action = action;
        return outcome;
    };
    const auto pressing = [&](std::optional<ControlRef> button) {
        KeyOutcome outcome;
        if (!press.repeat && button && window.enabled(*button)) {
            outcome.press = button;
        }
        return outcome;
    };
    const auto moving = [](std::optional<ControlRef> to) {
        KeyOutcome outcome;
        outcome.focus = to;
        return outcome;
    };
    if (press.alt && !press.control && press.key == Key::Character) {
        if (const auto target = accessKeyTarget(form, press.character)) {
            return pressing(target);
        }
        return is(opensMenu(form, press.character) ? KeyAction::Menus : KeyAction::Onwards);
    }
    if (press.alt || press.control) {
        return is(KeyAction::Onwards);
    }
    const std::optional<ControlRef> focused = window.focused;
    const bool onButton =
        focused && window.enabled(*focused) && control(form, *focused).kind == Kind::Button;
    switch (press.key) {
        case Key::Tab: {
            const bool goesRound = window.modal || !window.conventions.partOfPage;
            const auto next = nextFocus(form, focused, !press.shift, window.enabled, goesRound);
            return next ? moving(next) : is(KeyAction::Onwards);
        }
        case Key::Enter: {
            if (onButton) {
                return pressing(focused);
            }
            const auto found = std::find_if(form.controls.begin(), form.controls.end(),
                                            [](const Control& c) { return c.isDefault; });
            return pressing(found != form.controls.end() ? std::optional(found->ref())
                                                         : std::nullopt);
        }
        case Key::Escape: {
            const auto found = std::find_if(form.controls.begin(), form.controls.end(),
                                            [](const Control& c) { return c.isCancel; });
            return pressing(found != form.controls.end() ? std::optional(found->ref())
                                                         : std::nullopt);
        }
        case Key::Space:
            // As it goes down, as Enter: a key held down then presses once on every system.
            return pressing(onButton ? focused : std::nullopt);
        case Key::Left:
        case Key::Right:
        case Key::Up:
        case Key::Down:
            return moving(focused ? arrowTarget(form, *focused, press.key, window.enabled)
                                  : std::nullopt);
        case Key::F10:
            return is(form.menu.empty() ? KeyAction::Done : KeyAction::Menus);
        case Key::Function:
            return is(KeyAction::Onwards);
        case Key::Character:
            return window.conventions.bareAccessKeys
                       ? pressing(accessKeyTarget(form, press.character))
                       : is(KeyAction::Done);
        case Key::Other:
            break;
    }
    return is(KeyAction::Done);
}

AccessText accessText(std::string_view caption, bool accessKeys) {
    AccessText shown;
    if (!accessKeys) {
        shown.text = caption;
        return shown;
    }
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            ++i;
            if (caption[i] != '&' && shown.keyAt == std::string::npos) {
                shown.keyAt = shown.text.size();
                shown.key = lower(decodeUtf8(caption.substr(i, 4)).front());
            }
        }
        shown.text += caption[i];
    }
    return shown;
}

std::string markedCaption(const AccessText& shown) {
    std::string marked;
    for (std::size_t i = 0; i <= shown.text.size(); ++i) {
        if (i == shown.keyAt) {
            marked += '&';
        }
        if (i < shown.text.size()) {
            marked += shown.text[i];
            if (shown.text[i] == '&') {
                marked += '&';
            }
        }
    }
    return marked;
}

std::optional<ControlRef> accessKeyTarget(const Form& form, char32_t letter) {
    for (const Control& each : form.controls) {
        if (each.kind == Kind::Button &&
            accessText(each.caption, each.accessKeys).key == lower(letter) && letter != 0) {
            return each.ref();
        }
    }
    return std::nullopt;
}

}  // namespace vostrel::forms
