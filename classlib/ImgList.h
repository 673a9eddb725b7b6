// Image lists: TImageList, equal-sized images in one platform image list (24-bit colour
// with a mask), filled from a bitmap strip and drawn normally or embossed when disabled.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "Bitmap.h"
#include "Classes.h"
#include "Graphics.h"

class TImageList : public TComponent {
    CLASS_INFO(TImageList)
public:
    explicit TImageList(TComponent* owner = nullptr);
    ~TImageList() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // A new image size empties the list.
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    void SetSize(int width, int height);
    int Count() const;

    // The platform image list (ILC_COLOR24 | ILC_MASK), made on first use; owned.
    HIMAGELIST Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void Clear();

    // Cuts the bitmap into Width-wide images (a narrower rest is dropped); pixels of the
    // mask colour become transparent.  The bitmap is not changed.  Returns the index of the
    // first image added, or -1 when none was.
    int AddMasked(TBitmap& bitmap, TColor maskColour);
    // Replaces the list with the images of a bitmap resource: image width `width`, image
    // height the bitmap's height.  Raises EInvalidGraphic when the resource is missing.
    void LoadFromResourceName(HINSTANCE instance, const std::string& name, int width, TColor maskColour);

    // Draws image `index` with its top left at (x, y); a disabled image is drawn embossed
    // in the button highlight and shadow colours.  An index outside the list draws nothing.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);

private:
    void destroyHandle();
    int width_ = 16;
    int height_ = 16;
    HIMAGELIST handle_ = nullptr;
};
