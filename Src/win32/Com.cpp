#include "Com.h"

#include <windows.h>

#include <objbase.h>

namespace vostrel::win32 {
namespace {

// Left until it is needed: most runs need no COM object at all, and starting it costs time.
class Apartment {
public:
    Apartment()
        : started_(SUCCEEDED(
              ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~Apartment() {
        if (started_) {
            ::CoUninitialize();
        }
    }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;

    [[nodiscard]] bool started() const { return started_; }

private:
    bool started_;
};

}  // namespace

bool comStarted() {
    static const Apartment apartment;
    return apartment.started();
}

}  // namespace vostrel::win32
