#pragma once

#include <cstddef>

// The identifiers WM_COMMAND carries for the windows' controls and menu items, derived from their
// place in the window definitions. A program that drives the game from outside (the tests) finds
// the controls by them.
namespace vostrel::win32 {

// Clear of IDOK and IDCANCEL, which the dialog manager sends for Enter and Esc.
inline constexpr int kFirstControlId = 100;
inline constexpr int kFirstMenuId = 1000;
// The zero-sized label screen readers hear announcements from.
inline constexpr int kAnnouncerId = 99;

constexpr int controlId(std::size_t position) {
    return kFirstControlId + static_cast<int>(position);
}

constexpr int menuId(std::size_t position) {
    return kFirstMenuId + static_cast<int>(position);
}

}  // namespace vostrel::win32
