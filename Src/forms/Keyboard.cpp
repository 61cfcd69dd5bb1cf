#include "Keyboard.h"

#include <algorithm>

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

std::optional<ControlRef> nextFocus(const Form& form, std::optional<ControlRef> from, bool forward,
                                    const IsEnabled& enabled) {
    const std::vector<ControlRef> chain = tabChain(form);
    const auto size = static_cast<std::ptrdiff_t>(chain.size());
    const auto found = from ? std::find(chain.begin(), chain.end(), *from) : chain.end();
    // From nowhere, Tab starts at the first control and Shift+Tab at the last.
    const std::ptrdiff_t start =
        found != chain.end() ? found - chain.begin() : (forward ? size - 1 : 0);
    for (std::ptrdiff_t step = 1; step <= size; ++step) {
        const std::ptrdiff_t at = ((start + (forward ? step : -step)) % size + size) % size;
        const ControlRef candidate = chain[static_cast<std::size_t>(at)];
        if (enabled(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::optional<ControlRef> keyTarget(const Form& form, Key key, std::optional<ControlRef> focused) {
    if (key == Key::Enter && focused && control(form, *focused).kind == Kind::Button) {
        return focused;
    }
    for (const Control& each : form.controls) {
        if ((key == Key::Enter && each.isDefault) || (key == Key::Escape && each.isCancel)) {
            return each.ref();
        }
    }
    return std::nullopt;
}

namespace {

char32_t lower(char32_t c) {
    return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
}

}  // namespace

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
