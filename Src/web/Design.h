#pragma once

#include <string>

namespace vostrel {

// Both windows' definitions as JSON, for the page to draw them: {"windows": [game, about],
// "wordFile": the word list's name}. Each
// window gives its name, caption and client size in pixels at the design's density, the place of
// a window the system does not place, its controls in tab order and its menus. A caption comes as
// shown, with the place of its access key in UTF-16 units (-1: none); places come later, from
// the windows' procedures.
std::string designJson();

}  // namespace vostrel
