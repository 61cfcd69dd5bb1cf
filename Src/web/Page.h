#pragma once

#include <cstdint>

// What the page (page/page.js) does for the windows' faces, reached through bridge.js. A window is
// 0 for the game window and 1 for the About window; a control is its id as forms::Id numbers it,
// and its index within a control array (-1 for one of its own). Texts are UTF-8.
extern "C" {
void page_caption(int window, int id, const char* text);
void page_bounds(int window, int id, int index, int left, int top, int width, int height);
void page_spoken(int window, int id, const char* name);
void page_focus(int window, int id, int index);
// The control of the window that has the focus (while its menus or a message are open, the one
// that had it): id * 32 + index + 1, or -1 where none has.
int page_focused(int window);
// Width and height in pixels of `text` in the control's font, into `size`.
void page_measure(int window, int id, const char* text, int* size);
// Opens a message over the window; the page reports its dismissal to vostrel_message_closed.
void page_message(int window, const char* title, const char* text);
void page_unload(int window);
// The game window stands in its arrangement `which` (0 the design's, 1 upright): its client area
// `width` × `height` pixels, its controls drawn at `dpi`.
void page_arranged(int which, int width, int height, int dpi);
void page_enabled(int id, int index, bool enabled);
// RGBA pixels, row by row from the top; none: the picture area's own ground.
void page_picture(const std::uint8_t* rgba, int width, int height);
void page_alert(int id);
void page_announce(const char* utterance);
void page_title(const char* text);
void page_show_about();
// A word list the player chose is not played, for the reason given.
void page_list_refused(const char* why);
}
