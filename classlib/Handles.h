// Owning wrappers for GDI objects and other handles.  Owners are move-only; a handle that
// is only borrowed (stock objects, system-colour brushes, a DC passed in) is held by a
// *Ref type, which never frees anything.  Scope guards undo selections, saved DC states
// and DCs obtained from a window.
#pragma once
#include <windows.h>

#include <utility>

template <class H, class Deleter>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) : h_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) { reset(); h_ = std::exchange(o.h_, H{}); }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    H get() const { return h_; }
    explicit operator bool() const { return h_ != H{}; }
    H release() { return std::exchange(h_, H{}); }
    void reset(H h = H{}) {
        if (h_) Deleter()(h_);
        h_ = h;
    }

private:
    H h_{};
};

struct GdiObjectDeleter { void operator()(HGDIOBJ h) const { DeleteObject(h); } };
struct DcDeleter { void operator()(HDC h) const { DeleteDC(h); } };
struct IconDeleter { void operator()(HICON h) const { DestroyIcon(h); } };
struct MenuDeleter { void operator()(HMENU h) const { DestroyMenu(h); } };
struct KernelHandleDeleter { void operator()(HANDLE h) const { if (h != INVALID_HANDLE_VALUE) CloseHandle(h); } };
struct ModuleDeleter { void operator()(HMODULE h) const { FreeLibrary(h); } };
struct WindowDeleter { void operator()(HWND h) const { if (IsWindow(h)) DestroyWindow(h); } };

using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectDeleter>;
using UniquePen = UniqueHandle<HPEN, GdiObjectDeleter>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectDeleter>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectDeleter>;
using UniqueRegion = UniqueHandle<HRGN, GdiObjectDeleter>;
using UniqueMemDC = UniqueHandle<HDC, DcDeleter>;
using UniqueIcon = UniqueHandle<HICON, IconDeleter>;
using UniqueMenu = UniqueHandle<HMENU, MenuDeleter>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleDeleter>;
using UniqueModule = UniqueHandle<HMODULE, ModuleDeleter>;
using UniqueWindow = UniqueHandle<HWND, WindowDeleter>;

// Borrowed handles: never freed.
template <class H>
struct HandleRef {
    H h{};
    HandleRef() = default;
    HandleRef(H handle) : h(handle) {}  // NOLINT: borrowing is implicit by design
    H get() const { return h; }
    explicit operator bool() const { return h != H{}; }
};
using BrushRef = HandleRef<HBRUSH>;
using FontRef = HandleRef<HFONT>;
using DCRef = HandleRef<HDC>;

// Selects an object into a DC for the scope.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~SelectGuard() { if (old_) SelectObject(dc_, old_); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// SaveDC / RestoreDC for the scope.
class SaveDcGuard {
public:
    explicit SaveDcGuard(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
    ~SaveDcGuard() { if (id_) RestoreDC(dc_, id_); }
    SaveDcGuard(const SaveDcGuard&) = delete;
    SaveDcGuard& operator=(const SaveDcGuard&) = delete;

private:
    HDC dc_;
    int id_;
};

// GetDC / GetWindowDC and ReleaseDC for the scope.
class WindowDcGuard {
public:
    explicit WindowDcGuard(HWND wnd, bool wholeWindow = false)
        : wnd_(wnd), dc_(wholeWindow ? GetWindowDC(wnd) : GetDC(wnd)) {}
    ~WindowDcGuard() { if (dc_) ReleaseDC(wnd_, dc_); }
    WindowDcGuard(const WindowDcGuard&) = delete;
    WindowDcGuard& operator=(const WindowDcGuard&) = delete;
    HDC get() const { return dc_; }

private:
    HWND wnd_;
    HDC dc_;
};

// BeginPaint / EndPaint for the scope.
class PaintGuard {
public:
    explicit PaintGuard(HWND wnd) : wnd_(wnd), dc_(BeginPaint(wnd, &ps_)) {}
    ~PaintGuard() { EndPaint(wnd_, &ps_); }
    PaintGuard(const PaintGuard&) = delete;
    PaintGuard& operator=(const PaintGuard&) = delete;
    HDC get() const { return dc_; }
    const RECT& rect() const { return ps_.rcPaint; }

private:
    HWND wnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};
