#include "ImgList.h"

#include <algorithm>

#include "Handles.h"

const TClassInfo& TImageList::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TImageList>("TImageList", &TComponent::StaticClassInfo(), [](TClassBuilder<TImageList>& b) {
        b.Creatable();
        b.Int("Height", [](TImageList& l) -> int64_t { return l.Height(); }, [](TImageList& l, int64_t v) { l.SetHeight(static_cast<int>(v)); });
        b.Int("Width", [](TImageList& l) -> int64_t { return l.Width(); }, [](TImageList& l, int64_t v) { l.SetWidth(static_cast<int>(v)); });
    });
    return info;
}

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() { destroyHandle(); }

void TImageList::destroyHandle() {
    if (handle_) ImageList_Destroy(handle_);
    handle_ = nullptr;
}

void TImageList::SetSize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == width_ && height == height_) return;
    destroyHandle();
    width_ = width;
    height_ = height;
}

HIMAGELIST TImageList::Handle() {
    if (!handle_) handle_ = ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4);
    return handle_;
}

int TImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

void TImageList::Clear() {
    if (handle_) ImageList_Remove(handle_, -1);
}

int TImageList::AddMasked(TBitmap& bitmap, TColor maskColour) {
    if (bitmap.Empty() || bitmap.Width() < width_ || !Handle()) return -1;
    // The platform blackens the masked pixels of the bitmap it is given and wants it in no
    // DC: hand it a 24-bit copy.
    TBitmap copy;
    copy.Assign(bitmap);
    copy.SetPixelFormat(pf24bit);
    copy.FreeContext();
    return ImageList_AddMasked(handle_, copy.Handle(), ColorToRGB(maskColour));
}

void TImageList::LoadFromResourceName(HINSTANCE instance, const std::string& name, int width, TColor maskColour) {
    TBitmap bitmap;
    bitmap.LoadFromResourceName(instance, name);
    destroyHandle();
    width_ = width > 0 ? width : bitmap.Height();
    height_ = bitmap.Height();
    AddMasked(bitmap, maskColour);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
    if (!handle_ || index < 0 || index >= Count()) return;
    HDC dc = canvas.Handle();
    if (!dc) return;
    if (enabled) {
        ImageList_Draw(handle_, index, dc, x, y, ILD_TRANSPARENT);
        return;
    }
    // Disabled: the image's shape (its mask) in the highlight colour one pixel down and
    // right, then in the shadow colour on top.
    UniqueBitmap shape(CreateBitmap(width_, height_, 1, 1, nullptr));
    UniqueMemDC shapeDc(CreateCompatibleDC(nullptr));
    if (!shape || !shapeDc) return;
    SelectGuard selectShape(shapeDc.get(), shape.get());
    PatBlt(shapeDc.get(), 0, 0, width_, height_, WHITENESS);
    ImageList_Draw(handle_, index, shapeDc.get(), 0, 0, ILD_MASK);
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    const struct { int offset; int sysColour; } passes[] = {{1, COLOR_BTNHIGHLIGHT}, {0, COLOR_BTNSHADOW}};
    for (const auto& pass : passes) {
        UniqueBrush brush(CreateSolidBrush(GetSysColor(pass.sysColour)));
        if (!brush) continue;
        SelectGuard selectBrush(dc, brush.get());
        // Where the shape is black: the brush; where white: the destination stays.
        BitBlt(dc, x + pass.offset, y + pass.offset, width_, height_, shapeDc.get(), 0, 0, 0x00B8074A);
    }
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}
