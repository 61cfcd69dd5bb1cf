#pragma once

#include "forms/Definitions.h"
#include "services/Services.h"

namespace vostrel {

class AboutView;

// The About window: the program's title and version, and a way to the system's own information
// tool. One instance serves the whole run; every showing loads its window afresh.
class frmAbout {
public:
    explicit frmAbout(const Services& system);

    // Loads the window into `view` and shows it modally; returns once it has been unloaded.
    void Show(AboutView& view);

    // A click on a control, as the toolkit reports it.
    void Click(forms::Id control);

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

private:
    void StartSysInfo();

    const Services& system_;
    AboutView* view_ = nullptr;
};

}  // namespace vostrel
