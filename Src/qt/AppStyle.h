#pragma once

namespace vostrel {

// Puts a thin layer over the style Qt chose (the platform's, or one named with -style or
// QT_STYLE_OVERRIDE): everything looks and behaves as before, but the focus cue is drawn at all
// times, a menu the keyboard has chosen is marked, and the overflow icon Qt makes for every menu
// bar and tool bar is only decoded when it is first drawn. Decoding it loads and asks
// every image-format plugin there is, and the game's two short menus overflow only in a window
// made very narrow. Call once, after the application object exists and before any window.
void installAppStyle();

}  // namespace vostrel
