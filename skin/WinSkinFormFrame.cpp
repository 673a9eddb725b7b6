// Frame painting of the form skin: border widths and caption buttons from the skin,
// fitting the window so its client area keeps its size, the borders, the caption strip
// with the window title and the caption buttons, the window region cut where the border
// images are transparent, and the window icon of the system-menu button.  Geometry comes
// from WinSkinFormGeometry.h; nothing here decides a rectangle of its own.
#include "WinSkinForm.h"
#include "WinSkinForm_impl.h"

#include <algorithm>
#include <vector>

#include "Forms.h"
#include "Handles.h"
#include "SkinManage.h"
#include "SkinPrimitives.h"
#include "WinSkinData.h"
#include "WinSkinFormGeometry.h"
#include "WinSkinMenu.h"

namespace {

TDataSkinObject* borderPart(TSkinData* data, int index) {
    if (!data) return nullptr;
    switch (index) {
    case 1: return data->Left.get();
    case 2: return data->Right.get();
    case 3: return data->Top.get();
    case 4: return data->Bottom.get();
    default: return nullptr;
    }
}

int width(const RECT& r) { return r.right - r.left; }
int height(const RECT& r) { return r.bottom - r.top; }

bool isMaximizeAction(int action) { return action == 1 || action == 22; }
bool isMinimizeAction(int action) { return action == 2 || action == 23; }

}  // namespace

skinframe::FrameMetrics TWinSkinForm::frameMetrics() const {
    return skinframe::FrameMetrics{FBorderLeft, FBorderTop, FBorderRight, FBorderBottom, FMenuHeight};
}

// ---- measurements -----------------------------------------------------------------------

void TWinSkinForm::LoadBorders() {
    if (!FSkinData || FSkinData->NoSkin()) return;
    if (FBorderKind == bkNoCaption) {
        FBorderLeft = FBorderTop = FBorderRight = FBorderBottom = 0;
        FMenuHeight = 0;
    } else {
        // Cells of the left and right parts lie side by side, those of the top and bottom
        // parts one below the other.
        FBorderLeft = skinframe::CellLength(FSkinData->Left->Image.Width(), FSkinData->Left->Frame);
        FBorderRight = skinframe::CellLength(FSkinData->Right->Image.Width(), FSkinData->Right->Frame);
        FBorderTop = skinframe::CellLength(FSkinData->Top->Image.Height(), FSkinData->Top->Frame);
        FBorderBottom = skinframe::CellLength(FSkinData->Bottom->Image.Height(), FSkinData->Bottom->Frame);
    }
    forgetRenderedParts();
    FreeSysButtons();
    bool iconLoaded = false;
    for (const auto& definition : FSkinData->CaptionButtons) {
        auto button = std::make_unique<TWinSysButton>(this, definition);
        button->Index = static_cast<int>(FSysButtons.size());
        FSysButtons.push_back(std::move(button));
        // The system-menu button shows the window's icon.  The definition is shared by
        // every window of the skin, so it is left as it is: a button without an image of
        // its own takes the small-icon size at layout.
        if (definition && skinframe::IsIconAction(definition->Action) && !iconLoaded) {
            LoadSmallIcon(*FIconBitmap);
            iconLoaded = true;
        }
    }
}

