#include "FormFace.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "CommandIds.h"
#include "Dpi.h"
#include "platform/WinText.h"

namespace vostrel::win32 {
namespace {

// A key as the window's procedures take it, from the message that brings it down.
std::optional<forms::KeyPress> keyPress(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) {
        return std::nullopt;
    }
    forms::KeyPress press;
    press.shift = ::GetKeyState(VK_SHIFT) < 0;
    press.control = ::GetKeyState(VK_CONTROL) < 0;
    press.alt = (HIWORD(message.lParam) & KF_ALTDOWN) != 0;
    press.repeat = (HIWORD(message.lParam) & KF_REPEAT) != 0;
    const auto key = static_cast<UINT>(message.wParam);
    using forms::Key;
    switch (key) {
        case VK_TAB:
            press.key = Key::Tab;
            break;
        case VK_RETURN:
            press.key = Key::Enter;
            break;
        case VK_ESCAPE:
            press.key = Key::Escape;
            break;
        case VK_SPACE:
            press.key = Key::Space;
            break;
        case VK_LEFT:
            press.key = Key::Left;
            break;
        case VK_RIGHT:
            press.key = Key::Right;
            break;
        case VK_UP:
            press.key = Key::Up;
            break;
        case VK_DOWN:
            press.key = Key::Down;
            break;
        case VK_F10:
            press.key = Key::F10;
            break;
        default:
            if (key >= VK_F1 && key <= VK_F12) {
                press.key = Key::Function;
            } else if (const UINT typed = ::MapVirtualKeyW(key, MAPVK_VK_TO_CHAR) & 0x7FFFFFFF;
                       typed >= L' ') {
                press.key = Key::Character;
                press.character = typed;
            }
            break;
    }
    return press;
}

bool isPointerPress(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN ||
           message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDOWN || message == WM_MBUTTONDBLCLK;
}

}  // namespace

FormFaceBase::FormFaceBase(const forms::Form& form, ScreenReader& reader)
    : design_(form), reader_(reader) {}

FormFaceBase::~FormFaceBase() {
    if (window_ != nullptr) {
        ::DestroyWindow(window_);
    }
}

void FormFaceBase::create(HWND owner) {
    const std::wstring className = widen(design_.name);
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (::GetClassInfoExW(instance, className.c_str(), &windowClass) == 0) {
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = instance;
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = className.c_str();
        if (::RegisterClassExW(&windowClass) == 0) {
            throw std::runtime_error("a window class could not be registered");
        }
    }
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    if (design_.frame == forms::Frame::FixedDialog) {
        // No icon in the title bar, no sizing, only Close.
        style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        exStyle = WS_EX_DLGMODALFRAME;
    }
    // A window with an owner has no taskbar button of its own.
    exStyle |= design_.inTaskbar ? WS_EX_APPWINDOW : 0;
    const int system = systemDpi();
    const SIZE size = windowSize(forms::pixels(design_.clientWidth, system),
                                 forms::pixels(design_.clientHeight, system), style, exStyle,
                                 !design_.menu.empty(), system);
    const int left = design_.placedBySystem ? CW_USEDEFAULT : forms::pixels(design_.left, system);
    const int top = design_.placedBySystem ? CW_USEDEFAULT : forms::pixels(design_.top, system);
    HMENU menu = design_.menu.empty() ? nullptr : createMenu();
    ::CreateWindowExW(exStyle, className.c_str(), widen(design_.caption).c_str(), style, left, top,
                      size.cx, size.cy, owner, menu, instance, this);
    if (window_ == nullptr) {
        throw std::runtime_error("a window could not be made");
    }
    dpi_ = windowDpi(window_);
    fitClientArea();
    controls_ = std::make_unique<Controls>(design_, window_, dpi_);
    if constexpr (forms::kCuesAlwaysShown) {
        ::SendMessageW(window_, WM_CHANGEUISTATE,
                       MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    }
}

// The client area takes exactly its designed size at the window's density, whatever the menu
// bar and the frame take, and its designed place on the screen where it has one.
void FormFaceBase::fitClientArea() {
    RECT frame;
    ::GetWindowRect(window_, &frame);
    RECT client;
    ::GetClientRect(window_, &client);
    POINT origin{0, 0};
    ::ClientToScreen(window_, &origin);
    int left = frame.left;
    int top = frame.top;
    if (!design_.placedBySystem) {
        left += forms::pixels(design_.left, dpi_) - origin.x;
        top += forms::pixels(design_.top, dpi_) - origin.y;
    }
    ::SetWindowPos(
        window_, nullptr, left, top,
        frame.right - frame.left + forms::pixels(design_.clientWidth, dpi_) - client.right,
        frame.bottom - frame.top + forms::pixels(design_.clientHeight, dpi_) - client.bottom,
        SWP_NOZORDER | SWP_NOACTIVATE);
}

HMENU FormFaceBase::createMenu() const {
    HMENU bar = ::CreateMenu();
    std::vector<HMENU> popups(design_.menu.size(), nullptr);
    for (std::size_t i = 0; i < design_.menu.size(); ++i) {
        const forms::MenuItem& item = design_.menu[i];
        const std::wstring caption =
            widen(forms::markedCaption(forms::accessText(item.caption, true)));
        if (item.parent < 0) {
            popups[i] = ::CreatePopupMenu();
            ::AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popups[i]),
                          caption.c_str());
        } else {
            ::AppendMenuW(popups[static_cast<std::size_t>(item.parent)], MF_STRING,
                          static_cast<UINT_PTR>(menuId(i)), caption.c_str());
        }
    }
    return bar;
}

