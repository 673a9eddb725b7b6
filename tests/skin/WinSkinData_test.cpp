// TSkinData as a component: defaults, properties by name, the stored SkinStream, what it
// asks of the skin manager when its form is read and when Active or SkinFile change, the
// form-skin decision, the owned resources and their release.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "Forms.h"
#include "gui_test.h"
#include "skin_data_support.h"
#include "test_skins.h"

namespace {

using skindata::LoadInto;
using skindata::MakeSkin;
using skindata::StreamOf;
using Strings = std::vector<std::string>;

std::string Hex(const TBytes& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

const std::vector<uint8_t>& SmallSkin() {
    static const std::vector<uint8_t> skin =
        MakeSkin("[Personality]\r\nTop=top.bmp\r\n[Scrollbar]\r\nImage=top.bmp\r\n",
                 {{"top.bmp", skindata::FlatBmp(30, 12, 0x3050C0)}});
    return skin;
}

// A form holding one TSkinData with these stored lines.
TForm* ReadForm(const std::string& skinDataLines) {
    auto* form = new TForm(Application);
    try {
        form->InitFromText("object SkinForm: TForm\n  object SkinData1: TSkinData\n" + skinDataLines + "  end\nend\n");
    } catch (...) {
        delete form;
        throw;
    }
    return form;
}

TSkinData* SkinDataOf(TForm* form) { return dynamic_cast<TSkinData*>(form->FindComponent("SkinData1")); }

using SkinComponent = skindata::SkinDataTest;

TEST_F(SkinComponent, Create_SetsTheDefaults) {
    TSkinData d(nullptr);
    EXPECT_FALSE(d.Active());
    EXPECT_EQ(d.DisableTag, 99);
    EXPECT_EQ(d.SkinControls, 0x1FFFFBu);
    EXPECT_EQ(d.Options, 0x48);
    EXPECT_EQ(d.Skin3rd().Count(), 117);
    EXPECT_EQ(d.SkinFile(), "");
    EXPECT_EQ(d.SkinFormtype, sfMainform);
    EXPECT_EQ(d.Version(), "4.04.04.11");
    EXPECT_TRUE(d.MenuUpdate);
    EXPECT_FALSE(d.MenuMerge);
    EXPECT_TRUE(d.NoSkin());
    EXPECT_TRUE(d.FramePaint);
    EXPECT_TRUE(d.SkinBytes().empty());
    const TDataSkinObject* fixed[] = {d.Buttons.get(), d.Left.get(), d.Right.get(),
                                      d.Top.get(),     d.Bottom.get(), d.Title.get()};
    for (const TDataSkinObject* p : fixed) {
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->Frame, 0);
        EXPECT_TRUE(p->Image.Empty());
    }
    EXPECT_EQ(d.Title->Name, "Title");
    // The system-menu glyphs: four 16 x 16 images.
    EXPECT_EQ(d.SysMenuImages().Count(), 4);
    EXPECT_EQ(d.SysMenuImages().Width(), 16);
    EXPECT_EQ(d.SysMenuImages().Height(), 16);
    EXPECT_EQ(SkinManager(), nullptr) << "nothing asks for the manager before the component is loaded";
}

TEST_F(SkinComponent, Properties_ReadAndWriteByName) {
    TSkinData d(nullptr);
    EXPECT_EQ(GetStrProp(d, "Version"), "4.04.04.11");
    SetStrProp(d, "Version", "9.9");
    EXPECT_EQ(GetStrProp(d, "Version"), "4.04.04.11");
    SetStrProp(d, "SkinStore", "(Good)");
    EXPECT_EQ(GetStrProp(d, "SkinStore"), "(none)");
    SetEnumProp(d, "SkinFormtype", "sfDialog");
    EXPECT_EQ(d.SkinFormtype, sfDialog);
    SetOrdProp(d, "DisableTag", 7);
    EXPECT_EQ(d.DisableTag, 7);
    SetOrdProp(d, "MenuUpdate", 0);
    EXPECT_FALSE(d.MenuUpdate);
    SetOrdProp(d, "SkinControls", (1 << xcMainMenu) | (1 << xcFastReport));
    EXPECT_EQ(d.SkinControls, SkinBit(xcMainMenu) | SkinBit(xcFastReport));
    SetPropValue(d, "Skin3rd", TValue(TStringVector{"TMyGrid=scrollbar"}));
    ASSERT_EQ(d.Skin3rd().Count(), 1);
    EXPECT_EQ(d.Skin3rd()[0], "TMyGrid=scrollbar");
    const TPropInfo* info = GetPropInfo(d, "SkinStream");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->Kind, TTypeKind::tkBinary);
    for (const char* event : {"OnFormSkin", "OnSkinChanged", "OnSkinControl"})
        EXPECT_EQ(GetPropInfo(d, event)->Kind, TTypeKind::tkMethod) << event;
}

