#include "Design.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <vector>

#include "core/Game.h"
#include "core/WordFile.h"
#include "forms/Definitions.h"
#include "forms/Keyboard.h"
#include "forms/Layout.h"

namespace vostrel {
namespace {

using namespace forms;
using nlohmann::json;

// The page's number for a control: as page.js keys them.
int key(ControlRef ref) {
    return static_cast<int>(ref.id) * 32 + ref.index + 1;
}

// The shown text and where its access key stands, as JavaScript counts characters.
void caption(json& into, std::string_view designed, bool accessKeys) {
    const AccessText shown = accessText(designed, accessKeys);
    int at = -1;
    if (shown.keyAt != std::string::npos) {
        at = 0;
        for (const char32_t c : decodeUtf8(std::string_view(shown.text).substr(0, shown.keyAt))) {
            at += c > 0xFFFF ? 2 : 1;
        }
    }
    into["text"] = shown.text;
    into["key"] = at;
}

json font(const Font* font) {
    if (font == nullptr) {
        return nullptr;
    }
    json faces = json::array();
    for (const char* face : font->faces) {
        if (face != nullptr) {
            faces.push_back(face);
        }
    }
    return {{"faces", faces},
            {"points", font->points},
            {"bold", font->bold},
            {"fixedPitch", font->pitch == Pitch::Fixed}};
}

const char* kindName(Kind kind) {
    return kind == Kind::Button ? "Button" : kind == Kind::Picture ? "Picture" : "Label";
}

const char* borderName(Border border) {
    return border == Border::Sunken ? "Sunken" : border == Border::Flat ? "Flat" : "None";
}

json control(const Control& c, int layer) {
    json made = {{"id", static_cast<int>(c.id)},
                 {"index", c.index},
                 {"ref", key(c.ref())},
                 {"name", c.name},
                 {"kind", kindName(c.kind)},
                 {"font", font(c.font)},
                 {"border", borderName(c.border)},
                 {"ground", c.ground == Ground::Window ? "Window" : "Form"},
                 {"centred", c.centred},
                 {"middle", c.vertical == Vertical::Middle},
                 {"layer", layer},
                 {"blackText", c.blackText},
                 {"programIcon", c.image == Image::ProgramIcon}};
    caption(made, c.caption, c.accessKeys);
    return made;
}

json reading(const Form& form) {
    json order = json::array();
    for (const ControlRef ref : readingOrder(form)) {
        order.push_back(key(ref));
    }
    return order;
}

json window(const Form& form) {
    const std::vector<const Control*> layers = stackingOrder(form);
    const auto layer = [&](const Control& c) {
        return static_cast<int>(std::find(layers.begin(), layers.end(), &c) - layers.begin());
    };
    // The controls that take the focus in the order it walks them, then the others: a browser
    // that moves the focus on past the window's last control, or back past its first, leaves
    // the window.
    std::vector<const Control*> ordered;
    for (const ControlRef ref : tabChain(form)) {
        ordered.push_back(&forms::control(form, ref));
    }
    for (const Control& c : form.controls) {
        if (std::find(ordered.begin(), ordered.end(), &c) == ordered.end()) {
            ordered.push_back(&c);
        }
    }
    json controls = json::array();
    for (const Control* c : ordered) {
        controls.push_back(control(*c, layer(*c)));
    }
    json menu = json::array();
    for (const MenuItem& item : form.menu) {
        json made = {
            {"id", static_cast<int>(item.id)}, {"name", item.name}, {"parent", item.parent}};
        caption(made, item.caption, true);
        menu.push_back(made);
    }
    const auto px = [](int twips) { return pixels(twips, kDesignDpi); };
    return {{"caption", form.caption},
            {"language", form.language},
            {"width", px(form.clientWidth)},
            {"height", px(form.clientHeight)},
            {"minWidth", px(form.minClientWidth)},
            {"minHeight", px(form.minClientHeight)},
            {"placedBySystem", form.placedBySystem},
            {"left", px(form.left)},
            {"top", px(form.top)},
            {"controls", controls},
            {"readingOrder", reading(form)},
            {"menu", menu}};
}

}  // namespace

std::string designJson() {
    json files = json::array({kWordFileName});
    for (int misses = 0; misses <= kMaxMisses; ++misses) {
        files.push_back(pictureName(misses));
    }
    json game = window(mainForm());
    // Read by rows in the arrangement shown: the upright one has other rows.
    game["readingOrders"] = {reading(mainForm()), reading(uprightMainForm())};
    const json design = {{"windows", {game, window(aboutForm())}},
                         {"wordFile", kWordFileName},
                         {"files", files},
                         {"newGame", {kWordFileName, pictureName(0)}}};
    // Every character outside ASCII escaped: the page carries it inside a script.
    return design.dump(-1, ' ', true);
}

}  // namespace vostrel
