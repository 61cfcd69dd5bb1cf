#include "Controls.h"

#include <algorithm>
#include <stdexcept>

#include "CommandIds.h"
#include "Fonts.h"
#include "forms/Keyboard.h"
#include "platform/WinText.h"

namespace vostrel::win32 {

using forms::Id;

namespace {

constexpr wchar_t kPictureClass[] = L"VostrelPicture";

// What a picture area draws: a picture or an icon, stretched to its client area, on its ground.
struct Picture {
    int ground = COLOR_BTNFACE;
    Bitmap bitmap;
    HICON icon = nullptr;
};

void paintPicture(HWND window, const Picture& picture) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    RECT client;
    ::GetClientRect(window, &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(picture.ground));
    if (picture.bitmap) {
        HDC source = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(source, picture.bitmap.handle());
        ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, picture.bitmap.width(),
                     picture.bitmap.height(), SRCCOPY);
        ::SelectObject(source, old);
        ::DeleteDC(source);
    } else if (picture.icon != nullptr) {
        ::DrawIconEx(dc, 0, 0, picture.icon, client.right, client.bottom, 0, nullptr, DI_NORMAL);
    }
    // The focus cue as the system's controls draw theirs, inside the frame.
    if (::GetFocus() == window) {
        ::DrawFocusRect(dc, &client);
    }
    ::EndPaint(window, &paint);
}

