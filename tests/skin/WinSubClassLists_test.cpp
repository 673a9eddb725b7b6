// The header skin on real header windows under Wine: faces from "Headerbar" (flat test
// skin: one colour per cell), one filler when there are no items (or the header answers
// -1 for its count), hot tracking that ignores the divider zones, item texts cut to the
// buffer, a skin without the part leaving the header alone, and a list view's header
// painted on screen, by itself and through the list view's skin.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ComCtrls.h"
#include "Forms.h"
#include "WinSkinData.h"
#include "WinSubClassListView.h"
#include "WinSubClassLists.h"
#include "skin_data_support.h"
#include "skin_form_support.h"
#include "test_skins.h"

namespace {

using guitest::Capture;
using guitest::PixelIs;
using guitest::TestWindow;
using guitest::TestWindowOptions;
using skinform::FlatRef;
using HeaderSkin = skinform::SkinFormTest;

constexpr int kHeaderWidth = 240;
constexpr int kHeaderHeight = 24;
constexpr int kItemWidth = 60;

HWND MakeHeader(HWND parent, int items, int width = kHeaderWidth) {
    HWND header = CreateWindowExW(0, WC_HEADERW, L"", WS_CHILD | WS_VISIBLE | HDS_HORZ, 0, 0, width, kHeaderHeight,
                                  parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    for (int i = 0; i < items; ++i) {
        std::wstring text = L"C" + std::to_wstring(i);
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.cxy = kItemWidth;
        item.fmt = HDF_LEFT | HDF_STRING;
        item.pszText = text.data();
        SendMessageW(header, HDM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    return header;
}

// The window paints itself through its skin: WM_PAINT carrying the capture's DC.
Capture PaintThroughSkin(HWND window) {
    const RECT r = guitest::ClientRectOf(window);
    Capture capture(r.right, r.bottom);
    if (capture.Valid()) SendMessageW(window, WM_PAINT, reinterpret_cast<WPARAM>(capture.Dc()), 0);
    return capture;
}

void MoveMouse(HWND window, int x, int y) { SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

class HeaderFixture : public HeaderSkin {
protected:
    void SetUp() override {
        HeaderSkin::SetUp();
        TestWindowOptions options;
        options.width = 400;
        options.height = 200;
        parent = MakeWindow(options);
        formSkin = SkinAndApply(parent.Handle());
        ASSERT_NE(formSkin, nullptr);
    }
    void TearDown() override {
        parent.Destroy();
        HeaderSkin::TearDown();
    }
    // A header skin owned by the form skin, on a raw window.
    TSkinHeader* Attach(HWND header, TSkinData* skinData = nullptr) {
        auto* skin = new TSkinHeader(formSkin);
        skin->AttachWindow(header, skinData ? skinData : data.get(), formSkin, nullptr);
        return skin;
    }

    TestWindow parent;
    TWinSkinForm* formSkin = nullptr;
};

TEST_F(HeaderFixture, NoItems_OneFillerOverTheWholeWidth) {
    const HWND header = MakeHeader(parent.Handle(), 0);
    TSkinHeader* skin = Attach(header);
    const Capture c = PaintThroughSkin(header);
    ASSERT_TRUE(c.Valid());
    const COLORREF normal = FlatRef("Headerbar", 1);
    for (POINT p : {POINT{0, 0}, POINT{kHeaderWidth / 2, kHeaderHeight / 2}, POINT{kHeaderWidth - 1, kHeaderHeight - 1}})
        EXPECT_TRUE(PixelIs(c, p.x, p.y, normal));
    EXPECT_TRUE(skin->ItemRects.empty());
}

TEST_F(HeaderFixture, ItemCountMinusOne_IsNoItems) {
    // A header that fails its count (the platform's answer -1) is painted as one filler.
    TestWindowOptions options;
    options.parent = parent.Handle();
    options.style = WS_CHILD | WS_VISIBLE;
    options.x = options.y = 0;
    options.width = kHeaderWidth;
    options.height = kHeaderHeight;
    int rectQueries = 0;
    options.handler = [&](HWND, UINT message, WPARAM, LPARAM, LRESULT* result) {
        if (message == HDM_GETITEMCOUNT) {
            *result = -1;
            return true;
        }
        if (message == HDM_GETITEMRECT) ++rectQueries;
        return false;
    };
    TestWindow failing(options);
    TSkinHeader* skin = Attach(failing.Handle());
    const Capture c = PaintThroughSkin(failing.Handle());
    ASSERT_TRUE(c.Valid());
    EXPECT_TRUE(PixelIs(c, 5, 5, FlatRef("Headerbar", 1)));
    EXPECT_TRUE(PixelIs(c, kHeaderWidth - 5, 5, FlatRef("Headerbar", 1)));
    EXPECT_TRUE(skin->ItemRects.empty());
    EXPECT_EQ(rectQueries, 0);
    EXPECT_EQ(HeaderItemCount(failing.Handle()), 0);
}

TEST_F(HeaderFixture, Items_NormalCellsHotCellAndFiller) {
    const HWND header = MakeHeader(parent.Handle(), 3);
    TSkinHeader* skin = Attach(header);
    PaintThroughSkin(header);  // lays out the item rectangles
    MoveMouse(header, kItemWidth + kItemWidth / 2, 10);
    ASSERT_EQ(skin->HotItem, 1);
    const Capture c = PaintThroughSkin(header);
    ASSERT_TRUE(c.Valid());
    // Bottom-right corners of the faces hold no text.
    const int y = kHeaderHeight - 2;
    EXPECT_TRUE(PixelIs(c, kItemWidth - 2, y, FlatRef("Headerbar", 1))) << "item 0";
    EXPECT_TRUE(PixelIs(c, 2 * kItemWidth - 2, y, FlatRef("Headerbar", 2))) << "item 1, hot";
    EXPECT_TRUE(PixelIs(c, 3 * kItemWidth - 2, y, FlatRef("Headerbar", 1))) << "item 2";
    EXPECT_TRUE(PixelIs(c, kHeaderWidth - 2, y, FlatRef("Headerbar", 1))) << "filler";
    // Nothing is erased first: the paint covers the whole header.
    Capture erase(kHeaderWidth, kHeaderHeight);
    ASSERT_TRUE(erase.Valid());
    EXPECT_EQ(SendMessageW(header, WM_ERASEBKGND, reinterpret_cast<WPARAM>(erase.Dc()), 0), 1);
    EXPECT_FALSE(erase.AnyPainted());
    // The item text is drawn on the face.
    int textPixels = 0;
    for (int x = 0; x < kItemWidth; ++x)
        for (int yy = 0; yy < kHeaderHeight; ++yy)
            if (c.Pixel(x, yy) != FlatRef("Headerbar", 1)) ++textPixels;
    EXPECT_GT(textPixels, 5);
}

TEST_F(HeaderFixture, HotTracking_IgnoresTheDividerZones) {
    const HWND header = MakeHeader(parent.Handle(), 3);
    TSkinHeader* skin = Attach(header);
    EXPECT_EQ(skin->HotItem, -1) << "after attaching";
    PaintThroughSkin(header);
    ASSERT_EQ(skin->ItemRects.size(), 3u);
    const RECT first = skin->ItemRects[0];
    EXPECT_EQ(first.left, 3);
    EXPECT_EQ(first.right, kItemWidth - 3);

    const struct {
        int x;
        int hot;
        const char* row;
    } rows[] = {
        {1, -1, "left divider zone of the first item"},
        {30, 0, "inside item 0"},
        {kItemWidth - 3, 0, "item 0's right divider zone"},
        {kItemWidth - 1, 0, "last pixel of item 0"},
        {kItemWidth, 0, "first pixel of item 1 (its divider zone)"},
        {kItemWidth + 2, 0, "item 1's left divider zone"},
        {kItemWidth + 3, 1, "inside item 1"},
        {2 * kItemWidth + 30, 2, "inside item 2"},
        {kHeaderWidth - 10, 2, "filler keeps the hot item"},
        {2 * kItemWidth - 1, 2, "item 1's right divider zone"},
    };
    for (const auto& row : rows) {
        MoveMouse(header, row.x, 10);
        EXPECT_EQ(skin->HotItem, row.hot) << row.row << " (x " << row.x << ")";
    }
    SendMessageW(header, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(skin->HotItem, -1) << "leaving clears the hot item";
}

TEST_F(HeaderFixture, ReadHeaderItem_TextsCutToTheBuffer) {
    const HWND header = MakeHeader(parent.Handle(), 1);
    const std::wstring longText(150, L'W');
    HDITEMW set{};
    set.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    set.pszText = const_cast<wchar_t*>(longText.c_str());
    set.fmt = HDF_CENTER | HDF_STRING | HDF_IMAGE;
    set.iImage = 4;
    ASSERT_TRUE(SendMessageW(header, HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&set)));
    THeaderItemText item;
    ASSERT_TRUE(ReadHeaderItem(header, 0, item));
    EXPECT_EQ(item.Text, std::wstring(kHeaderTextMax - 1, L'W')) << "the first 99 characters";
    EXPECT_EQ(HeaderTextAlignment(item.Format), 1);
    EXPECT_EQ(HeaderImageIndex(item), 4);
    EXPECT_FALSE(ReadHeaderItem(header, 5, item)) << "no such item";

    // A header that fills the whole buffer and leaves no terminator.
    TestWindowOptions options;
    options.parent = parent.Handle();
    options.style = WS_CHILD;
    options.handler = [](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
        if (message != HDM_GETITEMW) return false;
        auto* record = reinterpret_cast<HDITEMW*>(lParam);
        for (int i = 0; i < record->cchTextMax; ++i) record->pszText[i] = L'x';
        record->fmt = HDF_RIGHT;
        record->iImage = 2;
        *result = TRUE;
        return true;
    };
    TestWindow filling(options);
    ASSERT_TRUE(ReadHeaderItem(filling.Handle(), 0, item));
    EXPECT_EQ(item.Text, std::wstring(kHeaderTextMax - 1, L'x'));
    EXPECT_EQ(HeaderTextAlignment(item.Format), 2);
    EXPECT_EQ(HeaderImageIndex(item), -1) << "no HDF_IMAGE: no image";
    Attach(filling.Handle());
    EXPECT_TRUE(PaintThroughSkin(filling.Handle()).Valid());
}

TEST(HeaderFormat, AlignmentAndImageTable) {
    const struct {
        int fmt;
        int alignment;
        int image;
    } rows[] = {
        {HDF_LEFT, 0, -1},
        {HDF_RIGHT, 2, -1},
        {HDF_CENTER, 1, -1},
        {HDF_LEFT | HDF_IMAGE, 0, 7},
        {HDF_CENTER | HDF_OWNERDRAW, 1, 7},
        {HDF_RIGHT | HDF_BITMAP, 2, -1},
    };
    for (const auto& row : rows) {
        THeaderItemText item;
        item.Format = row.fmt;
        item.Image = 7;
        EXPECT_EQ(HeaderTextAlignment(row.fmt), row.alignment) << std::hex << row.fmt;
        EXPECT_EQ(HeaderImageIndex(item), row.image) << std::hex << row.fmt;
    }
}

TEST_F(HeaderFixture, SkinWithoutHeaderbar_LeavesThePaintingToTheHeader) {
    skintest::FlatSkinOptions options;
    options.omitSections = {"Headerbar"};
    TSkinData plain(nullptr);
    ASSERT_TRUE(skindata::LoadInto(plain, skintest::MakeFlatTestSkin(options)));
    ASSERT_EQ(plain.Headerbar, nullptr);
    const HWND header = MakeHeader(parent.Handle(), 2);
    TSkinHeader* skin = Attach(header, &plain);
    const Capture c = PaintThroughSkin(header);
    ASSERT_TRUE(c.Valid());
    EXPECT_TRUE(c.Painted(kItemWidth / 2, kHeaderHeight - 3)) << "the header painted itself";
    EXPECT_TRUE(c.Painted(kHeaderWidth - 3, kHeaderHeight / 2));
    EXPECT_NE(c.Pixel(kItemWidth / 2, kHeaderHeight - 3), FlatRef("Headerbar", 1));
    skin->Unskin();
    delete skin;
}

TEST_F(HeaderFixture, ListViewHeader_PaintedFromTheSkinOnScreen) {
    ShowWindow(parent.Handle(), SW_SHOWNOACTIVATE);
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 10, 300, 150,
                                parent.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < 2; ++i) {
        wchar_t text[] = L"Column";
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 100;
        column.pszText = text;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    TSkinHeader* skin = Attach(header);
    ASSERT_EQ(SendMessageW(header, WM_SKINQUERY, 0, 0), 1);
    const RECT client = guitest::ClientRectOf(header);
    ASSERT_GT(client.bottom, 4);
    // The system paints the header on screen through the skin; windows of tests running
    // beside this one may cover it for a moment, so the probe is retried.
    bool seen = false;
    guitest::PumpUntil([&] {
        SetWindowPos(parent.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        const Capture c = guitest::CaptureWindow(header, false, guitest::CaptureMethod::WindowDc);
        seen = c.Valid() && c.Pixel(98, client.bottom - 2) == FlatRef("Headerbar", 1) &&
               c.Pixel(198, client.bottom - 2) == FlatRef("Headerbar", 1) &&
               c.Pixel(client.right - 2, client.bottom - 2) == FlatRef("Headerbar", 1);
        return seen;
    });
    EXPECT_TRUE(seen) << "items and filler in the skin's normal cell";
    EXPECT_EQ(skin->ItemRects.size(), 2u);
    DestroyWindow(list);  // the skin stays in the form skin's list, dead
    EXPECT_EQ(skin->Lifecycle, lcDestroyed);
}

// The list view's skin: the scroll-bar covers of a class-library list view, and its
// column header skinned with it and painted on screen.
TEST_F(HeaderSkin, ListViewSkin_SkinsItsHeaderWithTheCovers) {
    auto* form = new TForm(Application);
    form->SetBounds(60, 60, 420, 300);
    TWinSkinForm* formSkin = SkinAndApply(form->Handle());
    ASSERT_NE(formSkin, nullptr);
    auto* list = new TListView(form);
    list->SetParent(form);
    list->SetBounds(10, 10, 300, 150);
    list->SetViewStyle(vsReport);
    for (const char* caption : {"Name", "Size"}) {
        TListColumn* column = list->Columns().Add();
        column->SetCaption(caption);
        column->SetWidth(100);
    }
    for (int i = 0; i < 40; ++i) list->Items().Add()->SetCaption("Line " + std::to_string(i));

    auto* skin = dynamic_cast<TSkinListView*>(CreateSkinControl(TSkinClass::ListView, list));
    ASSERT_NE(skin, nullptr);
    ASSERT_TRUE(skin->AttachScrolling(list, data.get(), formSkin, nullptr));
    const auto header = reinterpret_cast<HWND>(SendMessageW(list->Handle(), LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    ASSERT_NE(skin->HeaderSkin, nullptr);
    EXPECT_EQ(skin->HeaderSkin->Handle, header);
    EXPECT_EQ(skin->HeaderSkin->Owner(), list) << "owned by the list view";
    EXPECT_EQ(SendMessageW(header, WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list->Handle(), WM_SKINQUERY, 0, 0), 1);
    EXPECT_FALSE(skin->AttachScrolling(list, data.get(), formSkin, nullptr)) << "attached once";

    form->Show();
    const RECT client = guitest::ClientRectOf(header);
    ASSERT_GT(client.bottom, 4);
    bool seen = false;
    guitest::PumpUntil([&] {
        SetWindowPos(form->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        const Capture c = guitest::CaptureWindow(header, false, guitest::CaptureMethod::WindowDc);
        seen = c.Valid() && c.Pixel(98, client.bottom - 2) == FlatRef("Headerbar", 1) &&
               c.Pixel(client.right - 2, client.bottom - 2) == FlatRef("Headerbar", 1);
        return seen;
    });
    EXPECT_TRUE(seen) << "the header on screen in the skin's normal cell";
    ASSERT_NE(skin->VertBar, nullptr);
    EXPECT_TRUE(guitest::PumpUntil([&] { return skin->VertBar->Shown; })) << "40 lines need the vertical bar";

    delete form;  // frees the list view with both skins
}

}  // namespace
