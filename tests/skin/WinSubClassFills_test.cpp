// The fill and foreign-control skins on real windows under Wine.  The foreign controls
// exist for the skins only as published properties, so the tests publish them from small
// control classes of their own: glyph strips written into "CustomGlyphs" and
// "Properties"."Glyph" (cell maps of 4- and 5-cell strips), tab pictures of 100 x 21 in
// "TabBackGround"/"TabBackGroundActive", the page fill, and the button-tab painter (cells,
// text colours, texts cut to their buffers, a strip that would have a negative height).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "ComCtrls.h"
#include "Forms.h"
#include "WinSkinData.h"
#include "WinSubClassFills.h"
#include "skin_data_support.h"
#include "skin_form_support.h"
#include "test_skins.h"

// ---- foreign controls: only their published properties matter ---------------------------

// A grouped check or radio control that takes custom glyphs.
class TTestGlyphGroup : public TWinControl {
    CLASS_INFO(TTestGlyphGroup)
public:
    explicit TTestGlyphGroup(TComponent* owner) : TWinControl(owner) {}
    TBitmap CustomGlyphs;
    int64_t TransparentColor = 0;
    bool UseCustomGlyphs = false;
    std::vector<bool> useWrites;  // every value written to UseCustomGlyphs, in order
};

const TClassInfo& TTestGlyphGroup::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TTestGlyphGroup>(
        "TTestGlyphGroup", &TWinControl::StaticClassInfo(), [](TClassBuilder<TTestGlyphGroup>& b) {
            b.Object("CustomGlyphs", [](TTestGlyphGroup& c) -> TObject* { return &c.CustomGlyphs; });
            b.Int("TransparentColor", [](TTestGlyphGroup& c) -> int64_t { return c.TransparentColor; },
                  [](TTestGlyphGroup& c, int64_t v) { c.TransparentColor = v; });
            b.Bool("UseCustomGlyphs", [](TTestGlyphGroup& c) { return c.UseCustomGlyphs; },
                   [](TTestGlyphGroup& c, bool v) {
                       c.UseCustomGlyphs = v;
                       c.useWrites.push_back(v);
                   });
        });
    return info;
}

// The "Properties" object of a check box whose glyph sits one level down.
class TTestGlyphProperties : public TPersistent {
    CLASS_INFO(TTestGlyphProperties)
public:
    TBitmap Glyph;
};

const TClassInfo& TTestGlyphProperties::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TTestGlyphProperties>(
        "TTestGlyphProperties", &TPersistent::StaticClassInfo(), [](TClassBuilder<TTestGlyphProperties>& b) {
            b.Object("Glyph", [](TTestGlyphProperties& p) -> TObject* { return &p.Glyph; });
        });
    return info;
}

class TTestPropertiesCheck : public TWinControl {
    CLASS_INFO(TTestPropertiesCheck)
public:
    explicit TTestPropertiesCheck(TComponent* owner) : TWinControl(owner) {}
    TTestGlyphProperties Properties;
};

const TClassInfo& TTestPropertiesCheck::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TTestPropertiesCheck>(
        "TTestPropertiesCheck", &TWinControl::StaticClassInfo(), [](TClassBuilder<TTestPropertiesCheck>& b) {
            b.Object("Properties", [](TTestPropertiesCheck& c) -> TObject* { return &c.Properties; });
        });
    return info;
}

// A page control that draws its tabs from two pictures.
class TTestAdvPageControl : public TTabControl {
    CLASS_INFO(TTestAdvPageControl)
public:
    explicit TTestAdvPageControl(TComponent* owner) : TTabControl(owner) {}
    TBitmap TabBackGround;
    TBitmap TabBackGroundActive;
};

const TClassInfo& TTestAdvPageControl::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TTestAdvPageControl>(
        "TTestAdvPageControl", &TTabControl::StaticClassInfo(), [](TClassBuilder<TTestAdvPageControl>& b) {
            b.Object("TabBackGround", [](TTestAdvPageControl& c) -> TObject* { return &c.TabBackGround; });
            b.Object("TabBackGroundActive", [](TTestAdvPageControl& c) -> TObject* { return &c.TabBackGroundActive; });
        });
    return info;
}