LRESULT CALLBACK pictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    const auto* picture =
        reinterpret_cast<const Picture*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // painted whole in WM_PAINT
        case WM_PAINT:
            if (picture != nullptr) {
                paintPicture(window, *picture);
                return 0;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            ::InvalidateRect(window, nullptr, FALSE);  // the focus cue comes or goes
            break;
        case WM_NCDESTROY:
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            break;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void registerPictureClass() {
    static const ATOM registered = [] {
        WNDCLASSEXW picture{};
        picture.cbSize = sizeof picture;
        picture.lpfnWndProc = pictureProc;
        picture.hInstance = ::GetModuleHandleW(nullptr);
        picture.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        picture.lpszClassName = kPictureClass;
        return ::RegisterClassExW(&picture);
    }();
    if (registered == 0) {
        throw std::runtime_error("the picture area's window class could not be registered");
    }
}

int groundColour(forms::Ground ground) {
    return ground == forms::Ground::Window ? COLOR_WINDOW : COLOR_BTNFACE;
}

// The colour the system pairs with the label's ground, so a high-contrast scheme keeps them apart.
COLORREF textColour(const forms::Control& label) {
    if (label.blackText) {
        return RGB(0, 0, 0);
    }
    return ::GetSysColor(label.ground == forms::Ground::Window ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
}

}  // namespace

struct Controls::Item {
    const forms::Control* design = nullptr;
    int commandId = 0;
    HWND window = nullptr;
    std::unique_ptr<Picture> picture;
};

Controls::Controls(const forms::Form& form, HWND parent, int dpi)
    : form_(form), parent_(parent), dpi_(dpi) {
    registerPictureClass();
    for (std::size_t i = 0; i < form.controls.size(); ++i) {
        auto made = std::make_unique<Item>();
        made->design = &form.controls[i];
        made->commandId = controlId(i);
        items_.push_back(std::move(made));
    }
    for (const forms::Control* design : forms::stackingOrder(form)) {
        Item& made = *items_[static_cast<std::size_t>(design - form.controls.data())];
        create(made);
        // Each above those made before it.
        ::SetWindowPos(made.window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

Controls::~Controls() {
    for (const auto& made : items_) {
        if (made->window != nullptr && ::IsWindow(made->window)) {
            ::DestroyWindow(made->window);
        }
        if (made->picture != nullptr && made->picture->icon != nullptr) {
            ::DestroyIcon(made->picture->icon);
        }
    }
    for (const auto& [design, handle] : fonts_) {
        ::DeleteObject(handle);
    }
}

HFONT Controls::font(const forms::Font* design) {
    HFONT& handle = fonts_[design];
    if (handle == nullptr) {
        handle = createFont(design, dpi_);
    }
    return handle;
}

void Controls::create(Item& made) {
    const forms::Control& design = *made.design;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    const wchar_t* windowClass = L"STATIC";
    std::wstring text;
    void* parameter = nullptr;
    if (design.border == forms::Border::Sunken) {
        exStyle |= WS_EX_CLIENTEDGE;
    } else if (design.border == forms::Border::Flat) {
        style |= WS_BORDER;
    }
    switch (design.kind) {
        case forms::Kind::Label:
            text = widen(design.caption);
            // Hit by the pointer itself, so a press on it reaches no control beneath.
            style |= SS_NOPREFIX | SS_NOTIFY | (design.centred ? SS_CENTER : SS_LEFT);
            if (design.vertical == forms::Vertical::Middle) {
                style |= SS_CENTERIMAGE;  // one line, centred from top to bottom
            }
            break;
        case forms::Kind::Button:
            windowClass = L"BUTTON";
            text =
                widen(forms::markedCaption(forms::accessText(design.caption, design.accessKeys)));
            style |= BS_PUSHBUTTON;
            break;
        case forms::Kind::Picture:
            windowClass = kPictureClass;
            made.picture = std::make_unique<Picture>();
            made.picture->ground = groundColour(design.ground);
            parameter = made.picture.get();
            break;
    }
    const forms::Rect bounds = forms::pixelRect(design.rect, dpi_);
    made.window = ::CreateWindowExW(exStyle, windowClass, text.c_str(), style, bounds.left,
                                    bounds.top, bounds.width, bounds.height, parent_,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(made.commandId)),
                                    ::GetModuleHandleW(nullptr), parameter);
    if (made.window == nullptr) {
        throw std::runtime_error("a control could not be made");
    }
    ::SendMessageW(made.window, WM_SETFONT, reinterpret_cast<WPARAM>(font(design.font)), FALSE);
}

// The icon is drawn at the size of its area, from the program file's own icon made for that
// size rather than stretched.
// Departure: an image for each density, not one 32 × 32 image stored with the window
// (docs/departures.md).
void Controls::loadIcon(Item& made) {
    RECT client;
    ::GetClientRect(made.window, &client);
    if (made.picture->icon != nullptr) {
        ::DestroyIcon(made.picture->icon);
    }
    made.picture->icon =
        static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                        IMAGE_ICON, client.right, client.bottom, 0));
    ::InvalidateRect(made.window, nullptr, FALSE);
}

const Controls::Item& Controls::item(Id id, int index) const {
    for (const auto& made : items_) {
        if (made->design->id == id && made->design->index == index) {
            return *made;
        }
    }
    throw std::out_of_range("no such control on this window");
}

Controls::Item& Controls::item(Id id, int index) {
    return const_cast<Item&>(std::as_const(*this).item(id, index));
}

HWND Controls::window(Id id, int index) const {
    return item(id, index).window;
}

const forms::Control* Controls::control(int commandId) const {
    for (const auto& made : items_) {
        if (made->commandId == commandId) {
            return made->design;
        }
    }
    return nullptr;
}

int Controls::frameWidth(Id id) const {
    HWND control = window(id);
    RECT outer;
    RECT inner;
    ::GetWindowRect(control, &outer);
    ::GetClientRect(control, &inner);
    return (outer.right - outer.left - inner.right) / 2;
}

forms::TextSize Controls::measureText(Id id, std::string_view text) const {
    HWND control = window(id);
    const std::wstring wide = widen(text);
    HDC dc = ::GetDC(control);
    HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return {static_cast<int>(extent.cx), static_cast<int>(metrics.tmHeight)};
}

void Controls::setCaption(Id id, std::string_view text) {
    Item& made = item(id);
    ::SetWindowTextW(made.window, widen(text).c_str());
}

void Controls::move(Item& made, const forms::Rect& bounds) {
    // Nothing of the old pixels is kept: a caption moves within its label as the label changes
    // size, so copied pixels would show old text beside the new.
    ::SetWindowPos(made.window, nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    ::RedrawWindow(made.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void Controls::setBounds(forms::ControlRef control, const forms::Rect& bounds) {
    Item& made = item(control.id, control.index);
    move(made, bounds);
    if (made.design->image == forms::Image::ProgramIcon) {
        loadIcon(made);
    }
}

void Controls::setPicture(Id id, Bitmap picture) {
    Item& made = item(id);
    made.picture->bitmap = std::move(picture);
    ::InvalidateRect(made.window, nullptr, FALSE);
}

void Controls::showDefault(std::optional<forms::ControlRef> button) {
    for (const auto& made : items_) {
        const bool framed = button == made->design->ref();
        const auto style = static_cast<DWORD>(::GetWindowLongW(made->window, GWL_STYLE));
        if (made->design->kind == forms::Kind::Button &&
            ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) != framed) {
            ::SendMessageW(made->window, BM_SETSTYLE, framed ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON,
                           TRUE);
        }
    }
}

HBRUSH Controls::paintLabel(HWND label, HDC dc) const {
    for (const auto& made : items_) {
        if (made->window != label) {
            continue;
        }
        const forms::Control& design = *made->design;
        ::SetTextColor(dc, textColour(design));
        const int colour = groundColour(design.ground);
        ::SetBkColor(dc, ::GetSysColor(colour));
        return ::GetSysColorBrush(colour);
    }
    return nullptr;
}

void Controls::setDpi(int dpi) {
    dpi_ = dpi;
    std::map<const forms::Font*, HFONT> old;
    old.swap(fonts_);
    for (const auto& made : items_) {
        ::SendMessageW(made->window, WM_SETFONT, reinterpret_cast<WPARAM>(font(made->design->font)),
                       TRUE);
    }
    for (const auto& [design, handle] : old) {
        ::DeleteObject(handle);
    }
}

}  // namespace vostrel::win32
