#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Pictures.h"
#include "forms/Definitions.h"
#include "forms/Layout.h"

namespace vostrel::win32 {

// The standard controls of one window's design, made as children of `parent` at their places at
// the window's pixel density, with their fonts, frames and grounds, stacked as the design lays
// them. Labels are static controls, buttons push buttons, picture areas windows of our own that
// draw one picture.
class Controls {
public:
    Controls(const forms::Form& form, HWND parent, int dpi);
    ~Controls();
    Controls(const Controls&) = delete;
    Controls& operator=(const Controls&) = delete;

    [[nodiscard]] HWND window(forms::Id id, int index = -1) const;
    // The control a command identifier stands for, or null.
    [[nodiscard]] const forms::Control* control(int commandId) const;

    [[nodiscard]] int frameWidth(forms::Id id) const;
    [[nodiscard]] forms::TextSize measureText(forms::Id id, std::string_view text) const;
    void setCaption(forms::Id id, std::string_view text);
    void setBounds(forms::ControlRef control, const forms::Rect& bounds);
    // An empty bitmap leaves only the area's ground.
    void setPicture(forms::Id id, Bitmap picture);

    // Draws the default button's frame on `button` alone, or on none.
    void showDefault(std::optional<forms::ControlRef> button);

    // The ground and text colours of a label, as WM_CTLCOLORSTATIC asks for them; null for a
    // window that is not one of ours.
    HBRUSH paintLabel(HWND label, HDC dc) const;

    // Gives the controls their fonts for another pixel density.
    void setDpi(int dpi);

private:
    struct Item;
    [[nodiscard]] const Item& item(forms::Id id, int index = -1) const;
    Item& item(forms::Id id, int index = -1);
    HFONT font(const forms::Font* design);
    void create(Item& item);
    void loadIcon(Item& item);
    void move(Item& item, const forms::Rect& bounds);

    const forms::Form& form_;
    HWND parent_;
    int dpi_;
    std::vector<std::unique_ptr<Item>> items_;  // one for each of form_.controls, in their order
    std::map<const forms::Font*, HFONT> fonts_;
};

}  // namespace vostrel::win32
