// Owner-drawn menu items from the skin, drawn into DIB sections: measurement, the item
// part's cells, separators, the popup background under an item, flat drawing without the
// part, check marks and the text colours.
#include <gtest/gtest.h>

#include <memory>

#include "Forms.h"
#include "ImgList.h"
#include "Menus.h"
#include "WinSkinMenuItems.h"
#include "gui_test.h"
#include "menu_test_support.h"

namespace {

using menutests::CellRef;
using menutests::ColourRef;
using menutests::FlatSkinTest;

class MenuItems : public FlatSkinTest {
protected:
    void SetUp() override {
        FlatSkinTest::SetUp();
        owner = std::make_unique<TComponent>(nullptr);
        menu = new TPopupMenu(owner.get());
        item = new TMenuItem(owner.get());
        item->SetCaption("Open");
        menu->Items()->Add(item);
    }
    void TearDown() override {
        owner.reset();
        FlatSkinTest::TearDown();
    }
    // Draws with `draw` into a w x h capture pre-filled with white; returns it.
    template <class Draw>
    guitest::Capture drawn(int w, int h, Draw draw) {
        guitest::Capture cap(w, h);
        cap.Fill(0x00FFFFFF);
        TCanvas canvas;
        canvas.SetHandle(cap.Dc());
        draw(canvas);
        canvas.SetHandle(nullptr);
        return cap;
    }
    std::unique_ptr<TComponent> owner;
    TPopupMenu* menu = nullptr;
    TMenuItem* item = nullptr;
};

TEST(MenuItemGeometry, ContentLayout) {
    const RECT r{0, 0, 120, 22};
    struct Row {
        const char* name;
        int glyph, margin;
        bool separator, rtl;
        RECT glyphBox, text;
    } rows[] = {
        {"left to right", 16, 4, false, false, {5, 1, 21, 17}, {24, 0, 119, 22}},
        {"no margin", 16, 0, false, false, {1, 1, 17, 17}, {20, 0, 119, 22}},
        {"wide glyphs", 24, 4, false, false, {5, 1, 29, 25}, {32, 0, 119, 22}},
        {"separator", 16, 4, true, false, {0, 1, 0, 17}, {3, 0, 119, 22}},
        {"right to left", 16, 4, false, true, {99, 1, 115, 17}, {1, 0, 96, 22}},
        {"right to left separator", 16, 4, true, true, {120, 1, 120, 17}, {1, 0, 117, 22}},
    };
    for (const Row& row : rows) {
        const TMenuItemContentLayout l = LayoutMenuItemContent(r, row.glyph, row.margin, row.separator, row.rtl);
        EXPECT_TRUE(guitest::SameRect(l.glyph, row.glyphBox)) << row.name << ": glyph " << guitest::ToString(l.glyph);
        EXPECT_TRUE(guitest::SameRect(l.text, row.text)) << row.name << ": text " << guitest::ToString(l.text);
    }
}

TEST(MenuItemGeometry, SeparatorRowsAndBackgroundSource) {
    EXPECT_EQ(MenuSeparatorSourceRows(22, 8).x, 14) << "a short separator takes the bottom rows";
    EXPECT_EQ(MenuSeparatorSourceRows(22, 8).y, 22);
    EXPECT_EQ(MenuSeparatorSourceRows(22, 22).x, 0);
    EXPECT_EQ(MenuSeparatorSourceRows(22, 30).x, 0) << "a tall separator stretches the whole cell";
    EXPECT_EQ(MenuSeparatorSourceRows(22, 0).x, 0);
    EXPECT_TRUE(guitest::SameRect(MenuItemBackgroundSource(RECT{0, 20, 100, 40}, POINT{3, 3}), RECT{3, 23, 103, 43}));
    EXPECT_TRUE(guitest::SameRect(MenuItemBackgroundSource(RECT{3, 20, 100, 40}, POINT{0, 0}), RECT{3, 20, 100, 40}));
}

TEST_F(MenuItems, TextColours) {
    TSkinColours& c = skin->Colours;
    EXPECT_EQ(MenuItemTextColour(*skin, true, true), c.HilightText);
    EXPECT_EQ(MenuItemTextColour(*skin, true, false), c.MenuText);
    EXPECT_EQ(MenuItemTextColour(*skin, false, false), c.ButtonShadow);
    EXPECT_EQ(MenuItemTextColour(*skin, false, true), c.ButtonShadow) << "disabled wins over selected";
    c.ButtonShadow = c.MenuText;
    EXPECT_EQ(MenuItemTextColour(*skin, false, false), clBtnShadow) << "a shadow that equals the text colour";
}

TEST_F(MenuItems, MeasurePopupItemWidensForTheGlyphColumn) {
    const int margin = MenuItemLeftMargin(skin.get());
    EXPECT_EQ(margin, skin->MenuItem->Margins.Left);
    struct Row {
        const char* name;
        bool withSkin, withImages;
        int expected;
    } rows[] = {{"no image list", true, false, 100 + margin + 35},
                {"image list", true, true, 100 + margin + 12},
                {"no skin component", false, false, 100}};
    TImageList images(owner.get());
    for (const Row& r : rows) {
        menu->SetImages(r.withImages ? &images : nullptr);
        int w = 100, h = 20;
        SkinMeasurePopupItem(r.withSkin ? skin.get() : nullptr, *item, w, h);
        EXPECT_EQ(w, r.expected) << r.name;
        EXPECT_EQ(h, 20) << r.name << ": the height stays";
    }
    menu->SetImages(nullptr);
}

TEST_F(MenuItems, MeasureRawItem) {
    UniqueMemDC dc(CreateCompatibleDC(nullptr));
    SelectGuard font(dc.get(), Screen->MenuFont().Handle());
    SIZE text{};
    GetTextExtentPoint32A(dc.get(), "Open", 4, &text);
    const int margin = MenuItemLeftMargin(skin.get());
    struct Row {
        const char* name;
        const char* text;
        bool win9x;
        UINT width, height;
    } rows[] = {{"text", "Open", false, UINT(text.cx + 26 + margin), 19 + 4},
                {"separator", "", false, UINT(26 + margin), 8},
                {"separator on 9x", "", true, UINT(26 + margin), 12},
                {"text on 9x", "Open", true, UINT(text.cx + 26 + margin), 19 + 8}};
    for (const Row& r : rows) {
        UINT w = 0, h = 19;
        SkinMeasureRawItem(skin.get(), dc.get(), r.text, r.win9x, w, h);
        EXPECT_EQ(w, r.width) << r.name;
        EXPECT_EQ(h, r.height) << r.name;
    }
}

TEST_F(MenuItems, NormalSelectedAndSeparatorCells) {
    // Flat cells: a point clear of the text shows the cell's colour.
    const RECT rect{0, 0, 140, 22};
    const TMenuItemBackground none;
    struct Row {
        const char* name;
        bool line, selected;
        int cell;
    } rows[] = {{"normal", false, false, 1}, {"selected", false, true, 4}, {"separator", true, false, 2}};
    for (const Row& r : rows) {
        item->SetCaption(r.line ? "-" : "Open");
        const guitest::Capture cap = drawn(140, 22, [&](TCanvas& c) {
            SkinDrawMenuItem(*skin, *item, c, rect, r.selected, none, nullptr);
        });
        EXPECT_TRUE(guitest::PixelIs(cap, 134, 11, CellRef("MenuItem", "Image", r.cell))) << r.name;
        EXPECT_TRUE(guitest::PixelIs(cap, 2, 2, CellRef("MenuItem", "Image", r.cell))) << r.name;
    }
}

TEST_F(MenuItems, ShortSeparatorTakesTheBottomRowsOfItsCell) {
    // A cell whose top half is one colour and bottom half another: an 8-row separator shows
    // only the bottom colour.
    TBitmap& image = skin->MenuItem->Image;
    const int cw = image.Width() / 5, h = image.Height();
    HDC dc = image.Canvas().Handle();
    UniqueBrush top(CreateSolidBrush(RGB(10, 200, 10))), bottom(CreateSolidBrush(RGB(200, 10, 200)));
    RECT upper{cw, 0, 2 * cw, h / 2}, lower{cw, h / 2, 2 * cw, h};
    FillRect(dc, &upper, top.get());
    FillRect(dc, &lower, bottom.get());
    item->SetCaption("-");
    const guitest::Capture cap = drawn(60, 8, [&](TCanvas& c) {
        SkinDrawMenuSeparator(*skin, c, RECT{0, 0, 60, 8});
    });
    EXPECT_TRUE(guitest::PixelIs(cap, 30, 0, RGB(200, 10, 200)));
    EXPECT_TRUE(guitest::PixelIs(cap, 30, 7, RGB(200, 10, 200)));
}

TEST_F(MenuItems, TransparentPartShowsThePopupBackgroundAtTheOffset) {
    // The item part fully magenta and keyed: the item shows the popup's background, taken
    // from the item rectangle moved by the client offset.
    TBitmap& image = skin->MenuItem->Image;
    {
        HDC dc = image.Canvas().Handle();
        UniqueBrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
        RECT all{0, 0, image.Width(), image.Height()};
        FillRect(dc, &all, magenta.get());
    }
    skin->MenuItem->Trans = 1;
    TBitmap background;
    background.SetSize(200, 100);
    {
        HDC dc = background.Canvas().Handle();
        UniqueBrush a(CreateSolidBrush(RGB(40, 90, 200))), b(CreateSolidBrush(RGB(200, 90, 40)));
        RECT left{0, 0, 10, 100}, right{10, 0, 200, 100};
        FillRect(dc, &left, a.get());
        FillRect(dc, &right, b.get());
    }
    const TMenuItemBackground bg{&background, POINT{3, 3}};
    item->SetCaption("");
    const guitest::Capture cap = drawn(140, 22, [&](TCanvas& c) {
        SkinDrawMenuItem(*skin, *item, c, RECT{0, 0, 140, 22}, false, bg, nullptr);
    });
    EXPECT_TRUE(guitest::PixelIs(cap, 5, 11, RGB(40, 90, 200))) << "background x 8";
    EXPECT_TRUE(guitest::PixelIs(cap, 8, 11, RGB(200, 90, 40))) << "background x 11";
    // Without a background the Menu colour fills.
    const guitest::Capture plain = drawn(140, 22, [&](TCanvas& c) {
        SkinDrawMenuItem(*skin, *item, c, RECT{0, 0, 140, 22}, false, TMenuItemBackground{}, nullptr);
    });
    EXPECT_TRUE(guitest::PixelIs(plain, 5, 11, ColourRef(skin->Colours.Menu)));
}

TEST_F(MenuItems, FlatWithoutItemPart) {
    skintest::FlatSkinOptions o;
    o.omitSections = {"MenuItem"};
    LoadSkin(o);
    ASSERT_EQ(MenuItemLeftMargin(skin.get()), 0);
    for (bool selected : {false, true}) {
        const guitest::Capture cap = drawn(140, 22, [&](TCanvas& c) {
            SkinDrawMenuItem(*skin, *item, c, RECT{0, 0, 140, 22}, selected, TMenuItemBackground{}, nullptr);
        });
        const TColor expected = selected ? skin->Colours.Hilight : skin->Colours.Menu;
        EXPECT_TRUE(guitest::PixelIs(cap, 134, 11, ColourRef(expected))) << "selected " << selected;
    }
}

bool anyPixel(const guitest::Capture& cap, const RECT& r, COLORREF colour) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (cap.Pixel(x, y) == colour) return true;
    return false;
}

