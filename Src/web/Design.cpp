#include "Design.h"

#include <algorithm>
#include <vector>

#include "core/Game.h"
#include "core/WordFile.h"
#include "forms/Definitions.h"
#include "forms/Keyboard.h"
#include "forms/Layout.h"

namespace vostrel {
namespace {

using namespace forms;

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + '"';
}

// The shown text and where its access key stands, as JavaScript counts characters.
std::string caption(std::string_view designed, bool accessKeys) {
    const AccessText shown = accessText(designed, accessKeys);
    int key = -1;
    if (shown.keyAt != std::string::npos) {
        key = 0;
        for (const char32_t c : decodeUtf8(std::string_view(shown.text).substr(0, shown.keyAt))) {
            key += c > 0xFFFF ? 2 : 1;
        }
    }
    return "\"text\":" + quoted(shown.text) + ",\"key\":" + std::to_string(key);
}

std::string flag(const char* name, bool value) {
    return std::string(",\"") + name + "\":" + (value ? "true" : "false");
}

std::string font(const Font* font) {
    if (font == nullptr) {
        return "null";
    }
    std::string faces;
    for (const char* face : font->faces) {
        if (face != nullptr) {
            faces += (faces.empty() ? "" : ",") + quoted(face);
        }
    }
    return "{\"faces\":[" + faces + "],\"points\":" + std::to_string(font->points) +
           flag("bold", font->bold) + flag("fixedPitch", font->pitch == Pitch::Fixed) + "}";
}

const char* kindName(Kind kind) {
    return kind == Kind::Button ? "Button" : kind == Kind::Picture ? "Picture" : "Label";
}

const char* borderName(Border border) {
    return border == Border::Sunken ? "Sunken" : border == Border::Flat ? "Flat" : "None";
}

const char* groundName(Ground ground) {
    return ground == Ground::Window ? "Window" : "Form";
}

std::string control(const Control& c) {
    return "{\"id\":" + std::to_string(static_cast<int>(c.id)) +
           ",\"index\":" + std::to_string(c.index) + ",\"name\":" + quoted(c.name) +
           ",\"kind\":\"" + kindName(c.kind) + "\"," + caption(c.caption, c.accessKeys) +
           ",\"font\":" + font(c.font) + ",\"border\":\"" + borderName(c.border) +
           "\",\"ground\":\"" + groundName(c.ground) + "\"" + flag("centred", c.centred) +
           flag("fitsCaption", c.sizing == Sizing::AroundCentre || c.sizing == Sizing::FromLeft) +
           flag("middle", c.vertical == Vertical::Middle) + flag("beneath", c.beneath) +
           flag("blackText", c.blackText) + flag("programIcon", c.image == Image::ProgramIcon) +
           "}";
}

std::string window(const Form& form) {
    std::vector<const Control*> ordered;
    for (const Control& c : form.controls) {
        ordered.push_back(&c);
    }
    // In the order the focus walks them, so a screen reader's reading order is the same.
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Control* a, const Control* b) { return a->tabIndex < b->tabIndex; });
    std::string controls;
    for (const Control* c : ordered) {
        controls += (controls.empty() ? "" : ",") + control(*c);
    }
    std::string menu;
    for (const MenuItem& item : form.menu) {
        menu += std::string(menu.empty() ? "" : ",") +
                "{\"id\":" + std::to_string(static_cast<int>(item.id)) +
                ",\"name\":" + quoted(item.name) + "," + caption(item.caption, true) +
                ",\"parent\":" + std::to_string(item.parent) + "}";
    }
    const auto px = [](int twips) { return std::to_string(pixels(twips, kDesignDpi)); };
    return "{\"name\":" + quoted(form.name) + ",\"caption\":" + quoted(form.caption) +
           ",\"width\":" + px(form.clientWidth) + ",\"height\":" + px(form.clientHeight) +
           flag("placedBySystem", form.placedBySystem) + ",\"left\":" + px(form.left) +
           ",\"top\":" + px(form.top) + ",\"controls\":[" + controls + "],\"menu\":[" + menu + "]}";
}

}  // namespace

std::string designJson() {
    return "{\"windows\":[" + window(mainForm()) + "," + window(aboutForm()) +
           "],\"wordFile\":" + quoted(kWordFileName) + "}";
}

}  // namespace vostrel
