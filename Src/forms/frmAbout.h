#pragma once

#include <functional>
#include <optional>

#include "forms/Definitions.h"
#include "forms/Keyboard.h"
#include "services/Services.h"

namespace vostrel {

class AboutFace;

// The About window: the program's title and version, and a way to the system's own information
// tool. One instance serves the whole run; every showing loads its window afresh.
class frmAbout {
public:
    explicit frmAbout(const Services& system);

    // Loads the window into `view` and shows it modally; `unloaded` runs once it is unloaded.
    void Show(AboutFace& view, std::function<void()> unloaded);

    // Events as the toolkit reports them. While its message is open, the window takes no input.
    void Click(forms::Id control, int index = -1);
    // A key pressed in the window; the face does with it what the answer says.
    forms::KeyAction KeyDown(const forms::KeyPress& press);
    // The pointer pressed on a control, or on none: the focus goes to a control that takes it.
    void PointerDown(std::optional<forms::ControlRef> control);

    void Form_Load();
    // The frame's close command: as OK.
    void Form_QueryUnload();
    // The window is drawn at another pixel density now: everything is placed again at it.
    void Form_DpiChanged();
    void cmdOK_Click();
    void cmdSysInfo_Click();

private:
    [[nodiscard]] bool takesInput() const;
    void placeTitle();
    void placeIcon();
    void StartSysInfo();

    const Services& system_;
    AboutFace* view_ = nullptr;
    std::function<void()> unloaded_;
    bool messageOpen_ = false;
};

}  // namespace vostrel