TEST_F(SkinComponent, SkinStream_RoundTripsThroughTheProperty) {
    TSkinData d(nullptr);
    EXPECT_EQ(std::get<TBytes>(GetPropValue(d, "SkinStream")), TBytes(4, 0)) << "an empty skin is four zero bytes";
    const TBytes stored = StreamOf(SmallSkin());
    SetPropValue(d, "SkinStream", stored);
    EXPECT_FALSE(d.NoSkin()) << "reading the property parses the skin at run time";
    EXPECT_EQ(d.SkinBytes(), SmallSkin());
    EXPECT_EQ(std::get<TBytes>(GetPropValue(d, "SkinStream")), stored);

    // A copy made from the written bytes holds the same skin.
    TSkinData copy(nullptr);
    SetPropValue(copy, "SkinStream", GetPropValue(d, "SkinStream"));
    EXPECT_EQ(copy.SkinBytes(), d.SkinBytes());
    EXPECT_EQ(copy.Top->Image.Width(), 30);
}

TEST_F(SkinComponent, SkinStream_LengthZeroOrLessKeepsWhatIsHeld) {
    TSkinData d(nullptr);
    SetPropValue(d, "SkinStream", TBytes{0, 0, 0, 0});
    EXPECT_TRUE(d.SkinBytes().empty());
    EXPECT_TRUE(d.NoSkin());
    ASSERT_TRUE(LoadInto(d, SmallSkin()));
    SetPropValue(d, "SkinStream", TBytes{0xFF, 0xFF, 0xFF, 0xFF, 1, 2});
    EXPECT_EQ(d.SkinBytes(), SmallSkin());
    EXPECT_FALSE(d.NoSkin());
}

// A skin file announcing an unpacked length of 0 or below holds an empty container: the
// user is told it is of an older kind, whatever the sign of the length.
TEST_F(SkinComponent, LoadSkin_ZeroOrNegativeLengthShowsTheVersionMessage) {
    const struct {
        uint8_t length[4];
        const char* row;
    } rows[] = {
        {{0x00, 0x00, 0x00, 0x00}, "0"},
        {{0xFF, 0xFF, 0xFF, 0xFF}, "-1"},
        {{0x00, 0x00, 0x00, 0x80}, "most negative"},
    };
    for (const auto& row : rows) {
        std::vector<uint8_t> file = SmallSkin();
        std::copy(row.length, row.length + 4, file.begin());
        TSkinData d(nullptr);
        bool loaded = true;
        const std::string text = guitest::ExpectMessageBox([&] { loaded = LoadInto(d, file); }, IDOK);
        EXPECT_FALSE(loaded) << row.row;
        EXPECT_NE(text.find("This is Older Skin File"), std::string::npos) << row.row << ": " << text;
        EXPECT_NE(text.find("Please update to new version !"), std::string::npos) << row.row << ": " << text;
    }
}

TEST_F(SkinComponent, SkinStream_ShortStreamRaises) {
    TSkinData d(nullptr);
    EXPECT_THROW(SetPropValue(d, "SkinStream", TBytes{1, 0}), EReadError);
    EXPECT_THROW(SetPropValue(d, "SkinStream", TBytes{10, 0, 0, 0, 1, 2, 3}), EReadError);
    EXPECT_TRUE(d.SkinBytes().empty());
}

TEST_F(SkinComponent, Loaded_WithSkin_RegistersInstallsAndSchedules) {
    TForm* form = ReadForm("    Active = True\n    SkinStream = {" + Hex(StreamOf(SmallSkin())) + "}\n");
    TSkinData* d = SkinDataOf(form);
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->Active());
    EXPECT_FALSE(d->NoSkin());
    EXPECT_EQ(log, (Strings{"Register", "InstallHook", "Schedule 1 250"}));
    ASSERT_NE(Manager(), nullptr);
    EXPECT_EQ(Manager()->ReadyState(), 0);
    // The menu bits after loading with the default set.
    EXPECT_EQ(d->SkinControls & SkinBit(xcMenuItem), 0u);
    EXPECT_NE(d->SkinControls & SkinBit(xcSystemMenu), 0u);
    ASSERT_NE(d->CaptionFont(), nullptr);
    EXPECT_NE(d->CaptionFont()->Handle(), nullptr);
    delete form;
    EXPECT_EQ(log.back(), "Unregister");
}

