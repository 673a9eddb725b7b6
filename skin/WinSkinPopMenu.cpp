// The popup-menu window skin: its message handling (the window is subclassed through
// SubclassedWindow), the background rendering and the three painters.
#include "WinSkinPopMenu.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "Handles.h"
#include "ImgUtil.h"
#include "SkinManagerLink.h"
#include "SkinPrimitives.h"
#include "WinSkinData.h"

namespace {

constexpr UINT kWmSkinQuery = 0x3523;  // answered 1 by every skinned window
// The outer ring of the background that is the menu's frame: the items are kept inside it.
constexpr int kFrameWidth = 3;

// GetDCEx: the DC takes the window class's style (not in every SDK header).
constexpr DWORD kDcxUseStyle = 0x00010000;

// "MenuBackground" as rendered for the last few popup sizes.  A menu opened again has the
// same size and skin: rendering its background anew was the larger part of what the skin
// added to opening it.  GUI thread only, as all painting.
struct BackgroundRender {
    std::weak_ptr<TDataSkinObject> part;  // a part that is gone matches nothing
    unsigned generation = 0;
    int w = 0, h = 0;
    std::shared_ptr<TBitmap> bitmap;
};
constexpr size_t kKeptRenders = 4;

std::vector<BackgroundRender>& renders() {
    static std::vector<BackgroundRender> kept;
    return kept;
}

std::shared_ptr<TBitmap> renderedBackground(const std::shared_ptr<TDataSkinObject>& part, unsigned generation,
                                            const RECT& size) {
    auto& kept = renders();
    kept.erase(std::remove_if(kept.begin(), kept.end(), [](const BackgroundRender& r) { return r.part.expired(); }),
               kept.end());
    for (const BackgroundRender& r : kept)
        if (r.part.lock() == part && r.generation == generation && r.w == size.right && r.h == size.bottom)
            return r.bitmap;
    std::unique_ptr<TBitmap> rendered = RenderSkinPart(size, part->Image, part->Margins, StripAxis::Horizontal,
                                                       part->Tile != 0 ? CentreFill::Tile : CentreFill::Stretch, 1, 1);
    if (!rendered || rendered->Empty()) return nullptr;
    std::shared_ptr<TBitmap> bitmap(std::move(rendered));
    if (kept.size() >= kKeptRenders) kept.erase(kept.begin());
    kept.push_back(BackgroundRender{part, generation, size.right, size.bottom, bitmap});
    return bitmap;
}

// The area the next popup shown keeps clear of (KeepNextClearOf): one popup opens at a time.
RECT& areaToKeepClear() {
    static RECT area{};
    return area;
}

bool skinningEnabled() {
    TSkinManagerLink* manager = SkinManager();
    return manager && manager->Enabled();
}

// The client origin in window coordinates.
POINT clientOffsetOf(HWND window) {
    RECT wr{};
    POINT origin{0, 0};
    if (!GetWindowRect(window, &wr) || !ClientToScreen(window, &origin)) return POINT{0, 0};
    return POINT{origin.x - wr.left, origin.y - wr.top};
}

}  // namespace

TWinSkinPopMenu::~TWinSkinPopMenu() { Detach(); }

TWinSkinPopMenu* TWinSkinPopMenu::OfWindow(HWND window) {
    return SubclassedWindow::OwnerOf<TWinSkinPopMenu>(window, SubclassKind::PopupMenu);
}

void TWinSkinPopMenu::KeepNextClearOf(const RECT& area) { areaToKeepClear() = area; }

void TWinSkinPopMenu::Attach(HWND window, TSkinData* skinData, HMENU menu) {
    if (attached_ || !thunk_.Install(window)) return;
    window_ = window;
    skinData_ = skinData;
    menu_ = menu;
    attached_ = true;
}

void TWinSkinPopMenu::Detach() {
    if (!attached_) return;
    attached_ = false;
    background_ = std::make_shared<TBitmap>();
    renderedPart_ = nullptr;
    itemParts_.Clear();
    // Someone who subclassed the window after us still calls our procedure as theirs: it
    // then stays in place and only passes messages on.
    thunk_.Restore();
}

LRESULT TWinSkinPopMenu::CallDefault(UINT msg, WPARAM wParam, LPARAM lParam) {
    return thunk_.CallPrevious(msg, wParam, lParam);
}

LRESULT TWinSkinPopMenu::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kWmSkinQuery) return 1;
    if (msg == WM_WINDOWPOSCHANGING) return WMWindowPosChanging(wParam, lParam);
    if (!skinningEnabled()) return CallDefault(msg, wParam, lParam);
    switch (msg) {
    case WM_DESTROY:
        // The previous procedure is back before it sees the message.
        Detach();
        return CallDefault(msg, wParam, lParam);
    case WM_ERASEBKGND: return WMEraseBkgnd(wParam, lParam);
    case WM_NCPAINT:
        if (SkinIsNT || SkinIsWin9x) return WMNCPaint(wParam, lParam);
        return 0;
    case WM_PRINTCLIENT: return WMPrintClient(reinterpret_cast<HDC>(wParam), lParam);
    case WM_PAINT: return WMPaint();
    default: return CallDefault(msg, wParam, lParam);
    }
}

