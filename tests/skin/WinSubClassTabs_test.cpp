// The tab skins on real tab controls under Wine, painted from the flat test skin (one colour
// per cell): each tab's face lands inside the tab's own rectangle with its tabs on any of
// the four sides, the current tab gets the current cell, a skin change rebuilds the pane
// (never a stale or twice-turned picture), a skin without its pane part, long tab texts,
// class-library hosts (page control, tab set) and the strip geometry itself.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ComCtrls.h"
#include "Forms.h"
#include "ImgUtil.h"
#include "Tabs.h"
#include "WinSubClassTabs.h"
#include "skin_data_support.h"
#include "skin_form_support.h"
#include "test_skins.h"

namespace {

using guitest::Capture;
using skinform::FlatRef;

struct Orientation {
    const char* name;
    DWORD style;
    TTabOrientation expected;
};
const Orientation kOrientations[] = {
    {"top", 0, toTop},
    {"bottom", TCS_BOTTOM, toBottom},
    {"left", TCS_VERTICAL | TCS_MULTILINE, toLeft},
    {"right", TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE, toRight},
};

// The flat skin with the [Tabs] Style changed (0: the pane is the [Tabs] Border image).
std::vector<uint8_t> FlatSkinWithTabStyle(int style, const skintest::FlatSkinOptions& options = {}) {
    skingen::SkinDesign design = skintest::MakeFlatTestDesign(options);
    for (skingen::IniSection& s : design.sections)
        if (s.name == "Tabs")
            for (skingen::IniKey& k : s.keys)
                if (k.key == "Style") k.value = std::to_string(style);
    return WriteSkinContainer(design.files());
}

std::vector<uint8_t> FlatSkinWithout(const char* section) {
    skintest::FlatSkinOptions options;
    options.omitSections = {section};
    return skintest::MakeFlatTestSkin(options);
}

RECT WindowRectAtOrigin(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return RECT{0, 0, r.right - r.left, r.bottom - r.top};
}

// The skin's paint of the whole window into a fresh capture (pixels it leaves alone keep
// Capture::kUnpaintedRaw).
Capture PaintThroughSkin(HWND window) {
    const RECT r = WindowRectAtOrigin(window);
    Capture c(r.right, r.bottom);
    if (c.Valid()) SendMessageW(window, WM_PAINT, reinterpret_cast<WPARAM>(c.Dc()), 0);
    return c;
}

int CountColour(const Capture& c, const RECT& r, COLORREF colour) {
    int n = 0;
    for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, c.Height()); ++y)
        for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, c.Width()); ++x)
            if (c.Painted(x, y) && c.Pixel(x, y) == colour) ++n;
    return n;
}

int Area(const RECT& r) { return std::max<LONG>(0, r.right - r.left) * std::max<LONG>(0, r.bottom - r.top); }

RECT ItemRect(HWND tab, int i) {
    RECT r{};
    SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
}