namespace {

using guitest::Capture;
using guitest::PixelIs;
using skinform::FlatRef;
using skindata::Ref;

// Cell colours of the hand-made check and radio strips.
constexpr uint32_t kA = 0x2040C0, kB = 0xC04020, kC = 0x20C040, kD = 0x808000, kE = 0x008080;
constexpr int kCell = 13;
const COLORREF kWhite = RGB(255, 255, 255);

// A skin whose "Buttons" has a check strip and a radio strip of these cells.
std::vector<uint8_t> GlyphSkin(const std::vector<uint32_t>& check, const std::vector<uint32_t>& radio) {
    std::string definition = "[Buttons]\r\nBitmap=buttons.bmp\r\n";
    std::vector<SkinFileEntry> entries{{"buttons.bmp", skindata::CellsBmp(10, 10, {kA, kB, kC, kD, kE})}};
    if (!check.empty()) {
        definition += "CheckButton=check.bmp\r\nCheckButtonFrame=" + std::to_string(check.size()) + "\r\n";
        entries.push_back({"check.bmp", skindata::CellsBmp(kCell, kCell, check)});
    }
    if (!radio.empty()) {
        definition += "RadioButton=radio.bmp\r\nRadioButtonFrame=" + std::to_string(radio.size()) + "\r\n";
        entries.push_back({"radio.bmp", skindata::CellsBmp(kCell, kCell, radio)});
    }
    return skindata::MakeSkin(definition, entries);
}

// The colour in the middle of each cell of a strip; kWhite marks a cell left blank.
std::vector<COLORREF> CellColours(TBitmap& strip, int cellWidth) {
    std::vector<COLORREF> cells;
    for (int x = cellWidth / 2; x < strip.Width(); x += cellWidth) cells.push_back(strip.PixelColor(x, strip.Height() / 2));
    return cells;
}

std::vector<COLORREF> Refs(const std::vector<uint32_t>& rgb) {
    std::vector<COLORREF> out;
    for (uint32_t c : rgb) out.push_back(c == 0xFFFFFF ? kWhite : Ref(c));
    return out;
}

class ForeignControls : public skinform::SkinFormTest {
protected:
    void SetUp() override {
        skinform::SkinFormTest::SetUp();
        form = new TForm(Application);
        form->SetBounds(60, 60, 420, 300);
        formSkin = SkinAndApply(form->Handle());
        ASSERT_NE(formSkin, nullptr);
    }
    void TearDown() override {
        delete form;
        skinform::SkinFormTest::TearDown();
    }
    template <class T>
    T* Place(int left, int top, int width, int height) {
        auto* control = new T(form);
        control->SetParent(form);
        control->SetBounds(left, top, width, height);
        return control;
    }
    std::unique_ptr<TSkinData> LoadSkin(const std::vector<uint8_t>& skin) {
        auto skinData = std::make_unique<TSkinData>(nullptr);
        EXPECT_TRUE(skindata::LoadInto(*skinData, skin));
        return skinData;
    }