TEST_F(SkinComponent, Loaded_WithoutSkin_DropsActive) {
    for (const char* stream : {"{00000000}", "@EMPTYSKINSTREAM"}) {
        SCOPED_TRACE(stream);
        log.clear();
        TForm* form = ReadForm(std::string("    Active = True\n    SkinStream = ") + stream + "\n");
        TSkinData* d = SkinDataOf(form);
        EXPECT_FALSE(d->Active());
        EXPECT_TRUE(d->NoSkin());
        EXPECT_EQ(log, (Strings{"Register", "InstallHook"}));
        delete form;
    }
}

TEST_F(SkinComponent, Loaded_WithoutMainMenu_DropsTheSystemMenu) {
    TForm* form = ReadForm("    SkinControls = [xcPopupMenu, xcMenuItem, xcSystemMenu, xcButton]\n");
    TSkinData* d = SkinDataOf(form);
    EXPECT_EQ(d->SkinControls, SkinBit(xcPopupMenu) | SkinBit(xcMenuItem) | SkinBit(xcButton));
    EXPECT_FALSE(d->Active());
    delete form;
}

TEST_F(SkinComponent, Loaded_OnlyThisForm_SkinsItsOwner) {
    TForm* form = ReadForm("    Active = True\n    SkinFormtype = sfOnlyThisForm\n    SkinStream = {" +
                           Hex(StreamOf(SmallSkin())) + "}\n");
    EXPECT_EQ(log, (Strings{"Register", "SkinWindow"}));
    ASSERT_NE(Manager(), nullptr);
    EXPECT_TRUE(Manager()->Enabled());
    EXPECT_EQ(Manager()->ReadyState(), 1);
    EXPECT_EQ(Manager()->lastWindow, form->Handle());
    EXPECT_NE(SkinDataOf(form)->SkinControls & SkinBit(xcSystemMenu), 0u) << "menu bits are left alone";
    delete form;
}

TEST_F(SkinComponent, SetActive_SchedulesOnceAndOnlyWithASkin) {
    TForm* form = ReadForm("    SkinStream = {" + Hex(StreamOf(SmallSkin())) + "}\n");
    TSkinData* d = SkinDataOf(form);
    log.clear();
    d->SetActive(true);
    d->SetActive(true);
    EXPECT_EQ(log, (Strings{"Schedule 1 250"}));
    EXPECT_EQ(Manager()->CurrentSkinData(), d);
    EXPECT_EQ(Manager()->ReadyState(), 1);
    d->SetActive(false);
    EXPECT_EQ(log, (Strings{"Schedule 1 250", "Schedule 2 250"}));

    // A missing skin file leaves the component without a skin: switching on does nothing.
    d->SetSkinFile("Z:\\no\\such\\file.skin");
    EXPECT_TRUE(d->NoSkin());
    EXPECT_FALSE(d->Active());
    log.clear();
    d->SetActive(true);
    EXPECT_TRUE(d->Active());
    EXPECT_TRUE(log.empty());
    delete form;
}

TEST_F(SkinComponent, SetActive_OtherFormTypes) {
    TSkinData d(nullptr);
    d.SkinFormtype = sfDialog;
    d.SetActive(true);
    EXPECT_EQ(SkinManager(), nullptr);
    d.SkinFormtype = sfOnlyThisForm;
    ASSERT_TRUE(LoadInto(d, SmallSkin()));
    d.SetActive(false);
    EXPECT_EQ(log, (Strings{"Schedule 2 250"}));
    EXPECT_EQ(Manager()->CurrentSkinData(), &d);
    EXPECT_EQ(Manager()->ReadyState(), 0);
}

TEST_F(SkinComponent, SetSkinFile_LoadsAndReappliesTheFile) {
    guitest::TempDir dir(L"skindata");
    ASSERT_TRUE(dir.Valid());
    const std::vector<uint8_t> flat = skintest::MakeFlatTestSkin();
    const std::wstring path = dir.File(L"flat.skin");
    ASSERT_TRUE(guitest::WriteFileBytes(path, std::string(flat.begin(), flat.end())));

    TForm* form = ReadForm("    Active = True\n    SkinStream = {" + Hex(StreamOf(SmallSkin())) + "}\n");
    TSkinData* d = SkinDataOf(form);
    log.clear();
    d->SetSkinFile(guitest::ToAnsi(path));
    EXPECT_FALSE(d->NoSkin());
    EXPECT_EQ(d->SkinBytes(), flat);
    EXPECT_TRUE(d->MenuItem) << "the flat skin is parsed";
    EXPECT_EQ(log, (Strings{"Refresh"})) << "no window was activated yet: nothing to re-apply";
    EXPECT_EQ(Manager()->CurrentSkinData(), d);

    Manager()->SetReadyState(1);
    log.clear();
    d->SetSkinFile(guitest::ToAnsi(path));
    EXPECT_EQ(log, (Strings{"Refresh", "Schedule 3 250"}));
    EXPECT_EQ(std::get<TBytes>(GetPropValue(*d, "SkinStream")), StreamOf(flat)) << "the file is what gets stored";
    delete form;
}

