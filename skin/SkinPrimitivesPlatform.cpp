// The platform side of the skin primitives: text drawing, the platform flags, the
// window-to-control lookup, the optional user32 entry points, the shared off-screen
// bitmap and painting a control's parent background.
#include <cwchar>

#include "ControlAtom.h"
#include "Controls.h"
#include "SkinPrimitives.h"

// ---- text -----------------------------------------------------------------------------

std::wstring AnsiToWide(const std::string& text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::wstring WideCopy(const wchar_t* buffer, int count) {
    if (!buffer) return {};
    if (count < 0) return std::wstring(buffer);
    // Never past the terminating zero, whatever count says.
    return std::wstring(buffer, wcsnlen(buffer, static_cast<size_t>(count)));
}

int SkinDrawText(HDC dc, const std::wstring& text, RECT& rect, UINT format) {
    // The text is the caller's and is not handed back: the platform must not write into it.
    format &= ~static_cast<UINT>(DT_MODIFYSTRING);
    if (SkinIsNT) return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    std::string ansi;
    if (!text.empty()) {
        const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
        if (n > 0) {
            ansi.resize(static_cast<size_t>(n));
            WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(), n, nullptr, nullptr);
        }
    }
    return DrawTextA(dc, ansi.c_str(), -1, &rect, format);
}

// ---- platform flags -------------------------------------------------------------------

bool SkinIsNT = false;
bool SkinIsWin9x = false;

void InitPlatformFlags() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    SkinIsNT = GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    SkinIsWin9x = (GetVersion() & 0x80000000u) != 0;
}

namespace {

struct PlatformFlagsAtStart {
    PlatformFlagsAtStart() { InitPlatformFlags(); }
} platformFlagsAtStart;

// ---- control lookup -------------------------------------------------------------------

// The atom itself belongs to the class library (GlobalControlAtom): the skin only reads it.
struct ControlAtomHolder {
    ATOM atom = 0;
    HINSTANCE instance = nullptr;
};

ControlAtomHolder& controlAtom() {
    static ControlAtomHolder holder;
    return holder;
}

// ---- user32 ---------------------------------------------------------------------------

using GetScrollBarInfoProc = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
using TrackMouseEventProc = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
using GetComboBoxInfoProc = BOOL(WINAPI*)(HWND, PCOMBOBOXINFO);

struct User32EntryPoints {
    enum class State { NotYet, Bound, Unbound } state = State::NotYet;
    UniqueModule module;
    GetScrollBarInfoProc getScrollBarInfo = nullptr;
    TrackMouseEventProc trackMouseEvent = nullptr;
    GetComboBoxInfoProc getComboBoxInfo = nullptr;
};

User32EntryPoints& user32() {
    static User32EntryPoints entries;
    return entries;
}

// Binds on first use unless the entry points were dropped on purpose.
User32EntryPoints& boundUser32() {
    User32EntryPoints& u = user32();
    if (u.state == User32EntryPoints::State::NotYet) BindUser32EntryPoints();
    return u;
}

}  // namespace

void RegisterControlAtom() {
    ControlAtomHolder& holder = controlAtom();
    holder.instance = GetModuleHandleA(nullptr);
    if (!holder.atom) holder.atom = GlobalControlAtom();
}

ATOM ControlAtom() {
    if (!controlAtom().atom) RegisterControlAtom();
    return controlAtom().atom;
}

HINSTANCE SkinModuleInstance() {
    if (!controlAtom().instance) RegisterControlAtom();
    return controlAtom().instance;
}

TControl* ControlOfWindow(HWND window) {
    if (!window) return nullptr;
    const ATOM atom = ControlAtom();
    if (!atom) return nullptr;
    return static_cast<TControl*>(GetPropA(window, MAKEINTATOM(atom)));
}

void BindUser32EntryPoints() {
    User32EntryPoints& u = user32();
    u.state = User32EntryPoints::State::Bound;
    if (u.module) return;
    u.module.reset(LoadLibraryA("user32.dll"));
    if (!u.module) return;
    u.getScrollBarInfo = reinterpret_cast<GetScrollBarInfoProc>(GetProcAddress(u.module.get(), "GetScrollBarInfo"));
    u.trackMouseEvent = reinterpret_cast<TrackMouseEventProc>(GetProcAddress(u.module.get(), "TrackMouseEvent"));
    u.getComboBoxInfo = reinterpret_cast<GetComboBoxInfoProc>(GetProcAddress(u.module.get(), "GetComboBoxInfo"));
}

void UnbindUser32EntryPoints() {
    User32EntryPoints& u = user32();
    u.state = User32EntryPoints::State::Unbound;
    u.getScrollBarInfo = nullptr;
    u.trackMouseEvent = nullptr;
    u.getComboBoxInfo = nullptr;
    u.module.reset();
}

bool HasGetScrollBarInfo() { return boundUser32().getScrollBarInfo != nullptr; }

bool SkinGetScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO* info) {
    const User32EntryPoints& u = boundUser32();
    return u.getScrollBarInfo && info && u.getScrollBarInfo(window, objectId, info) != 0;
}

bool SkinGetComboBoxInfo(HWND window, COMBOBOXINFO* info) {
    const User32EntryPoints& u = boundUser32();
    return u.getComboBoxInfo && info && u.getComboBoxInfo(window, info) != 0;
}

void SkinTrackMouseLeave(HWND window) {
    const User32EntryPoints& u = boundUser32();
    if (!u.trackMouseEvent) return;
    TRACKMOUSEEVENT request{};
    request.cbSize = sizeof request;  // 24 on 64-bit platforms
    request.dwFlags = TME_LEAVE;
    request.hwndTrack = window;
    u.trackMouseEvent(&request);
}

// ---- shared bitmap --------------------------------------------------------------------

TBitmap& SharedPaintBitmap() {
    static TBitmap bitmap;
    static const bool prepared = (bitmap.Canvas().SetStretchMode(COLORONCOLOR), true);
    (void)prepared;
    return bitmap;
}

// ---- parent background ----------------------------------------------------------------

void PaintParentBackground(TControl* control, HDC dc) {
    if (!control || !dc) return;
    TWinControl* parent = control->Parent();
    if (!parent) return;
    const bool designing = (control->ComponentState() & csDesigning) != 0;
    SaveDcGuard saved(dc);
    // The parent paints in its own client coordinates: shift them so that the control's
    // position lands on the DC's origin, and keep the parent to the control's area.
    RECT r = control->ClientRect();
    OffsetRect(&r, control->Left(), control->Top());
    OffsetViewportOrgEx(dc, -control->Left(), -control->Top(), nullptr);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    try {
        parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    } catch (...) {
        if (!designing) throw;
        return;
    }
    try {
        parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    } catch (...) {
        if (!designing) throw;
    }
}
