#pragma once

#include <windows.h>

#include <unknwn.h>

namespace vostrel::win32 {

// Makes a COM object of the system's, starting COM on the calling thread, the user-interface
// thread, the first time; COM ends with the program. Nothing of COM is loaded before that: most
// runs need no COM object at all.
HRESULT createComObject(REFCLSID object, REFIID interfaceId, void** result);

}  // namespace vostrel::win32
