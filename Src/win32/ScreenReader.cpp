// The accessibility GUIDs are defined here, for the one file that uses them.
#include <initguid.h>

#include "ScreenReader.h"

#include <array>
#include <string>

#include "platform/WinText.h"

namespace vostrel::win32 {
namespace {

// UI Automation's LiveSetting property, which some toolchains' headers lack.
constexpr GUID kLiveSettingProperty{
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG kAssertive = 2;

}  // namespace

ScreenReader::ScreenReader() {
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IAccPropServices,
                                  reinterpret_cast<void**>(service_.GetAddressOf())))) {
        service_ = nullptr;
    }
}

void ScreenReader::setName(HWND control, std::string_view utf8) {
    if (service_ != nullptr) {
        std::wstring name = widen(utf8);
        service_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                 PROPID_ACC_NAME, name.data());
    }
    ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

void ScreenReader::alert(HWND control) {
    ::NotifyWinEvent(EVENT_SYSTEM_ALERT, control, OBJID_CLIENT, CHILDID_SELF);
}

void ScreenReader::makeLiveRegion(HWND label) {
    if (service_ != nullptr) {
        VARIANT assertive{};
        assertive.vt = VT_I4;
        assertive.lVal = kAssertive;
        service_->SetHwndProp(label, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                              kLiveSettingProperty, assertive);
    }
}

void ScreenReader::say(HWND label, std::string_view utf8) {
    ::SetWindowTextW(label, widen(utf8).c_str());
    ::NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, label, OBJID_CLIENT, CHILDID_SELF);
}

void ScreenReader::forget(HWND control) {
    if (service_ != nullptr) {
        const std::array<MSAAPROPID, 2> properties{PROPID_ACC_NAME, kLiveSettingProperty};
        service_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                 properties.data(), static_cast<int>(properties.size()));
    }
}

}  // namespace vostrel::win32