TEST_F(SkinComponent, ApplySkinFile_LoadsTheComponentWhenThereIsNoManager) {
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, SmallSkin()));
    d.ApplySkinFile();
    EXPECT_EQ(log, (Strings{"Register", "InstallHook", "Refresh"}));
}

TEST_F(SkinComponent, DoFormSkin_RefusesCalendarsAndReportWindows) {
    TSkinData d(nullptr);
    struct Row {
        const char* className;
        bool fastReport;
        bool expected;
    } rows[] = {{"TForm1", false, true},      {"SysMonthCal32", false, false}, {"sysmonthcal32", false, true},
                {"TfrDesigner", false, true}, {"TfrDesigner", true, false},    {"TFRDesigner", true, true}};
    for (const Row& row : rows) {
        d.SkinControls = TSkinData::kDefaultSkinControls;
        if (row.fastReport) d.SkinControls |= SkinBit(xcFastReport);
        bool doSkin = true;
        d.DoFormSkin(nullptr, row.className, doSkin);
        EXPECT_EQ(doSkin, row.expected) << row.className << " fastReport " << row.fastReport;
    }
    // A handler's answer stands, whatever the class.
    std::string asked;
    d.OnFormSkin = [&](TObject* sender, const std::string& name, bool& doSkin) {
        EXPECT_EQ(sender, &d);
        EXPECT_TRUE(doSkin);
        asked = name;
        doSkin = name == "SysMonthCal32";
    };
    bool doSkin = true;
    d.DoFormSkin(nullptr, "SysMonthCal32", doSkin);
    EXPECT_TRUE(doSkin);
    EXPECT_EQ(asked, "SysMonthCal32");
    doSkin = true;
    d.DoFormSkin(nullptr, "TForm1", doSkin);
    EXPECT_FALSE(doSkin);
}

TEST_F(SkinComponent, DoSkinChanged_FiresTheEvent) {
    TSkinData d(nullptr);
    d.DoSkinChanged();  // no handler: nothing
    TObject* sender = nullptr;
    d.OnSkinChanged = [&](TObject* s) { sender = s; };
    d.DoSkinChanged();
    EXPECT_EQ(sender, &d);
}

TEST_F(SkinComponent, FindPart_NamesEveryPartWithoutCase) {
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, skintest::MakeFlatTestSkin()));
    EXPECT_EQ(d.FindPart("top"), d.Top.get());
    EXPECT_EQ(d.FindPart("TRACKBAR.THUMBHORZ"), d.TrackbarThumbHorz.get());
    EXPECT_EQ(d.FindPart("comboxarrow"), d.ComboxArrow.get());
    EXPECT_EQ(d.FindPart("Personality"), d.MenuBar.get());
    EXPECT_EQ(d.FindPart("Colours"), nullptr);
}

TEST_F(SkinComponent, LoadCaptionFont_TakesThePlatformCaptionFont) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    TSkinData d(nullptr);
    d.LoadCaptionFont();
    ASSERT_NE(d.CaptionFont(), nullptr);
    LOGFONTA font{};
    ASSERT_TRUE(GetObjectA(d.CaptionFont()->Handle(), sizeof font, &font));
    EXPECT_STREQ(font.lfFaceName, metrics.lfCaptionFont.lfFaceName);
    EXPECT_EQ(font.lfHeight, metrics.lfCaptionFont.lfHeight);
    EXPECT_EQ(font.lfWeight, metrics.lfCaptionFont.lfWeight);
}

TEST_F(SkinComponent, CreateLoadDestroy_LeaksNoGdiObjects) {
    const std::vector<uint8_t> flat = skintest::MakeFlatTestSkin();
    auto cycle = [&] {
        TSkinData d(nullptr);
        ASSERT_TRUE(LoadInto(d, flat));
        ASSERT_TRUE(LoadInto(d, flat));
        d.LoadCaptionFont();
        d.CaptionFont()->Handle();
    };
    cycle();
    const guitest::GuiObjectCounts before = guitest::CountGuiObjects();
    if (!before.gdiKnown) GTEST_SKIP() << "GDI objects cannot be counted here (" << before.source << ")";
    for (int i = 0; i < 5; ++i) cycle();
    const guitest::GuiObjectCounts after = guitest::CountGuiObjects();
    EXPECT_EQ(after.gdi, before.gdi) << before.source;
}

}  // namespace
