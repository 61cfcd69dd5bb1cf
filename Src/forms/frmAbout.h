#pragma once

#include <functional>

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
    void Click(forms::Id control);
    // True where the key did something, so the toolkit does not act on it as well.
    bool KeyDown(forms::Key key);
    bool AccessKey(char32_t letter);

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