TEST_F(MenuItems, DisabledTextInButtonShadow) {
    // The caption box starts after the glyph column; only the text colour differs.
    skin->Colours.ButtonShadow = 0x00336699;
    skin->Colours.MenuText = 0x00000000;
    for (bool enabled : {true, false}) {
        item->SetEnabled(enabled);
        const guitest::Capture cap = drawn(140, 22, [&](TCanvas& c) {
            SkinDrawMenuItem(*skin, *item, c, RECT{0, 0, 140, 22}, false, TMenuItemBackground{}, nullptr);
        });
        const RECT textArea{20, 0, 140, 22};
        EXPECT_EQ(anyPixel(cap, textArea, ColourRef(0x00336699)), !enabled) << "enabled " << enabled;
        EXPECT_EQ(anyPixel(cap, textArea, RGB(0, 0, 0)), enabled) << "enabled " << enabled;
    }
}

TEST_F(MenuItems, CheckedItemWithoutImagesShowsCheckMark) {
    item->SetChecked(true);
    skin->Colours.MenuText = 0x00204060;  // any text colour other than the mark's
    const guitest::Capture cap = drawn(140, 22, [&](TCanvas& c) {
        SkinDrawMenuItemFlat(*skin, *item, c, false, RECT{0, 0, 140, 22}, nullptr);
    });
    const int margin = MenuItemLeftMargin(skin.get());
    EXPECT_TRUE(anyPixel(cap, RECT{1 + margin, 0, 17 + margin + 2, 22}, ColorToRGB(clBtnText)));
    item->SetChecked(false);
    const guitest::Capture unchecked = drawn(140, 22, [&](TCanvas& c) {
        SkinDrawMenuItemFlat(*skin, *item, c, false, RECT{0, 0, 140, 22}, nullptr);
    });
    EXPECT_FALSE(anyPixel(unchecked, RECT{1 + margin, 0, 17 + margin + 2, 22}, ColorToRGB(clBtnText)));
}

}  // namespace