LRESULT TWinSkinPopMenu::WMWindowPosChanging(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallDefault(WM_WINDOWPOSCHANGING, wParam, lParam);
    auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
    RECT& area = areaToKeepClear();
    if (!pos || !(pos->flags & SWP_SHOWWINDOW) || (pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) || IsRectEmpty(&area))
        return result;
    const RECT avoid = area;
    area = RECT{};
    // Windows keeps the popup clear of the area itself (TrackPopupMenuEx's exclusion);
    // Wine 8 places it by the screen's edges alone and pushes a drop-down that has no room
    // below its item up over the item.  It then opens above the item, or below when only
    // there it fits.
    const RECT shown{pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy};
    RECT overlap{};
    if (!IntersectRect(&overlap, &shown, &avoid)) return result;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&avoid, MONITOR_DEFAULTTONEAREST), &monitor)) return result;
    if (avoid.top - monitor.rcWork.top >= pos->cy) pos->y = avoid.top - pos->cy;
    else if (monitor.rcWork.bottom - avoid.bottom >= pos->cy) pos->y = avoid.bottom;
    return result;
}

bool TWinSkinPopMenu::RenderBackground() {
    if (!skinData_ || skinData_->NoSkin()) return false;
    // Held for the call: a skin load replaces the part.
    const std::shared_ptr<TDataSkinObject> keep = skinData_->MenuBackground;
    if (!keep || keep->Image.Empty()) return false;
    RECT wr{};
    if (!GetWindowRect(window_, &wr)) return false;
    const RECT size{0, 0, wr.right - wr.left, wr.bottom - wr.top};
    if (size.right <= 0 || size.bottom <= 0) return false;
    clientOffset_ = clientOffsetOf(window_);
    // A menu paints several times while it opens (frame, print, each item's background):
    // the same skin at the same size renders the same picture.
    if (background_->Width() == size.right && background_->Height() == size.bottom && renderedPart_ == keep.get() &&
        renderedGeneration_ == skinData_->SkinGeneration())
        return true;
    std::shared_ptr<TBitmap> rendered = renderedBackground(keep, skinData_->SkinGeneration(), size);
    if (!rendered || rendered->Empty()) return false;
    background_ = std::move(rendered);
    renderedPart_ = keep.get();
    renderedGeneration_ = skinData_->SkinGeneration();
    return true;
}

LRESULT TWinSkinPopMenu::WMNCPaint(WPARAM updateRegion, LPARAM lParam) {
    if (!RenderBackground()) return CallDefault(WM_NCPAINT, updateRegion, lParam);
    // The system owns the region it hands us and the DC takes ownership of the one it
    // clips with: give it a copy.
    DWORD flags = DCX_WINDOW | kDcxUseStyle;
    HRGN clip = nullptr;
    if (updateRegion > 1) {
        clip = CreateRectRgn(0, 0, 0, 0);
        if (clip && CombineRgn(clip, reinterpret_cast<HRGN>(updateRegion), nullptr, RGN_COPY) != ERROR) {
            flags |= DCX_INTERSECTRGN;
        } else if (clip) {
            DeleteObject(clip);
            clip = nullptr;
        }
    }
    HDC dc = GetDCEx(window_, clip, flags);
    if (!dc) {
        if (clip) DeleteObject(clip);
        return 0;
    }
    if (HDC src = background_->Canvas().Handle())
        BitBlt(dc, 0, 0, background_->Width(), background_->Height(), src, 0, 0, SRCCOPY);
    ReleaseDC(window_, dc);
    return 0;
}

LRESULT TWinSkinPopMenu::WMPrintClient(HDC dc, LPARAM flags) {
    if (!dc || !RenderBackground()) return CallDefault(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags);
    const int w = background_->Width(), h = background_->Height();
    const int dx = clientOffset_.x, dy = clientOffset_.y;
    SaveDcGuard saved(dc);
    // The background is in window coordinates; the DC is the client's.
    if (HDC src = background_->Canvas().Handle()) BitBlt(dc, -dx, -dy, w, h, src, 0, 0, SRCCOPY);
    SetBkMode(dc, TRANSPARENT);
    // The system paints the items over the background, kept inside the frame ring.
    UniqueRegion clip(CreateRectRgn(kFrameWidth - dx, kFrameWidth - dy, w - kFrameWidth - dx, h - kFrameWidth - dy));
    if (clip) ExtSelectClipRgn(dc, clip.get(), RGN_AND);
    return CallDefault(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags);
}

// Windows paints a popup menu's client area by printing it (WM_PRINTCLIENT), Wine paints
// it in WM_PAINT directly; both go through the one printer so the skin shows on both.
LRESULT TWinSkinPopMenu::WMPaint() {
    if (!RenderBackground()) return CallDefault(WM_PAINT, 0, 0);
    PaintGuard paint(window_);
    if (paint.get()) WMPrintClient(paint.get(), PRF_CLIENT);
    return 0;
}

LRESULT TWinSkinPopMenu::WMEraseBkgnd(WPARAM wParam, LPARAM lParam) {
    const bool keepBackground = skinData_ && (skinData_->Options & SkinBit(xoMenuBG)) != 0;
    if (!keepBackground) CallDefault(WM_ERASEBKGND, wParam, lParam);
    return 1;
}