void FormFaceBase::show(int how) {
    // Activated, the window gives the focus to its control.
    ::ShowWindow(window_, how);
    ::UpdateWindow(window_);
}

void FormFaceBase::setFocus(forms::ControlRef control) {
    focused_ = controls_->window(control.id, control.index);
    if (::IsWindowVisible(window_)) {
        ::SetFocus(focused_);
    }
    showDefault();
}

std::optional<forms::ControlRef> FormFaceBase::focus() const {
    const forms::Control* control =
        focused_ != nullptr ? controls_->control(::GetDlgCtrlID(focused_)) : nullptr;
    return control != nullptr ? std::optional(control->ref()) : std::nullopt;
}

void FormFaceBase::noteFocus() {
    HWND now = ::GetFocus();
    if (now != focused_ && now != nullptr && ::GetParent(now) == window_ &&
        controls_->control(::GetDlgCtrlID(now)) != nullptr) {
        focused_ = now;
        showDefault();
    }
}

// The default frame marks the button Enter presses, as the procedures decide it.
void FormFaceBase::showDefault() {
    forms::KeyPress enter;
    enter.key = forms::Key::Enter;
    const forms::KeyOutcome outcome = forms::decideKey(
        {.form = design_,
         .focused = focus(),
         .enabled =
             [this](forms::ControlRef c) {
                 return ::IsWindowEnabled(controls_->window(c.id, c.index)) != FALSE;
             },
         .conventions = forms::kWindowsConventions},
        enter);
    controls_->showDefault(outcome.press);
}

bool FormFaceBase::takeInput(const MSG& message) {
    if (message.hwnd != window_ && ::GetParent(message.hwnd) != window_) {
        return false;
    }
    if (isPointerPress(message.message)) {
        const forms::Control* control =
            message.hwnd != window_ ? controls_->control(::GetDlgCtrlID(message.hwnd)) : nullptr;
        pointerDown(control != nullptr ? std::optional(control->ref()) : std::nullopt);
        return false;  // a button pressed by the pointer clicks itself as the pointer comes up
    }
    const std::optional<forms::KeyPress> press = keyPress(message);
    if (!press) {
        return false;
    }
    switch (keyDown(*press)) {
        case forms::KeyAction::Done:
            return true;
        case forms::KeyAction::Menus:
            // As the system opens them for Alt and a letter, or F10 alone.
            ::SendMessageW(window_, WM_SYSCOMMAND, SC_KEYMENU,
                           press->key == forms::Key::Character ? press->character : 0);
            return true;
        case forms::KeyAction::Onwards:
            break;
    }
    // The system's keys come with Alt (Alt+F4, Alt+Space); a control must not take the others,
    // Ctrl+Space pressing a button as Space would.
    return message.message == WM_KEYDOWN;
}