namespace {

// Items from a pattern: '-' a visible separator, '_' a hidden one, a lower-case letter a
// visible item, 'X' an invisible item.  Read back the same way.
void fillPattern(TMenuItem& parent, TComponent* owner, const std::string& pattern) {
    for (char c : pattern) {
        auto* item = new TMenuItem(owner);
        item->SetCaption(c == '-' || c == '_' ? "-" : std::string(1, c));
        item->SetVisible(c != '_' && c != 'X');
        parent.Add(item);
    }
}

std::string readPattern(const TMenuItem& parent) {
    std::string out;
    for (int i = 0; i < parent.Count(); ++i) {
        const TMenuItem* item = parent.Items(i);
        if (item->IsLine()) out += item->Visible() ? '-' : '_';
        else out += item->Visible() ? item->Caption()[0] : 'X';
    }
    return out;
}

TEST(HideRedundantSeparators, Table) {
    struct Row {
        const char* name;
        const char* before;
        const char* after;
    } rows[] = {
        {"empty", "", ""},
        {"nothing to hide", "a-b", "a-b"},
        {"leading and trailing", "-a-b-", "_a-b_"},
        {"doubled keeps the last", "a--b", "a_-b"},
        {"tripled", "a---b", "a__-b"},
        {"hidden one ending a run is shown", "a_b", "a-b"},
        {"hidden then visible", "a_-b", "a_-b"},
        {"invisible item inside a run", "a-X-b", "a_X-b"},
        {"invisible items lead", "-X-a", "_X_a"},
        {"invisible item trails", "a-X", "a_X"},
        {"only separators", "--", "__"},
        {"separators around nothing visible", "-X-", "_X_"},
    };
    for (const Row& r : rows) {
        auto owner = std::make_unique<TComponent>(nullptr);
        auto* menu = new TPopupMenu(owner.get());
        fillPattern(*menu->Items(), owner.get(), r.before);
        HideRedundantSeparators(menu->Items());
        EXPECT_EQ(readPattern(*menu->Items()), r.after) << r.name << " (" << r.before << ")";
    }
    HideRedundantSeparators(nullptr);  // nothing
}

}  // namespace