    TForm* form = nullptr;
    TWinSkinForm* formSkin = nullptr;
};

// ---- glyph maps ----------------------------------------------------------------------------

TEST(GlyphCellMap, CellsByKindAndStripLength) {
    const struct {
        int kind;
        int sourceCells;
        int resultCells;
        std::vector<int> sourceOfCell;  // -1: left blank
        const char* row;
    } rows[] = {
        {oiCheckGlyphs, 4, 9, {0, 1, -1, 0, 1, -1, 2, 3, -1}, "check, 4 cells"},
        {oiCheckGlyphs, 5, 9, {0, 1, 4, 0, 1, 4, 2, 3, 4}, "check, 5 cells"},
        {oiCheckGlyphs, 12, 9, {0, 1, -1, 0, 1, -1, 2, 3, -1}, "check, 12 cells: no fifth"},
        {oiCheckGlyphs, 2, 9, {0, 1, -1, 0, 1, -1, 1, 1, -1}, "check, 2 cells: clamped"},
        {oiRadioGlyphs, 4, 6, {0, 1, 0, 1, 2, 3}, "radio, 4 cells"},
        {oiRadioGlyphs, 5, 6, {0, 1, 0, 1, 2, 3}, "radio, 5 cells"},
        {oiRadioGlyphs, 1, 6, {0, 0, 0, 0, 0, 0}, "radio, 1 cell: clamped"},
        {oiPropertiesGlyph, 4, 6, {0, 1, -1, 0, 1, -1}, "properties, 4 cells"},
        {oiPropertiesGlyph, 5, 6, {0, 1, 4, 0, 1, 4}, "properties, 5 cells"},
        {7, 5, 0, {}, "unknown kind"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(GlyphResultCells(row.kind), row.resultCells) << row.row;
        std::vector<int> sourceOf(static_cast<size_t>(row.resultCells), -1);
        for (const TGlyphCellCopy& copy : GlyphCellMap(row.kind, row.sourceCells)) {
            ASSERT_GE(copy.Dest, 0) << row.row;
            ASSERT_LT(copy.Dest, row.resultCells) << row.row;
            ASSERT_LT(copy.Source, std::max(1, row.sourceCells)) << row.row;
            sourceOf[static_cast<size_t>(copy.Dest)] = copy.Source;
        }
        EXPECT_EQ(sourceOf, row.sourceOfCell) << row.row;
    }
}

TEST_F(ForeignControls, CheckGlyphs_FourAndFiveCellStrips) {
    const uint32_t W = 0xFFFFFF;
    const struct {
        std::vector<uint32_t> strip;
        std::vector<uint32_t> cells;
        const char* row;
    } rows[] = {
        {{kA, kB, kC, kD}, {kA, kB, W, kA, kB, W, kC, kD, W}, "4 cells: cells 3, 6 and 9 stay blank"},
        {{kA, kB, kC, kD, kE}, {kA, kB, kE, kA, kB, kE, kC, kD, kE}, "5 cells: the fifth fills them"},
    };
    for (const auto& row : rows) {
        std::unique_ptr<TSkinData> skinData = LoadSkin(GlyphSkin(row.strip, {}));
        auto* group = Place<TTestGlyphGroup>(10, 10, 120, 60);
        auto* skin = new TSkinObjImage(group, oiCheckGlyphs);
        skin->AttachControl(formSkin, skinData.get(), true, nullptr);
        EXPECT_TRUE(skin->Attached()) << row.row;
        EXPECT_EQ(skin->Handle, group->Handle()) << row.row;
        ASSERT_EQ(group->CustomGlyphs.Width(), 9 * kCell) << row.row;
        EXPECT_EQ(group->CustomGlyphs.Height(), kCell) << row.row;
        EXPECT_EQ(CellColours(group->CustomGlyphs, kCell), Refs(row.cells)) << row.row;
        EXPECT_EQ(group->TransparentColor, 0xFF00FF) << row.row;
        EXPECT_EQ(group->useWrites, (std::vector<bool>{false, true})) << row.row << ": off, then on";

        skin->Unskin();
        EXPECT_FALSE(group->UseCustomGlyphs) << row.row;
        delete group;  // frees its skin
    }
}

TEST_F(ForeignControls, RadioGlyphs_SixCells) {
    std::unique_ptr<TSkinData> skinData = LoadSkin(GlyphSkin({}, {kA, kB, kC, kD}));
    auto* group = Place<TTestGlyphGroup>(10, 10, 120, 60);
    auto* skin = new TSkinObjImage(group, oiRadioGlyphs);
    skin->AttachControl(formSkin, skinData.get(), true, nullptr);
    EXPECT_EQ(CellColours(group->CustomGlyphs, kCell), Refs({kA, kB, kA, kB, kC, kD}));
    EXPECT_TRUE(group->UseCustomGlyphs);
    // A skin change writes the glyphs again.
    group->CustomGlyphs.Clear();
    skin->UpdateSkin();
    EXPECT_EQ(group->CustomGlyphs.Width(), 6 * kCell);
}

TEST_F(ForeignControls, PropertiesGlyph_SixCellsKeyedOnMagentaNotTransparent) {
    const uint32_t W = 0xFFFFFF;
    const struct {
        std::vector<uint32_t> strip;
        std::vector<uint32_t> cells;
        const char* row;
    } rows[] = {
        {{kA, kB, kC, kD}, {kA, kB, W, kA, kB, W}, "4 cells"},
        {{kA, kB, kC, kD, kE}, {kA, kB, kE, kA, kB, kE}, "5 cells"},
    };
    for (const auto& row : rows) {
        std::unique_ptr<TSkinData> skinData = LoadSkin(GlyphSkin(row.strip, {}));
        auto* check = Place<TTestPropertiesCheck>(10, 10, 120, 30);
        check->Properties.Glyph.SetTransparent(true);
        auto* skin = new TSkinObjImage(check, oiPropertiesGlyph);
        skin->AttachControl(formSkin, skinData.get(), true, nullptr);
        TBitmap& glyph = check->Properties.Glyph;
        EXPECT_EQ(CellColours(glyph, kCell), Refs(row.cells)) << row.row;
        EXPECT_EQ(glyph.TransparentColor(), 0xFF00FF) << row.row;
        EXPECT_FALSE(glyph.Transparent()) << row.row;
        skin->Unskin();
        EXPECT_TRUE(glyph.Empty()) << row.row << ": unskinning takes the glyph back";
        delete check;
    }
}

TEST_F(ForeignControls, ObjImage_HostOrSkinWithoutTheirPartsLeftAlone) {
    // A skin without a check strip leaves the host as it was.
    std::unique_ptr<TSkinData> noStrip = LoadSkin(GlyphSkin({}, {kA, kB, kC, kD}));
    auto* group = Place<TTestGlyphGroup>(10, 10, 120, 60);
    auto* skin = new TSkinObjImage(group, oiCheckGlyphs);
    skin->AttachControl(formSkin, noStrip.get(), true, nullptr);
    EXPECT_TRUE(group->CustomGlyphs.Empty());
    EXPECT_TRUE(group->useWrites.empty());
    EXPECT_EQ(SendMessageW(group->Handle(), WM_SKINQUERY, 0, 0), 0) << "no procedure of its own";

    // A host without the properties: nothing to write, nothing raised.
    auto* plain = Place<TTabControl>(10, 100, 120, 40);
    auto* other = new TSkinObjImage(plain, oiPropertiesGlyph);
    other->AttachControl(formSkin, data.get(), true, nullptr);
    EXPECT_TRUE(other->Attached());
    other->Unskin();
}

// ---- the advanced page control ---------------------------------------------------------

TEST_F(ForeignControls, AdvPage_TabPicturesAlways100By21) {
    const SIZE sizes[] = {{300, 40}, {60, 90}};
    for (SIZE size : sizes) {
        auto* pages = Place<TTestAdvPageControl>(10, 10, size.cx, size.cy);
        pages->Tabs().Add("One");
        pages->Tabs().Add("Two");
        auto* skin = new TSkinAdvPage(pages, kAdvPageTabImages);
        skin->AttachControl(formSkin, data.get(), true, nullptr);
        for (TBitmap* picture : {&pages->TabBackGround, &pages->TabBackGroundActive}) {
            EXPECT_EQ(picture->Width(), kAdvTabWidth) << size.cx;
            EXPECT_EQ(picture->Height(), kAdvTabHeight) << size.cx;
        }
        EXPECT_EQ(pages->TabBackGround.PixelColor(50, 10), FlatRef("Tabs", 1));
        EXPECT_EQ(pages->TabBackGroundActive.PixelColor(50, 10), FlatRef("Tabs", 2));
        EXPECT_EQ(SendMessageW(pages->Handle(), WM_SKINQUERY, 0, 0), 1) << "hooked like any control skin";

        // A skin change renders them again; unskinning takes them back.
        pages->TabBackGround.Clear();
        skin->UpdateSkin();
        EXPECT_EQ(pages->TabBackGround.Width(), kAdvTabWidth);
        skin->Unskin();
        EXPECT_TRUE(pages->TabBackGround.Empty());
        EXPECT_TRUE(pages->TabBackGroundActive.Empty());
        delete pages;
    }
}

TEST_F(ForeignControls, AdvPage_OtherModeOrSkinWithoutTabsLeavesThePictures) {
    auto* pages = Place<TTestAdvPageControl>(10, 10, 200, 40);
    auto* skin = new TSkinAdvPage(pages, 0);
    skin->AttachControl(formSkin, data.get(), true, nullptr);
    EXPECT_TRUE(pages->TabBackGround.Empty()) << "mode 0 writes nothing";
    delete pages;

    skintest::FlatSkinOptions options;
    options.omitSections = {"Tabs"};
    std::unique_ptr<TSkinData> noTabs = LoadSkin(skintest::MakeFlatTestSkin(options));
    pages = Place<TTestAdvPageControl>(10, 10, 200, 40);
    skin = new TSkinAdvPage(pages, kAdvPageTabImages);
    skin->AttachControl(formSkin, noTabs.get(), true, nullptr);
    EXPECT_TRUE(pages->TabBackGround.Empty());
    EXPECT_TRUE(pages->TabBackGroundActive.Empty());
}

TEST_F(ForeignControls, AdvPage_SkinsTheScrollerAtItsFirstPaint) {
    std::unique_ptr<TSkinControl> probe(CreateSkinControl(TSkinClass::UpDown, nullptr));
    if (!probe) GTEST_SKIP() << "no up-down skin in this build";
    probe.reset();
    auto* pages = Place<TTestAdvPageControl>(10, 10, 120, 60);
    for (int i = 0; i < 12; ++i) pages->Tabs().Add("Tab number " + std::to_string(i));
    const HWND scroller = FindWindowExA(pages->Handle(), nullptr, "msctls_updown32", nullptr);
    if (!scroller) GTEST_SKIP() << "the tab control made no scroller";
    auto* skin = new TSkinAdvPage(pages, kAdvPageTabImages);
    skin->AttachControl(formSkin, data.get(), true, nullptr);
    EXPECT_EQ(skin->UpDownSkin, nullptr) << "not before the first paint";
    Capture c(120, 60);
    ASSERT_TRUE(c.Valid());
    SendMessageW(pages->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(c.Dc()), 0);
    ASSERT_NE(skin->UpDownSkin, nullptr);
    EXPECT_EQ(SendMessageW(scroller, WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(skin->UpDownSkin->Owner(), pages) << "owned by the page control";
}

// ---- page fill ---------------------------------------------------------------------------

TEST_F(ForeignControls, TabSheet_FilledWithButtonFace) {
    auto* pages = Place<TPageControl>(10, 10, 300, 200);
    auto* sheet = new TTabSheet(form);
    sheet->SetPageControl(pages);
    sheet->SetText("Page");
    auto* skin = new TSkinTabSheet(sheet);
    skin->AttachControl(formSkin, data.get(), false, nullptr);
    const COLORREF face = ColorToRGB(data->Colours.ButtonFace);
    const HWND hwnd = sheet->Handle();
    const RECT client = guitest::ClientRectOf(hwnd);
    ASSERT_GT(client.right, 10);

    Capture erased(client.right, client.bottom);
    ASSERT_TRUE(erased.Valid());
    EXPECT_EQ(SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.Dc()), 0), 1);
    EXPECT_TRUE(PixelIs(erased, 2, 2, face));
    EXPECT_TRUE(PixelIs(erased, client.right - 2, client.bottom - 2, face));

    Capture painted(client.right, client.bottom);
    ASSERT_TRUE(painted.Valid());
    SendMessageW(hwnd, WM_PAINT, reinterpret_cast<WPARAM>(painted.Dc()), 0);
    EXPECT_TRUE(PixelIs(painted, client.right / 2, client.bottom / 2, face));
    EXPECT_EQ(SendMessageW(hwnd, WM_SKINQUERY, 0, 0), 1);
}

// ---- button tabs -------------------------------------------------------------------------

TEST(TabButtonStrip, NeverOfNegativeHeight) {
    const struct {
        RECT display;
        LONG bottom;
        const char* row;
    } rows[] = {
        {{0, 30, 200, 100}, 31, "tabs on top"},
        {{0, -1, 200, 100}, 0, "display at the top"},
        {{0, -40, 200, 100}, 0, "display above the control"},
        {{0, 130, 200, 100}, 100, "display below the control"},
    };
    for (const auto& row : rows) {
        const RECT strip = TabButtonStrip(RECT{0, 0, 200, 100}, row.display);
        EXPECT_EQ(strip.top, 0) << row.row;
        EXPECT_EQ(strip.bottom, row.bottom) << row.row;
        EXPECT_EQ(strip.right, 200) << row.row;
    }
}

class ButtonTabs : public ForeignControls {
protected:
    TTabControl* MakeTabs(int count, int current) {
        auto* tabs = Place<TTabControl>(10, 10, 360, 120);
        tabs->SetStyle(tsButtons);
        for (int i = 0; i < count; ++i) tabs->Tabs().Add("T" + std::to_string(i));
        tabs->SetTabIndex(current);
        return tabs;
    }
    static RECT ItemRect(HWND tabs, int i) {
        RECT r{};
        SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        OffsetRect(&r, 0, 1);
        return r;
    }
    static Capture Paint(HWND window) {
        const RECT client = guitest::ClientRectOf(window);
        Capture c(client.right, client.bottom);
        if (c.Valid()) SendMessageW(window, WM_PAINT, reinterpret_cast<WPARAM>(c.Dc()), 0);
        return c;
    }
    // Pixels of the item's face that are text of a colour: mostly red, or dark (black
    // text; smoothed edges blend with the face, so the test asks for the clear cases).
    static int CountRed(const Capture& c, const RECT& r) {
        return Count(c, r, [](COLORREF p) { return GetRValue(p) > 160 && GetGValue(p) < 90 && GetBValue(p) < 90; });
    }
    static int CountDark(const Capture& c, const RECT& r) {
        return Count(c, r, [](COLORREF p) { return GetRValue(p) < 60 && GetGValue(p) < 60 && GetBValue(p) < 60; });
    }
    template <class Pred>
    static int Count(const Capture& c, const RECT& r, Pred pred) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (pred(c.Pixel(x, y))) ++n;
        return n;
    }
};

TEST_F(ButtonTabs, CurrentTabPressedOthersNormal) {
    TTabControl* tabs = MakeTabs(3, 1);
    auto* skin = new TSkinTabBtn(tabs);
    skin->AttachControl(formSkin, data.get(), false, nullptr);
    const HWND hwnd = tabs->Handle();
    const Capture c = Paint(hwnd);
    ASSERT_TRUE(c.Valid());
    for (int i = 0; i < 3; ++i) {
        const RECT r = ItemRect(hwnd, i);
        ASSERT_GT(r.right - r.left, 8) << i;
        EXPECT_TRUE(PixelIs(c, r.left + 3, r.top + 3, FlatRef("Buttons", i == 1 ? 2 : 1))) << "tab " << i;
    }
    // Right of the last tab, the strip is the skin's ButtonFace.
    const RECT last = ItemRect(hwnd, 2);
    EXPECT_TRUE(PixelIs(c, last.right + 20, last.top + 3, ColorToRGB(data->Colours.ButtonFace)));
}

TEST_F(ButtonTabs, OnlyAPressedTextColour_ItemsAfterTheCurrentKeepIt) {
    skingen::SkinDesign design = skintest::MakeFlatTestDesign();
    for (skingen::IniSection& section : design.sections)
        if (section.name == "Buttons") section.keys.push_back({"PressedColour2", "255 0 0"});
    std::unique_ptr<TSkinData> skinData = LoadSkin(WriteSkinContainer(design.files()));
    ASSERT_TRUE(skinData->Buttons->HasPressedColour2);
    ASSERT_FALSE(skinData->Buttons->HasNormalColour2);

    TTabControl* tabs = MakeTabs(3, 1);
    auto* skin = new TSkinTabBtn(tabs);
    skin->AttachControl(formSkin, skinData.get(), false, nullptr);
    const HWND hwnd = tabs->Handle();
    const Capture c = Paint(hwnd);
    ASSERT_TRUE(c.Valid());
    EXPECT_EQ(CountRed(c, ItemRect(hwnd, 0)), 0) << "before the current tab: the starting black";
    EXPECT_GT(CountDark(c, ItemRect(hwnd, 0)), 0);
    EXPECT_GT(CountRed(c, ItemRect(hwnd, 1)), 0) << "the current tab";
    EXPECT_GT(CountRed(c, ItemRect(hwnd, 2)), 0) << "after it the colour stays";
    EXPECT_EQ(CountDark(c, ItemRect(hwnd, 2)), 0);
}

TEST_F(ButtonTabs, ReadTabItem_TextsCutToTheirBuffers) {
    TTabControl* tabs = MakeTabs(1, 0);
    const HWND hwnd = tabs->Handle();
    const std::string longText(200, 'M');
    TCITEMA set{};
    set.mask = TCIF_TEXT | TCIF_IMAGE;
    set.pszText = const_cast<char*>(longText.c_str());
    set.iImage = 3;
    ASSERT_TRUE(SendMessageA(hwnd, TCM_SETITEMA, 0, reinterpret_cast<LPARAM>(&set)));
    const struct {
        bool unicode;
        size_t length;
    } rows[] = {{true, kTabButtonTextMaxW - 1}, {false, kTabButtonTextMaxA - 1}};
    for (const auto& row : rows) {
        TTabButtonItem item;
        ASSERT_TRUE(ReadTabButtonItem(hwnd, 0, row.unicode, item)) << row.unicode;
        EXPECT_EQ(item.Text, std::wstring(row.length, L'M')) << row.unicode;
        EXPECT_EQ(item.Image, 3) << row.unicode;
    }
    // The painter reads the same 200-character text without harm.
    auto* skin = new TSkinTabBtn(tabs);
    skin->AttachControl(formSkin, data.get(), false, nullptr);
    EXPECT_TRUE(Paint(hwnd).AnyPainted());

    // A control that fills the whole buffer and leaves no terminator.
    guitest::TestWindowOptions options;
    options.style = WS_POPUP;
    options.handler = [](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
        if (message == TCM_GETITEMW) {
            auto* record = reinterpret_cast<TCITEMW*>(lParam);
            for (int i = 0; i < record->cchTextMax; ++i) record->pszText[i] = L'x';
        } else if (message == TCM_GETITEMA) {
            auto* record = reinterpret_cast<TCITEMA*>(lParam);
            for (int i = 0; i < record->cchTextMax; ++i) record->pszText[i] = 'x';
        } else {
            return false;
        }
        *result = TRUE;
        return true;
    };
    guitest::TestWindow filling(options);
    for (const auto& row : rows) {
        TTabButtonItem item;
        ASSERT_TRUE(ReadTabButtonItem(filling.Handle(), 0, row.unicode, item));
        EXPECT_EQ(item.Text, std::wstring(row.length, L'x')) << row.unicode;
    }
}

TEST_F(ButtonTabs, DisplayAreaAboveTheControl_NothingDrawn) {
    // A tab control whose display area would start above its top: the strip is empty and
    // nothing is painted (no bitmap of negative height).
    guitest::TestWindowOptions options;
    options.style = WS_POPUP;
    options.width = 200;
    options.height = 60;
    options.handler = [](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
        switch (message) {
        case TCM_ADJUSTRECT: reinterpret_cast<RECT*>(lParam)->top = -50; *result = 0; return true;
        case TCM_GETITEMCOUNT: *result = 2; return true;
        case TCM_GETCURFOCUS: *result = 0; return true;
        default: return false;
        }
    };
    guitest::TestWindow odd(options);
    auto* skin = new TSkinTabBtn(formSkin);
    skin->AttachWindow(odd.Handle(), data.get(), formSkin, nullptr);
    const Capture c = Paint(odd.Handle());
    ASSERT_TRUE(c.Valid());
    EXPECT_FALSE(c.AnyPainted());
    delete skin;
}

}  // namespace