void FormFaceBase::runMessages(const bool& done) {
    MSG message;
    while (!done) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The end of the program: leave it to the outermost loop.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (got < 0) {
            return;
        }
        if (window_ == nullptr || !takeInput(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (window_ != nullptr) {
            noteFocus();
        }
    }
}

void FormFaceBase::setSpokenName(forms::Id control, std::string_view name) {
    HWND target = controls_->window(control);
    // A picture area has no caption of its own, so its window text names it to every screen
    // reader, annotations or not.
    if (forms::control(design_, control).kind == forms::Kind::Picture) {
        ::SetWindowTextW(target, widen(name).c_str());
    }
    reader_.setName(target, name);
    annotated_.push_back(target);
}

void FormFaceBase::showMessage(std::string_view title, std::string_view text) const {
    // Before the window is first shown, the message stands on its own.
    HWND owner = window_ != nullptr && ::IsWindowVisible(window_) ? window_ : nullptr;
    ::MessageBoxW(owner, widen(text).c_str(), widen(title).c_str(), MB_OK);
}

void FormFaceBase::command(int id, bool fromControl) {
    if (fromControl) {
        if (const forms::Control* control = controls_->control(id);
            control != nullptr && control->kind == forms::Kind::Button) {
            clicked(control->id, control->index);
        }
        return;
    }
    const auto position = static_cast<std::size_t>(id - kFirstMenuId);
    if (id >= kFirstMenuId && position < design_.menu.size() &&
        design_.menu[position].parent >= 0) {
        clicked(design_.menu[position].id, -1);
    }
}

LRESULT FormFaceBase::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED && controls_ != nullptr) {
                // Even a window disabled under a modal one: its procedures know to ignore it.
                command(LOWORD(wParam), lParam != 0);
                return 0;
            }
            break;
        case WM_CTLCOLORSTATIC:
            if (controls_ != nullptr) {
                if (HBRUSH ground = controls_->paintLabel(reinterpret_cast<HWND>(lParam),
                                                          reinterpret_cast<HDC>(wParam))) {
                    return reinterpret_cast<LRESULT>(ground);
                }
            }
            break;
        case WM_ACTIVATE:
            // Active again, not minimised: the focus goes back to the control that had it.
            if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0 && focused_ != nullptr) {
                ::SetFocus(focused_);
                return 0;
            }
            break;
        case WM_SETFOCUS:
            if (focused_ != nullptr) {
                ::SetFocus(focused_);
                return 0;
            }
            break;
        case WM_SIZE:
            // Measured in the restored state only: a minimised frame says nothing of it.
            if (wParam == SIZE_RESTORED) {
                RECT frame;
                ::GetWindowRect(window_, &frame);
                frame_ = {frame.right - frame.left - LOWORD(lParam),
                          frame.bottom - frame.top - HIWORD(lParam)};
            }
            break;
        case WM_GETMINMAXINFO:
            if (design_.minClientWidth > 0) {
                auto& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
                limits.ptMinTrackSize.x =
                    std::max<LONG>(limits.ptMinTrackSize.x,
                                   frame_.cx + forms::pixels(design_.minClientWidth, dpi_));
                limits.ptMinTrackSize.y =
                    std::max<LONG>(limits.ptMinTrackSize.y,
                                   frame_.cy + forms::pixels(design_.minClientHeight, dpi_));
                return 0;
            }
            break;
        case WM_DPICHANGED: {
            const int before = dpi_;
            dpi_ = LOWORD(wParam);
            RECT client;
            ::GetClientRect(window_, &client);
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                           suggested->right - suggested->left, suggested->bottom - suggested->top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            // The client area scales with the density, whatever the suggested frame takes: a
            // system whose frames keep their size at every density suggests a little too much.
            RECT now;
            ::GetClientRect(window_, &now);
            const int wider = ::MulDiv(client.right, dpi_, before) - now.right;
            const int taller = ::MulDiv(client.bottom, dpi_, before) - now.bottom;
            ::SetWindowPos(window_, nullptr, 0, 0, suggested->right - suggested->left + wider,
                           suggested->bottom - suggested->top + taller,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
            controls_->setDpi(dpi_);
            dpiChanged();
            return 0;
        }
        case WM_CLOSE:
            closed();
            return 0;
        case WM_DESTROY:
            for (HWND control : annotated_) {
                reader_.forget(control);
            }
            annotated_.clear();
            break;
        case WM_NCDESTROY: {
            const LRESULT result = ::DefWindowProcW(window_, message, wParam, lParam);
            controls_.reset();
            window_ = nullptr;
            focused_ = nullptr;
            return result;
        }
        default:
            break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK FormFaceBase::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FormFaceBase*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormFaceBase*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    return self->handleMessage(message, wParam, lParam);
}

}  // namespace vostrel::win32
