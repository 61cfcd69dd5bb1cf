#include "FormFace.h"

#include <stdexcept>
#include <string>

#include "CommandIds.h"
#include "Dpi.h"
#include "platform/WinText.h"

namespace vostrel::win32 {

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
        // Room for the dialog manager's own data: DefDlgProc gives the window a dialog's keys.
        windowClass.cbWndExtra = DLGWINDOWEXTRA;
        windowClass.hInstance = instance;
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
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
    for (std::size_t i = 0; i < design_.controls.size(); ++i) {
        if (design_.controls[i].isDefault) {
            ::SendMessageW(window_, DM_SETDEFID, static_cast<WPARAM>(controlId(i)), 0);
        }
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

void FormFaceBase::showWithFocus(int how) {
    ::ShowWindow(window_, how);
    ::UpdateWindow(window_);
    if (pendingFocus_ != nullptr) {
        ::SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pendingFocus_), TRUE);
        pendingFocus_ = nullptr;
    }
}

void FormFaceBase::setFocus(forms::ControlRef control) {
    HWND target = controls_->window(control.id, control.index);
    if (!::IsWindowVisible(window_)) {
        pendingFocus_ = target;
        return;
    }
    // As the dialog manager moves it, so a button that takes the focus is drawn as the default.
    ::SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
}

std::optional<forms::ControlRef> FormFaceBase::focus() const {
    HWND focused = ::GetFocus();
    if (focused == nullptr || ::GetParent(focused) != window_) {
        return std::nullopt;
    }
    const forms::Control* control = controls_->control(::GetDlgCtrlID(focused));
    return control != nullptr ? std::optional(control->ref()) : std::nullopt;
}

// Tab, Shift+Tab, Enter and Esc on this window go to its procedures before the dialog manager,
// which would act on them in its own way.
bool FormFaceBase::forwardKey(const MSG& message) {
    if (message.message != WM_KEYDOWN ||
        (message.hwnd != window_ && ::GetParent(message.hwnd) != window_) ||
        ::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) {
        return false;
    }
    forms::KeyPress press;
    press.shift = ::GetKeyState(VK_SHIFT) < 0;
    press.repeat = (message.lParam & (1 << 30)) != 0;
    switch (message.wParam) {
        case VK_TAB:
            press.key = forms::Key::Tab;
            break;
        case VK_RETURN:
            press.key = forms::Key::Enter;
            break;
        case VK_ESCAPE:
            press.key = forms::Key::Escape;
            break;
        default:
            return false;
    }
    return keyDown(press) == forms::KeyAction::Done;
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
        if (window_ != nullptr && forwardKey(message)) {
            continue;
        }
        if (window_ == nullptr || !::IsDialogMessageW(window_, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
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
        case WM_GETOBJECT:
            reader_.listen();  // and the system makes the accessible object, as for any window
            break;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETSCREENREADER) {
                BOOL running = FALSE;
                if (::SystemParametersInfoW(SPI_GETSCREENREADER, 0, &running, 0) && running) {
                    reader_.listen();
                }
            }
            break;
        case WM_DESTROY:
            for (HWND control : annotated_) {
                reader_.forget(control);
            }
            annotated_.clear();
            break;
        case WM_NCDESTROY: {
            const LRESULT result = ::DefDlgProcW(window_, message, wParam, lParam);
            controls_.reset();
            window_ = nullptr;
            return result;
        }
        default:
            break;
    }
    return ::DefDlgProcW(window_, message, wParam, lParam);
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
        return ::DefDlgProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    return self->handleMessage(message, wParam, lParam);
}

}  // namespace vostrel::win32