namespace {

TEST_F(MenuItems, PopupCacheRendersEachCellOnceAndForgetsAReloadedSkin) {
    TMenuItemPartCache cache;
    TMenuItemBackground bg;
    bg.cache = &cache;
    struct Row {
        bool selected;
        int cell;
        size_t entries;
    } rows[] = {{false, 1, 1}, {true, 4, 2}, {false, 1, 2}, {true, 4, 2}};
    for (const Row& r : rows) {
        const guitest::Capture cap = drawn(140, 22, [&](TCanvas& c) {
            SkinDrawMenuItem(*skin, *item, c, RECT{0, 0, 140, 22}, r.selected, bg, nullptr);
        });
        EXPECT_TRUE(guitest::PixelIs(cap, 134, 11, CellRef("MenuItem", "Image", r.cell))) << "selected " << r.selected;
        EXPECT_EQ(cache.entries.size(), r.entries);
    }
    LoadSkin({});  // a new load: new parts
    const guitest::Capture cap = drawn(140, 22, [&](TCanvas& c) {
        SkinDrawMenuItem(*skin, *item, c, RECT{0, 0, 140, 22}, false, bg, nullptr);
    });
    EXPECT_EQ(cache.entries.size(), 1u) << "renders of the old skin are dropped";
    EXPECT_EQ(cache.source, skin->MenuItem.get());
}

}  // namespace
