#pragma once

#include <string>

namespace vostrel {

// Both windows' definitions as JSON, which the page carries from the start and draws the windows
// from: {"windows": [game, about], "wordFile": the word list's name, "files": every file of the
// application folder the game reads, "newGame": those a new game reads}. Each window gives its
// caption, language, client size and smallest client size in pixels at the design's density,
// the place of a window the system does not place, its controls (those that take the focus in tab
// order first), the order a screen reader reads them in, and its menus. A control comes with the
// page's number for it ("ref"), its looks and its layer (0 lowest); a caption as shown, with the
// place of its access key in UTF-16 units (-1: none). Places come later, from the windows'
// procedures.
std::string designJson();

}  // namespace vostrel
