#pragma once

namespace vostrel::win32 {

// Starts COM on the calling thread, the user-interface thread, the first time something needs
// it; it ends with the program. False where it cannot be had.
bool comStarted();

}  // namespace vostrel::win32