// A point well inside the pane, clear of its border.
POINT PanePoint(HWND tab) {
    RECT r = WindowRectAtOrigin(tab);
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class SkinTabs : public skinform::SkinFormTest {
protected:
    void SetUp() override {
        SkinFormTest::SetUp();
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
        InitCommonControlsEx(&icc);
        guitest::TestWindowOptions options;
        options.width = 420;
        options.height = 320;
        parent = MakeWindow(options);
        ASSERT_TRUE(parent);
    }
    void TearDown() override {
        for (HWND w : tabs)
            if (IsWindow(w)) DestroyWindow(w);
        owner.reset();  // frees the skins (before their windows' parent goes)
        parent.Destroy();
        SkinFormTest::TearDown();
    }

    // A raw tab control (Unicode or ANSI window class) with the given tabs.
    HWND MakeTabControl(DWORD style, const std::vector<std::wstring>& texts, bool unicode = true, int width = 360,
                        int height = 240) {
        HWND w = unicode ? CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | style, 10, 10, width, height,
                                           parent.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr)
                         : CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | style, 10, 10, width, height,
                                           parent.Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
        if (!w) return nullptr;
        SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        for (size_t i = 0; i < texts.size(); ++i) {
            if (unicode) {
                std::wstring text = texts[i];
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = text.data();
                SendMessageW(w, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
            } else {
                std::string text = guitest::ToAnsi(texts[i]);
                TCITEMA item{};
                item.mask = TCIF_TEXT;
                item.pszText = text.data();
                SendMessageA(w, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
            }
        }
        tabs.push_back(w);
        return w;
    }

    // A tab skin on a raw window, owned here (as the form skin owns those of raw windows).
    TSkinTab* SkinRaw(HWND window) {
        auto* skin = new TSkinTab(owner.get());
        skin->AttachWindow(window, data.get(), nullptr, nullptr);
        return skin;
    }

    std::unique_ptr<TComponent> owner = std::make_unique<TComponent>(nullptr);
    guitest::TestWindow parent;
    std::vector<HWND> tabs;
};

// ---- geometry -------------------------------------------------------------------------

TEST(TabStripGeometry, ItemsMapIntoTheWorkBitmapAndBack) {
    // A 300 x 200 control with a 24-pixel strip on each side in turn; every pixel of an
    // item's face in the work bitmap lands inside the item (the faces meet the pane one
    // pixel further on, so the item is grown by one toward the pane).
    const RECT window{0, 0, 300, 200};
    struct Row { const char* name; TTabOrientation o; RECT adjusted; RECT item; RECT strip; };
    const Row rows[] = {
        {"top", toTop, {4, 28, 296, 196}, {2, 2, 60, 26}, {0, 0, 300, 25}},
        {"bottom", toBottom, {4, 4, 296, 172}, {2, 174, 60, 198}, {0, 175, 300, 200}},
        {"left", toLeft, {28, 4, 296, 196}, {2, 2, 26, 60}, {0, 0, 25, 200}},
        {"right", toRight, {4, 4, 272, 196}, {274, 2, 298, 60}, {275, 0, 300, 200}},
    };
    for (const Row& row : rows) {
        const TTabStripLayout layout = CalcTabStrip(window, row.adjusted, row.o);
        EXPECT_TRUE(guitest::SameRect(layout.Strip, row.strip)) << row.name << ": " << guitest::ToString(layout.Strip);
        const bool side = row.o == toLeft || row.o == toRight;
        EXPECT_EQ(layout.WorkWidth, side ? 200 : 300) << row.name;
        EXPECT_EQ(layout.WorkHeight, 25) << row.name;
        const RECT face = TabItemToWork(row.item, layout, window, row.o);
        RECT grown = row.item;
        InflateRect(&grown, 1, 1);
        int outside = 0, pixels = 0;
        for (int y = face.top; y < face.bottom; ++y)
            for (int x = face.left; x < face.right; ++x) {
                if (x < 0 || y < 0 || x >= layout.WorkWidth || y >= layout.WorkHeight) continue;
                ++pixels;
                const POINT p = TabWorkToWindow(POINT{x, y}, layout, row.o);
                if (!PtInRect(&grown, p)) ++outside;
            }
        EXPECT_GT(pixels, Area(row.item) / 2) << row.name << ": the face lies in the work bitmap";
        EXPECT_EQ(outside, 0) << row.name;
    }
}

TEST(TabStripGeometry, NoRoomGivesNoStripNeverANegativeOne) {
    const RECT window{0, 0, 40, 20};
    struct Row { const char* name; TTabOrientation o; RECT adjusted; };
    const Row rows[] = {
        {"top, display above the window", toTop, {4, -30, 36, 16}},
        {"bottom, display below the window", toBottom, {4, 4, 36, 50}},
        {"left, display left of the window", toLeft, {-30, 4, 36, 16}},
        {"right, display right of the window", toRight, {4, 4, 60, 16}},
    };
    for (const Row& row : rows) {
        const TTabStripLayout layout = CalcTabStrip(window, row.adjusted, row.o);
        EXPECT_FALSE(layout.HasStrip()) << row.name;
        EXPECT_EQ(layout.WorkWidth, 0) << row.name;
        EXPECT_EQ(layout.WorkHeight, 0) << row.name;
    }
}

TEST(TabStripGeometry, OrientationFromTheStyle) {
    for (const Orientation& o : kOrientations) EXPECT_EQ(TabOrientationOfStyle(o.style), o.expected) << o.name;
}

// ---- raw tab controls -----------------------------------------------------------------

TEST_F(SkinTabs, EachTabFaceLandsInsideItsItemOnEverySide) {
    const COLORREF normal = FlatRef("Tabs", "Image", 1);
    const COLORREF current = FlatRef("Tabs", "Image", 2);
    for (const Orientation& o : kOrientations) {
        HWND tab = MakeTabControl(o.style, {L"One", L"Two", L"Three"});
        ASSERT_NE(tab, nullptr) << o.name;
        TSkinTab* skin = SkinRaw(tab);
        EXPECT_EQ(skin->Orientation, o.expected) << o.name;
        for (int chosen = 0; chosen < 3; ++chosen) {
            SendMessageW(tab, TCM_SETCURSEL, chosen, 0);
            SendMessageW(tab, TCM_SETCURFOCUS, chosen, 0);
            const Capture c = PaintThroughSkin(tab);
            ASSERT_TRUE(c.Valid());
            for (int i = 0; i < 3; ++i) {
                const RECT item = ItemRect(tab, i);
                ASSERT_GT(Area(item), 0) << o.name << " item " << i;
                const COLORREF mine = i == chosen ? current : normal;
                const COLORREF other = i == chosen ? normal : current;
                const int hits = CountColour(c, item, mine);
                EXPECT_GT(hits, Area(item) / 3)
                    << o.name << ", current " << chosen << ", item " << i << " " << guitest::ToString(item);
                EXPECT_LT(CountColour(c, item, other), hits / 4) << o.name << ", current " << chosen << ", item " << i;
            }
        }
    }
}

TEST_F(SkinTabs, PaneIsTheSkinsPaneOnEverySide) {
    for (const Orientation& o : kOrientations) {
        HWND tab = MakeTabControl(o.style, {L"One", L"Two"});
        ASSERT_NE(tab, nullptr);
        SkinRaw(tab);
        const Capture c = PaintThroughSkin(tab);
        const POINT p = PanePoint(tab);
        EXPECT_TRUE(guitest::PixelIs(c, p.x, p.y, FlatRef("Tab.Pane", "Image", 1))) << o.name;
    }
}

TEST_F(SkinTabs, SkinChangeRebuildsThePaneAndLeavesNoStalePicture) {
    HWND tab = MakeTabControl(0, {L"One", L"Two"});
    ASSERT_NE(tab, nullptr);
    TSkinTab* skin = SkinRaw(tab);
    const POINT p = PanePoint(tab);
    const COLORREF panePart = FlatRef("Tab.Pane", "Image", 1);
    const COLORREF border = FlatRef("Tabs", "Border", 1);
    ASSERT_TRUE(guitest::PixelIs(PaintThroughSkin(tab), p.x, p.y, panePart));

    struct Step { const char* name; std::vector<uint8_t> skin; bool painted; COLORREF pane; };
    const Step steps[] = {
        {"Style 0: the [Tabs] Border", FlatSkinWithTabStyle(0), true, border},
        {"Style 1 without [Tab.Pane]: no pane at all", FlatSkinWithout("Tab.Pane"), false, 0},
        {"Style 1 again", skintest::MakeFlatTestSkin(), true, panePart},
        {"no [Tabs] at all", FlatSkinWithout("Tabs"), false, 0},
    };
    for (const Step& step : steps) {
        ASSERT_TRUE(skindata::LoadInto(*data, step.skin)) << step.name;
        skin->UpdateSkin();
        const Capture c = PaintThroughSkin(tab);
        if (step.painted) {
            EXPECT_TRUE(guitest::PixelIs(c, p.x, p.y, step.pane)) << step.name;
        } else {
            EXPECT_FALSE(c.Painted(p.x, p.y)) << step.name << ": " << guitest::ColorToString(c.Pixel(p.x, p.y));
            EXPECT_TRUE(skin->PaneBitmap.Empty()) << step.name;
        }
    }
}

TEST_F(SkinTabs, RepeatedSkinChangesTurnThePicturesOnlyOnce) {
    struct Row { const char* name; DWORD style; void (*turn)(TBitmap&); bool stripTurned; };
    const Row rows[] = {
        {"bottom: both flipped", TCS_BOTTOM, FlipBitmap, true},
        {"left: the pane turned anticlockwise", TCS_VERTICAL | TCS_MULTILINE, RotateBitmapLeft, false},
        {"right: the pane turned clockwise", TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE, RotateBitmapRight, false},
    };
    for (const Row& row : rows) {
        HWND tab = MakeTabControl(row.style, {L"One"});
        ASSERT_NE(tab, nullptr);
        TSkinTab* skin = SkinRaw(tab);
        for (int i = 0; i < 3; ++i) skin->UpdateSkin();
        TBitmap pane, strip;
        DuplicateBitmap(data->TabPane->Image, pane);
        DuplicateBitmap(data->Tabs->Image, strip);
        row.turn(pane);
        if (row.stripTurned) FlipBitmap(strip);
        for (auto [name, expected, actual] : {std::make_tuple("pane", &pane, &skin->PaneBitmap),
                                              std::make_tuple("strip", &strip, &skin->StripBitmap)}) {
            ASSERT_EQ(actual->Width(), expected->Width()) << row.name << " " << name;
            ASSERT_EQ(actual->Height(), expected->Height()) << row.name << " " << name;
            int differences = 0;
            for (int y = 0; y < expected->Height(); ++y)
                for (int x = 0; x < expected->Width(); ++x)
                    if (actual->PixelColor(x, y) != expected->PixelColor(x, y)) ++differences;
            EXPECT_EQ(differences, 0) << row.name << " " << name;
        }
    }
}

TEST_F(SkinTabs, SkinWithoutItsPanePartPaintsTheStripOnly) {
    ASSERT_TRUE(skindata::LoadInto(*data, FlatSkinWithout("Tab.Pane")));
    ASSERT_EQ(data->TabPane, nullptr);
    ASSERT_EQ(data->Tabs->Style, 1);
    HWND tab = MakeTabControl(0, {L"One", L"Two"});
    ASSERT_NE(tab, nullptr);
    SkinRaw(tab);
    const Capture c = PaintThroughSkin(tab);
    const POINT p = PanePoint(tab);
    EXPECT_FALSE(c.Painted(p.x, p.y));
    EXPECT_GT(CountColour(c, ItemRect(tab, 1), FlatRef("Tabs", "Image", 1)), 0);
}

TEST_F(SkinTabs, LongTabTextIsCutWithoutOverrun) {
    std::wstring wide;
    for (int i = 0; i < 200; ++i) wide += static_cast<wchar_t>(L'A' + i % 26);
    struct Row { const char* name; bool unicode; std::wstring text; std::wstring expected; };
    std::vector<Row> rows = {
        {"Unicode window, 200 characters", true, wide, wide.substr(0, kTabTextMax)},
        {"ANSI window, 200 characters", false, wide, wide.substr(0, kTabTextMax)},
        {"short text stays whole", true, L"Short", L"Short"},
    };
    if (GetACP() == 936) {
        // 100 double-byte characters: 79 bytes would end in half a character.
        rows.push_back({"ANSI window, 100 Chinese characters", false, std::wstring(100, L'\x4E2D'), std::wstring(39, L'\x4E2D')});
    }
    for (const Row& row : rows) {
        HWND tab = MakeTabControl(0, {row.text, L"Next"}, row.unicode);
        ASSERT_NE(tab, nullptr) << row.name;
        TTabItemText item;
        ASSERT_TRUE(ReadTabItem(tab, 0, row.unicode, item)) << row.name;
        EXPECT_EQ(item.Text, row.expected) << row.name;
        EXPECT_TRUE(ReadTabItem(tab, 1, row.unicode, item)) << row.name;
        EXPECT_EQ(item.Text, L"Next") << row.name << ": the next item reads whole";
        EXPECT_FALSE(ReadTabItem(tab, 5, row.unicode, item)) << row.name << ": no such item";
        // Painting reads through the same buffer.  (The common control's window procedure
        // is a Unicode one whichever call made the window.)
        TSkinTab* skin = SkinRaw(tab);
        EXPECT_EQ(skin->UnicodeWindow, IsWindowUnicode(tab) != FALSE) << row.name;
        const Capture c = PaintThroughSkin(tab);
        EXPECT_GT(CountColour(c, ItemRect(tab, 0), FlatRef("Tabs", "Image", 2)), 0) << row.name;
    }
}

TEST_F(SkinTabs, TooSmallControlPaintsWithoutAStrip) {
    HWND tab = MakeTabControl(0, {L"One", L"Two"}, true, 30, 12);
    ASSERT_NE(tab, nullptr);
    SkinRaw(tab);
    const Capture c = PaintThroughSkin(tab);
    EXPECT_TRUE(c.Valid());
}

TEST_F(SkinTabs, PaintingAndSkinChangesLeakNoGdiObjects) {
    HWND tab = MakeTabControl(TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE, {L"One", L"Two"});
    ASSERT_NE(tab, nullptr);
    TSkinTab* skin = SkinRaw(tab);
    auto cycle = [&] {
        PaintThroughSkin(tab);
        skin->UpdateSkin();
    };
    cycle();
    const guitest::GuiObjectCounts before = guitest::CountGuiObjects();
    if (!before.gdiKnown) GTEST_SKIP() << "no GDI object count here: " << before.source;
    for (int i = 0; i < 5; ++i) cycle();
    const guitest::GuiObjectCounts after = guitest::CountGuiObjects();
    EXPECT_EQ(after.gdi, before.gdi) << after.source;
}

TEST_F(SkinTabs, SuspendedSkinLeavesPaintingToTheControl) {
    HWND tab = MakeTabControl(0, {L"One"});
    ASSERT_NE(tab, nullptr);
    SkinRaw(tab);
    EXPECT_EQ(SendMessageW(tab, WM_SKINQUERY, 0, 0), 1);
    SendMessageW(tab, WM_SKINENABLE, 0, 0);
    EXPECT_EQ(SendMessageW(tab, WM_SKINQUERY, 0, 0), 0);
    SendMessageW(tab, WM_SKINENABLE, 1, 0);
    EXPECT_EQ(SendMessageW(tab, WM_SKINQUERY, 0, 0), 1);
}

// ---- class-library hosts --------------------------------------------------------------

TEST_F(SkinTabs, PageControlHostIsPaintedThroughItsWindowProc) {
    TForm form(nullptr);
    form.SetBounds(20, 20, 420, 320);
    auto* pages = new TPageControl(&form);
    pages->SetParent(&form);
    pages->SetBounds(8, 8, 360, 240);
    for (const char* caption : {"First", "Second", "Third"}) {
        auto* sheet = new TTabSheet(&form);
        sheet->SetCaption(caption);
        sheet->SetPageControl(pages);
    }
    pages->SetActivePageIndex(2);
    HWND window = pages->Handle();
    auto* skin = new TSkinTab(pages);
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    EXPECT_EQ(skin->Host, pages);
    EXPECT_FALSE(skin->UnicodeWindow);
    const Capture c = PaintThroughSkin(window);
    for (int i = 0; i < 3; ++i) {
        const RECT item = ItemRect(window, i);
        EXPECT_GT(CountColour(c, item, FlatRef("Tabs", "Image", i == 2 ? 2 : 1)), Area(item) / 3) << i;
    }
}

TEST_F(SkinTabs, TabSetTabsLieWhereTheTabSetTakesClicks) {
    TForm form(nullptr);
    form.SetBounds(20, 20, 420, 320);
    auto* set = new TTabSet(&form);
    set->SetParent(&form);
    set->SetBounds(8, 8, 200, 24);
    set->Tabs().SetFromVector({"One", "Two", "A tab far too long to fit in the rest", "Z"});
    set->SetTabIndex(1);
    HWND window = set->Handle();
    auto* skin = new TSkinTab31(set);
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    ASSERT_EQ(skin->Handle, window);
    EXPECT_EQ(SendMessageW(window, WM_SKINQUERY, 0, 0), 1);

    const std::vector<RECT> rects = set->TabRects();
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(Area(rects[2]), 0) << "the long tab does not fit";
    EXPECT_GT(Area(rects[3]), 0) << "a later, shorter tab takes its place";
    const Capture c = PaintThroughSkin(window);
    for (size_t i = 0; i < rects.size(); ++i) {
        if (Area(rects[i]) == 0) continue;
        EXPECT_GT(CountColour(c, rects[i], FlatRef("Tabs", "Image", i == 1 ? 2 : 1)), Area(rects[i]) / 3) << i;
    }

    // A skin without the strip leaves nothing of the last one.
    ASSERT_TRUE(skindata::LoadInto(*data, FlatSkinWithout("Tabs")));
    skin->UpdateSkin();
    EXPECT_TRUE(skin->StripBitmap.Empty());
    const Capture after = PaintThroughSkin(window);
    for (const RECT& r : rects)
        for (int cell : {1, 2}) EXPECT_EQ(CountColour(after, r, FlatRef("Tabs", "Image", cell)), 0);
}

}  // namespace
