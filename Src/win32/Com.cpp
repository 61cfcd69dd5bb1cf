#include "Com.h"

#include <objbase.h>

namespace vostrel::win32 {
namespace {

template <typename Function>
Function find(HMODULE module, const char* name) {
    // Through the one function type that matches every other, so no cast warns.
    return module == nullptr ? nullptr
                             : reinterpret_cast<Function>(
                                   reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

class Apartment {
public:
    Apartment() {
        using Initialize = HRESULT(WINAPI*)(void*, DWORD);
        const auto initialize = find<Initialize>(library_, "CoInitializeEx");
        started_ =
            initialize != nullptr &&
            SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
        create_ = started_ ? find<Create>(library_, "CoCreateInstance") : nullptr;
    }
    ~Apartment() {
        using Uninitialize = void(WINAPI*)();
        if (started_) {
            find<Uninitialize>(library_, "CoUninitialize")();
        }
    }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;

    HRESULT create(REFCLSID object, REFIID interfaceId, void** result) const {
        return create_ != nullptr
                   ? create_(object, nullptr, CLSCTX_INPROC_SERVER, interfaceId, result)
                   : E_FAIL;
    }

private:
    using Create = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);

    HMODULE library_ = ::LoadLibraryW(L"ole32.dll");
    bool started_ = false;
    Create create_ = nullptr;
};

}  // namespace

HRESULT createComObject(REFCLSID object, REFIID interfaceId, void** result) {
    static const Apartment apartment;
    return apartment.create(object, interfaceId, result);
}

}  // namespace vostrel::win32