void TWinSkinForm::FitWindowToSkin(bool refit) {
    if (FWindowState == wsSkinMaximized) {
        placeMaximized();
        FrameChanged();
        return;
    }
    RECT window{};
    GetWindowRect(FHandle, &window);
    if (FDialogClass || FSkinState == ssReapplying) GetClientRect(FHandle, &FClientRect);
    int w = width(FClientRect) + FBorderLeft + FBorderRight;
    int clientHeight = height(FClientRect);
    if (refit) {
        GetClientRect(FHandle, &FClientRect);
    } else if (FControl) {
        w = FControl->ClientWidth() + FBorderLeft + FBorderRight;
        clientHeight = FWindowKind == wkMDIChild ? FControl->ClientHeight() : FControl->ClientHeight() - FMenuHeight;
    }
    clientHeight = std::max(clientHeight, 0);
    const int h = clientHeight + FBorderTop + FBorderBottom + FMenuHeight;

    if (FDialogClass && !refit && FSkinData) {
        FCaptionText = ReadCaptionText(FHandle);
        {
            WindowDcGuard dc(FHandle, true);
            SelectGuard font(dc.get(), FCaptionFont ? FCaptionFont->Handle() : nullptr);
            RECT measured{0, 0, 0, 0};
            SkinDrawText(dc.get(), FCaptionText, measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            FCaptionTextWidth = width(measured);
        }
        const int needed = FSkinData->Title->Margins.Left + FCaptionTextWidth + FSkinData->Title->Margins.Right;
        if (w < needed) {
            const int shift = (needed - w) / 2;
            for (HWND child = GetTopWindow(FHandle); child;) {
                const HWND next = GetWindow(child, GW_HWNDNEXT);
                RECT r{};
                GetWindowRect(child, &r);
                POINT topLeft{r.left, r.top};
                ScreenToClient(FHandle, &topLeft);
                SetWindowPos(child, HWND_TOP, topLeft.x + shift, topLeft.y, width(r), height(r),
                             SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
                child = next;
            }
            w = needed;
        }
    }
    // The skin's frame is mostly larger than the system's: a window placed inside the work
    // area (a dialog the system placed against its bottom edge) stays inside it.
    RECT fitted{window.left, window.top, window.left + w, window.top + h};
    UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!FChild && GetMonitorInfoA(MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        fitted = skinframe::KeepInWorkArea(window, fitted, monitor.rcWork);
        if (fitted.left != window.left || fitted.top != window.top) flags &= ~static_cast<UINT>(SWP_NOMOVE);
    }
    SetWindowPos(FHandle, nullptr, fitted.left, fitted.top, w, h, flags);
}

namespace {

// How far past the work area the system lets a maximised window of this style reach on
// each side: its frame as the system measures it for maximising (a full caption counts
// its dialog frame, not its border).
int maximizedInset(DWORD style, DWORD exStyle) {
    if ((style & WS_CAPTION) == WS_CAPTION) style &= ~static_cast<DWORD>(WS_BORDER);
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return -r.left;
}

}  // namespace

void TWinSkinForm::placeMaximized() {
    if (!(FCaps & capCaptionToggle) || FWindowKind == wkMDIChild || FChild) return;
    const DWORD style = static_cast<DWORD>(GetWindowLongA(FHandle, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(FHandle, GWL_EXSTYLE));
    if ((style & WS_CAPTION) == WS_CAPTION) return;
    RECT window{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetWindowRect(FHandle, &window) ||
        !GetMonitorInfoA(MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    RECT captioned = monitor.rcWork, bare = monitor.rcWork;
    const int captionedInset = maximizedInset(style | WS_CAPTION, exStyle);
    const int bareInset = maximizedInset(style, exStyle);
    InflateRect(&captioned, captionedInset, captionedInset);
    InflateRect(&bare, bareInset, bareInset);
    // Only the system's own place for the captioned window is corrected: a window the
    // program placed itself keeps its place.
    if (!EqualRect(&window, &captioned) || EqualRect(&window, &bare)) return;
    SetWindowPos(FHandle, nullptr, bare.left, bare.top, width(bare), height(bare), SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- painting ---------------------------------------------------------------------------

std::unique_ptr<TBitmap> TWinSkinForm::renderBorderPart(int index, int w, int h) {
    TDataSkinObject* part = borderPart(FSkinData, index);
    if (!part || w <= 0 || h <= 0 || part->Image.Empty()) return nullptr;
    const int cells = std::max(part->Frame, 1);
    const int cell = (cells == 1 || FActive) ? 1 : 2;
    const StripAxis axis = index >= 3 ? StripAxis::Vertical : StripAxis::Horizontal;
    const CentreFill fill = part->Tile == 1 ? CentreFill::Stretch : CentreFill::Tile;
    return RenderSkinPart(RECT{0, 0, w, h}, part->Image, part->Margins, axis, fill, cells, cell);
}

TBitmap* TWinSkinForm::cachedBorderPart(int index, int w, int h) {
    TDataSkinObject* part = borderPart(FSkinData, index);
    if (!part || w <= 0 || h <= 0 || part->Image.Empty()) return nullptr;
    const int cell = (std::max(part->Frame, 1) == 1 || FActive) ? 1 : 2;
    auto slot = std::find_if(renderedParts_.begin(), renderedParts_.end(),
                             [&](const RenderedPart& p) { return p.index == index && p.cell == cell; });
    if (slot != renderedParts_.end() && slot->width == w && slot->height == h) return slot->bitmap.get();
    std::unique_ptr<TBitmap> bitmap = renderBorderPart(index, w, h);
    if (!bitmap || bitmap->Empty()) return nullptr;
    if (slot == renderedParts_.end()) slot = renderedParts_.insert(renderedParts_.end(), RenderedPart{});
    *slot = RenderedPart{index, cell, w, h, std::move(bitmap)};
    return slot->bitmap.get();
}

void TWinSkinForm::forgetRenderedParts() {
    leftPart_ = rightPart_ = nullptr;
    renderedParts_.clear();
}

void TWinSkinForm::releaseRenderedPartDcs() {
    // A kept part holds only its bitmap between paints, not a memory DC as well.
    for (RenderedPart& p : renderedParts_) p.bitmap->Canvas().FreeContext();
}

void TWinSkinForm::PaintBorderPart(int index, const RECT& rect, HDC dc) {
    const int w = width(rect), h = height(rect);
    TBitmap* bitmap = cachedBorderPart(index, w, h);
    if (!bitmap) return;
    BitBlt(dc, rect.left, rect.top, w, h, bitmap->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TWinSkinForm::PaintFrame(HDC dc) {
    if (FSkinState != ssActive && FSkinState != ssReapplying) return;
    if (FBorderKind == bkNoCaption || !FSkinData || FSkinData->NoSkin()) return;
    if (FWindowKind == wkMDIChild && FWindowState == wsSkinMaximized) return;
    HDC acquired = nullptr;
    if (!dc) {
        acquired = GetWindowDC(FHandle);
        dc = acquired;
    }
    if (dc) {
        try {
            GetWindowRect(FHandle, &FWindowRect);
            FWidth = width(FWindowRect);
            FHeight = height(FWindowRect);
            if (FWindowState == wsSkinMinimized) {
                PaintCaption(dc);
            } else {
                const skinframe::FrameRects rects = skinframe::CalcFrameRects(frameMetrics(), FWidth, FHeight);
                takeSideParts();
                if (leftPart_)
                    BitBlt(dc, rects.left.left, rects.left.top, width(rects.left), height(rects.left),
                           leftPart_->Canvas().Handle(), 0, 0, SRCCOPY);
                if (rightPart_)
                    BitBlt(dc, rects.right.left, rects.right.top, width(rects.right), height(rects.right),
                           rightPart_->Canvas().Handle(), 0, 0, SRCCOPY);
                PaintCaption(dc);
                leftPart_ = rightPart_ = nullptr;
                // The menu strip: the skinned menu bar paints it once it exists.
                if (FMenuHeight > 0 && FSkinData->SkinBrush() && width(rects.menuBar) > 0 && height(rects.menuBar) > 0)
                    FillRect(dc, &rects.menuBar, FSkinData->SkinBrush().get());
                if (FMenuBar && FMenuHeight > 0) FMenuBar->Paint(dc, rects.menuBar);
                // Last: a window lower than its caption and bottom border together still
                // shows its bottom border.
                PaintBorderPart(4, rects.bottom, dc);
            }
        } catch (...) {
            // Painting never fails loudly; the DC is released below.
            leftPart_ = rightPart_ = nullptr;
        }
        releaseRenderedPartDcs();
    }
    // Everything was painted in its normal look: no object stays hot.
    for (auto& button : FSysButtons) button->State = nsNormal;
    if (FMenuBar)
        for (int i = 0; i < FMenuBar->ItemCount(); ++i) FMenuBar->Item(i)->State = nsNormal;
    FHotObject = nullptr;
    if (acquired) ReleaseDC(FHandle, acquired);
}

void TWinSkinForm::takeSideParts() {
    // The left and right parts are kept for the caption, whose corners they form: the
    // caption is composed off screen and never read back.
    const skinframe::FrameRects rects = skinframe::CalcFrameRects(frameMetrics(), FWidth, FHeight);
    leftPart_ = cachedBorderPart(1, width(rects.left), height(rects.left));
    rightPart_ = cachedBorderPart(2, width(rects.right), height(rects.right));
}

int TWinSkinForm::composeCaption(HDC dc) {
    RECT captionRect{};
    const bool minimized = FWindowState == wsSkinMinimized;
    TBitmap& bitmap = *FCaptionBitmap;
    if (minimized) {
        bitmap.SetSize(std::max(FWidth, 1), std::max(FHeight, 1));
        const RECT all{0, 0, FWidth, FHeight};
        if (FSkinData->SkinBrush()) FillRect(bitmap.Canvas().Handle(), &all, FSkinData->SkinBrush().get());
        captionRect = skinframe::NormalRect(0, 0, FWidth, FBorderTop);
    } else {
        bitmap.SetSize(std::max(FWidth, 1), std::max(FBorderTop, 1));
        HDC target = bitmap.Canvas().Handle();
        // The corners are the top rows of the left and right parts.
        if (leftPart_) BitBlt(target, 0, 0, leftPart_->Width(), FBorderTop, leftPart_->Canvas().Handle(), 0, 0, SRCCOPY);
        else BitBlt(target, 0, 0, FBorderLeft, FBorderTop, dc, 0, 0, SRCCOPY);
        const int rightLeft = std::max(0, FWidth - FBorderRight);
        if (rightPart_)
            BitBlt(target, rightLeft, 0, rightPart_->Width(), FBorderTop, rightPart_->Canvas().Handle(), 0, 0, SRCCOPY);
        else BitBlt(target, rightLeft, 0, FBorderRight, FBorderTop, dc, rightLeft, 0, SRCCOPY);
        captionRect = skinframe::CalcFrameRects(frameMetrics(), FWidth, FHeight).caption;
    }
    HDC target = bitmap.Canvas().Handle();
    PaintBorderPart(3, captionRect, target);
    LayoutButtons();
    PaintTitle(target, captionRect);
    PaintButtons(target);
    return minimized ? FHeight : FBorderTop;
}

void TWinSkinForm::PaintCaption(HDC dc) {
    const int rows = composeCaption(dc);
    BitBlt(dc, 0, 0, FCaptionBitmap->Width(), rows, FCaptionBitmap->Canvas().Handle(), 0, 0, SRCCOPY);
    SetBkMode(dc, OPAQUE);
}

void TWinSkinForm::PaintTitle(HDC dc, const RECT& captionRect) {
    if (!FSkinData || height(captionRect) <= 0) return;
    const std::wstring text = ReadCaptionText(FHandle);
    if (text.empty()) return;
    const TDataSkinTitle& title = *FSkinData->Title;
    std::vector<RECT> buttons;
    for (const auto& button : FSysButtons) {
        if (!button->Visible || width(button->Bounds) <= 0) continue;
        if (button->Bounds.top >= FBorderTop) continue;  // in the menu strip
        buttons.push_back(button->Bounds);
    }
    const skinframe::TitleSpan span = skinframe::CalcTitleSpan(title.Margins.Left, title.Margins.Right, frameMetrics(),
                                                               FWidth, buttons.data(), static_cast<int>(buttons.size()));
    const int left = span.left, right = span.right;
    if (right <= left) return;
    RECT r{left, captionRect.top, right, captionRect.bottom};
    if (title.Margins.Top > 0) r.top = std::min<LONG>(captionRect.top + title.Margins.Top, captionRect.bottom);
    UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (title.Margins.Top <= 0) format |= DT_VCENTER;
    switch (title.TextAlignment) {
    case 1: format |= DT_RIGHT; break;
    case 2: format |= DT_CENTER; break;
    default: format |= DT_LEFT; break;
    }
    TColor colour = FActive ? title.ActiveText : title.InActiveText;
    if (colour == clNone) colour = FActive ? FSkinData->Colours.TitleTextActive : FSkinData->Colours.TitleTextNoActive;
    SelectGuard font(dc, FCaptionFont ? FCaptionFont->Handle() : nullptr);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, ColorToRGB(colour));
    SkinDrawText(dc, text, r, format);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

TDataSkinSysButton* TWinSkinForm::glyphOf(const TWinSysButton& button) const {
    TDataSkinSysButton* def = button.Definition.get();
    if (!def || FWindowState != wsSkinMinimized || !isMinimizeAction(def->Action)) return def;
    // A minimised window cannot be minimised: where the minimise button stands it shows the
    // skin's restore glyph (the maximise action's button shown only on maximised windows)
    // and restores the window, as the system's own minimised caption does.
    if (FSkinData)
        for (const auto& other : FSkinData->CaptionButtons)
            if (other && isMaximizeAction(other->Action) && other->Visibility == 1 && !other->Image.Empty())
                return other.get();
    return nullptr;
}

bool TWinSkinForm::buttonImageSize(const TWinSysButton& button, int& cellWidth, int& cellHeight) const {
    TDataSkinSysButton* glyph = glyphOf(button);
    if (!glyph) return false;
    if (!glyph->Image.Empty()) {
        cellWidth = skinframe::CellLength(glyph->Image.Width(), glyph->Frame);
        cellHeight = glyph->Image.Height();
        return true;
    }
    if (skinframe::IsIconAction(glyph->Action) && FIconSize > 0) {
        cellWidth = cellHeight = FIconSize;
        return true;
    }
    return false;
}

void TWinSkinForm::LayoutButtons() {
    const int margin = (FSkinData && FSkinData->MenuBar) ? FSkinData->MenuBar->Margins.Left : 0;
    const size_t count = FSysButtons.size();
    std::vector<RECT> bounds(count);
    std::unique_ptr<bool[]> keep(new bool[count]);
    for (size_t i = 0; i < count; ++i) {
        TWinSysButton& button = *FSysButtons[i];
        int cw = 0, ch = 0;
        keep[i] = IsButtonVisible(static_cast<int>(i)) && buttonImageSize(button, cw, ch);
        if (!keep[i]) continue;
        const TDataSkinSysButton& def = *button.Definition;
        button.Bounds = skinframe::CalcButtonRect(def.Align, def.Xcoord, def.Ycoord, cw, ch, FWidth, frameMetrics(),
                                                  margin, FRightToLeft);
        bounds[i] = button.Bounds;
    }
    // A window narrower than its buttons loses buttons before they overlap: the close
    // button stays longest, the others in the skin's order.
    std::vector<int> order;
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < count; ++i) {
            const bool close = FSysButtons[i]->Definition && FSysButtons[i]->Definition->Action == 0;
            if (close == (pass == 0)) order.push_back(static_cast<int>(i));
        }
    skinframe::KeepUncrowdedButtons(bounds.data(), order.data(), static_cast<int>(count), FWidth, keep.get());
    // What is not drawn cannot be clicked either (a minimised window's minimise button
    // when the skin has no restore glyph, a crowded-out button).
    for (size_t i = 0; i < count; ++i) FSysButtons[i]->Visible = keep[i];
}

skinframe::ButtonFacts TWinSkinForm::buttonFacts() {
    skinframe::ButtonFacts f;
    f.maximized = FWindowState == wsSkinMaximized;
    f.active = FActive;
    f.maximizeBox = (FCaps & capMaximize) != 0;
    f.minimizeBox = (FCaps & capMinimize) != 0;
    f.sysMenu = (FCaps & capSysMenu) != 0;
    f.dialogFrame = FBorderKind == bkDialog;
    f.dialogClass = FDialogClass;
    f.mdiChildMaximizedInBar = FMenuBar != nullptr && IsMDIChildMaximized();
    return f;
}

bool TWinSkinForm::IsButtonVisible(int index) {
    if (index < 0 || index >= static_cast<int>(FSysButtons.size())) return false;
    TWinSysButton& button = *FSysButtons[static_cast<size_t>(index)];
    if (!button.Definition) return button.Visible = false;
    const TDataSkinSysButton& def = *button.Definition;
    skinframe::ButtonFacts f = buttonFacts();
    if (def.Visibility >= 1000 && def.Visibility <= 2000)
        f.hostAnswer = static_cast<int>(SendMessageA(FHandle, WM_SKINBUTTONVISIBLE, static_cast<WPARAM>(def.Visibility),
                                                     static_cast<LPARAM>(def.Action)));
    button.Visible = skinframe::ButtonVisible(def.Visibility, def.Visibility1, def.Action, f);
    return button.Visible;
}

void TWinSkinForm::PaintButtons(HDC dc) {
    for (auto& buttonPtr : FSysButtons) {
        TWinSysButton& button = *buttonPtr;
        if (!button.Visible || !button.Definition) continue;
        // The document buttons in the menu strip are the menu bar's to paint.
        if (button.Definition->Visibility == skinframe::kVisibleInMenuStrip) continue;
        if (skinframe::IsIconAction(button.Definition->Action)) {
            DrawSmallIcon(dc, button.Bounds);
            continue;
        }
        if (TKeyedPicture* picture = cachedButtonCell(button, normalButtonCell(button)))
            DrawKeyedPicture(dc, button.Bounds.left, button.Bounds.top, *picture);
    }
}

TKeyedPicture* TWinSkinForm::cachedButtonCell(const TWinSysButton& button, int cell) {
    TDataSkinSysButton* glyph = glyphOf(button);
    if (!glyph || glyph->Image.Empty()) return nullptr;
    const int w = width(button.Bounds), h = height(button.Bounds);
    if (w <= 0 || h <= 0) return nullptr;
    auto slot = std::find_if(renderedButtons_.begin(), renderedButtons_.end(), [&](const RenderedButton& r) {
        return r.index == button.Index && r.cell == cell;
    });
    if (slot != renderedButtons_.end() && slot->glyph == glyph && slot->width == w && slot->height == h)
        return &slot->keyed;
    TKeyedPicture keyed = RenderStripCellKeyed(glyph->Image, std::max(glyph->Frame, 1), cell, w, h);
    if (keyed.Empty()) return nullptr;
    if (slot == renderedButtons_.end()) slot = renderedButtons_.insert(renderedButtons_.end(), RenderedButton{});
    *slot = RenderedButton{button.Index, cell, w, h, glyph, std::move(keyed)};
    return &slot->keyed;
}

int TWinSkinForm::normalButtonCell(const TWinSysButton& button) const {
    TDataSkinSysButton* glyph = glyphOf(button);
    const int cells = glyph ? std::max(glyph->Frame, 1) : 1;
    return (FActive || cells < 4) ? 1 : 4;
}

void TWinSkinForm::PaintSysButton(TWinSysButton& button, int cell) {
    if (FSkinState != ssActive && FSkinState != ssReapplying) return;
    if (!button.Definition || !button.Visible || !FSkinData || FSkinData->NoSkin()) return;
    TDataSkinSysButton& def = *button.Definition;
    WindowDcGuard dc(FHandle, true);
    if (!dc.get()) return;
    if (def.Visibility == skinframe::kVisibleInMenuStrip) {
        paintBarButton(dc.get(), button, cell == nsHot ? 4 : cell);
        return;
    }
    // The cells are keyed: drawn over what the screen shows they would keep the look they
    // replace where they are transparent.  The caption is composed again as a frame paint
    // draws it, the button's cell goes over its normal look, and only the button's own
    // rectangle goes to the screen: leaving a button gives back exactly its old pixels.
    try {
        takeSideParts();
        const int rows = composeCaption(dc.get());
        leftPart_ = rightPart_ = nullptr;
        if (button.Visible) {
            HDC composed = FCaptionBitmap->Canvas().Handle();
            const bool normalLook = cell == nsNormal;
            if (!normalLook && !skinframe::IsIconAction(def.Action))
                if (TKeyedPicture* picture = cachedButtonCell(button, cell))
                    DrawKeyedPicture(composed, button.Bounds.left, button.Bounds.top, *picture);
            RECT r{};
            const RECT strip{0, 0, FCaptionBitmap->Width(), rows};
            if (IntersectRect(&r, &button.Bounds, &strip))
                BitBlt(dc.get(), r.left, r.top, width(r), height(r), composed, r.left, r.top, SRCCOPY);
        }
    } catch (...) {
        // Painting never fails loudly.
        leftPart_ = rightPart_ = nullptr;
    }
    releaseRenderedPartDcs();
}

void TWinSkinForm::paintBarButton(HDC dc, TWinSysButton& button, int cell) {
    // A document's button in the menu bar: the bar as painted without its captions under
    // it, then the cell.
    if (!FMenuBar) return;
    const RECT& bar = FMenuBar->BarRect();
    TBitmap& cache = FMenuBar->BarCache();
    RECT r{};
    if (cache.Empty() || !IntersectRect(&r, &button.Bounds, &bar)) return;
    TBitmap composed;
    composed.SetSize(width(button.Bounds), height(button.Bounds));
    HDC target = composed.Canvas().Handle();
    HDC source = cache.Canvas().Handle();
    if (!target || !source) return;
    BitBlt(target, r.left - button.Bounds.left, r.top - button.Bounds.top, width(r), height(r), source, r.left - bar.left,
           r.top - bar.top, SRCCOPY);
    if (TKeyedPicture* picture = cachedButtonCell(button, cell)) DrawKeyedPicture(target, 0, 0, *picture);
    BitBlt(dc, r.left, r.top, width(r), height(r), target, r.left - button.Bounds.left, r.top - button.Bounds.top,
           SRCCOPY);
}

// ---- region -----------------------------------------------------------------------------

UniqueRegion TWinSkinForm::partRegion(int index, int w, int h, int dx, int dy) {
    // The region is cut from the part as the next paint draws it (the same size and cell).
    TBitmap* bitmap = cachedBorderPart(index, w, h);
    if (!bitmap) return UniqueRegion(CreateRectRgn(dx, dy, dx + std::max(w, 0), dy + std::max(h, 0)));
    UniqueRegion region(CreateRegionFromBitmap(*bitmap, dx, dy, 1, 1, 1, kSkinKeyColour));
    bitmap->Canvas().FreeContext();
    return region;
}

void TWinSkinForm::UpdateRegion() {
    if (FSkinState == ssGone || !FFrameSkinned || !FSkinData || FSkinData->NoSkin()) return;
    RECT window{};
    if (!GetWindowRect(FHandle, &window)) return;
    const int w = width(window), h = height(window);
    if (w <= 0 || h <= 0) return;
    if (FWindowKind == wkMDIChild && FWindowState != wsSkinNormal) return;
    if (FWindowKind != wkMDIChild && FSkinState != ssReapplying && FRegionSet && w == FRegionWidth &&
        h == FRegionHeight)
        return;

    const bool anyTransparent = FSkinData->Left->Trans != 0 || FSkinData->Right->Trans != 0 ||
                                FSkinData->Top->Trans != 0 || FSkinData->Bottom->Trans != 0;
    UniqueRegion region;
    FRegionWidth = w;
    FRegionHeight = h;
    if (!anyTransparent) {
        region.reset(CreateRectRgn(0, 0, w, h));
    } else {
        const skinframe::FrameRects rects = skinframe::CalcFrameRects(frameMetrics(), w, h);
        region.reset(CreateRectRgn(rects.client.left, rects.client.top - FMenuHeight, rects.client.right,
                                   rects.client.bottom));
        if (FBorderKind != bkNoCaption && region) {
            const int innerWidth = std::max(0, w - FBorderLeft - FBorderRight);
            UniqueRegion left = FSkinData->Left->Trans == 1 && h > 1
                                    ? partRegion(1, FBorderLeft, h, 0, 0)
                                    : UniqueRegion(CreateRectRgn(0, 0, rects.left.right, h));
            UniqueRegion right = FSkinData->Right->Trans == 1 && h > 1
                                     ? partRegion(2, FBorderRight, h, rects.right.left, 0)
                                     : UniqueRegion(CreateRectRgn(rects.right.left, 0, w, h));
            UniqueRegion bottom = FSkinData->Bottom->Trans == 1 && FBorderBottom >= 2
                                      ? partRegion(4, innerWidth, FBorderBottom, FBorderLeft, h - FBorderBottom)
                                      : UniqueRegion(CreateRectRgn(rects.bottom.left, rects.bottom.top,
                                                                   rects.bottom.right, rects.bottom.bottom));
            UniqueRegion top = FSkinData->Top->Trans == 1 && FBorderTop > 1 && innerWidth > 0
                                   ? partRegion(3, innerWidth, FBorderTop, FBorderLeft, 0)
                                   : UniqueRegion(CreateRectRgn(rects.caption.left, 0, rects.caption.right,
                                                                rects.caption.bottom));
            if (left && right && top && bottom) {
                CombineRgn(left.get(), left.get(), right.get(), RGN_OR);
                CombineRgn(top.get(), top.get(), bottom.get(), RGN_OR);
                CombineRgn(top.get(), top.get(), left.get(), RGN_OR);
                CombineRgn(region.get(), region.get(), top.get(), RGN_OR);
            } else {
                region.reset(CreateRectRgn(0, 0, w, h));
            }
        }
    }
    if (!region) return;
    // The system owns the region once it is set; a failed call leaves it ours to free
    // (the UniqueRegion does that).
    if (SetWindowRgn(FHandle, region.get(), TRUE)) {
        region.release();
        FRegionSet = true;
    }
}

void TWinSkinForm::ClearRegion() {
    if (!FRegionSet) return;
    SetWindowRgn(FHandle, nullptr, FWindowKind == wkMDIChild);
    FRegionSet = false;
}

void TWinSkinForm::SetSysMenuStyle(bool remove) {
    if (FCaps & capCaptionToggle) return;
    if (!IsWindow(FHandle)) return;
    FStyle = static_cast<DWORD>(GetWindowLongA(FHandle, GWL_STYLE));
    DWORD style = FStyle;
    if (remove) style &= ~static_cast<DWORD>(WS_SYSMENU);
    else if (FSysMenu && (origStyle_ & WS_SYSMENU)) style |= WS_SYSMENU;
    if (style != FStyle) SetWindowLongA(FHandle, GWL_STYLE, static_cast<LONG>(style));
    FStyle = style;
}

// ---- the window icon --------------------------------------------------------------------

void TWinSkinForm::LoadSmallIcon(TBitmap& bitmap) {
    const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
    if (bitmap.Width() != w || bitmap.Height() != h) {
        bitmap.SetSize(w, h);
        // Until an icon is drawn the bitmap is all key colour: nothing shows.
        UniqueBrush key(CreateSolidBrush(kSkinKeyColour));
        const RECT all{0, 0, w, h};
        if (key) FillRect(bitmap.Canvas().Handle(), &all, key.get());
    }
    iconPicture_ = TKeyedPicture{};
    FIconSize = w;
    DWORD_PTR icon = 0;
    SendMessageTimeoutA(FHandle, WM_GETICON, ICON_SMALL, 0, SMTO_ABORTIFHUNG, 200, &icon);
    if (!icon) SendMessageTimeoutA(FHandle, WM_GETICON, ICON_BIG, 0, SMTO_ABORTIFHUNG, 200, &icon);
    FIcon = reinterpret_cast<HICON>(icon);
    if (!FIcon) {
        iconCopy_.reset();
        return;
    }
    // One copy at the small-icon size, drawn on every paint (copying the window's icon
    // from its resource on each paint was a good part of the caption's time).
    iconCopy_.reset(static_cast<HICON>(CopyImage(FIcon, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE)));
    if (iconCopy_) DrawIconEx(bitmap.Canvas().Handle(), 0, 0, iconCopy_.get(), w, h, 0, nullptr, DI_NORMAL);
}

void TWinSkinForm::DrawSmallIcon(HDC dc, const RECT& rect) {
    if (iconCopy_) {
        DrawIconEx(dc, rect.left, rect.top, iconCopy_.get(), FIconSize, FIconSize, 0, nullptr, DI_NORMAL);
        return;
    }
    if (!FIconBitmap || FIconBitmap->Empty()) return;
    if (rect.right - rect.left < FIconBitmap->Width() || rect.bottom - rect.top < FIconBitmap->Height()) {
        DrawTransparentBitmap(dc, rect, *FIconBitmap, kSkinKeyColour);
        return;
    }
    if (iconPicture_.Empty())
        iconPicture_ = RenderStripCellKeyed(*FIconBitmap, 1, 1, FIconBitmap->Width(), FIconBitmap->Height());
    DrawKeyedPicture(dc, rect.left, rect.top, iconPicture_);
}
