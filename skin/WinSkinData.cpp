// TSkinData as a component: its published properties and stored skin bytes, creation and
// destruction, what it does when its form has been read, and the setters that turn the
// skin on or off or load a skin file.  Everything that touches windows goes through the
// manager link; parsing is in WinSkinDataParse.cpp, the generated parts in
// WinSkinDataParts.cpp.
#include "WinSkinData.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "Forms.h"
#include "SkinManage.h"
#include "SkinManagerLink.h"
#include "Texts.h"

namespace {

const TEnumNames SkinFormTypeNames{
    {{"sfMainform", sfMainform}, {"sfOnlyThisForm", sfOnlyThisForm}, {"sfDialog", sfDialog}, {"sfDLL", sfDLL}}};

const TEnumNames SkinControlTypeNames{{{"xcMainMenu", xcMainMenu},
                                       {"xcPopupMenu", xcPopupMenu},
                                       {"xcMenuItem", xcMenuItem},
                                       {"xcToolbar", xcToolbar},
                                       {"xcControlbar", xcControlbar},
                                       {"xcCombo", xcCombo},
                                       {"xcCheckBox", xcCheckBox},
                                       {"xcRadioButton", xcRadioButton},
                                       {"xcProgress", xcProgress},
                                       {"xcScrollbar", xcScrollbar},
                                       {"xcEdit", xcEdit},
                                       {"xcButton", xcButton},
                                       {"xcBitBtn", xcBitBtn},
                                       {"xcSpeedButton", xcSpeedButton},
                                       {"xcSpin", xcSpin},
                                       {"xcPanel", xcPanel},
                                       {"xcGroupBox", xcGroupBox},
                                       {"xcStatusBar", xcStatusBar},
                                       {"xcTab", xcTab},
                                       {"xcTrackBar", xcTrackBar},
                                       {"xcSystemMenu", xcSystemMenu},
                                       {"xcFastReport", xcFastReport}}};

const TEnumNames SkinOptionNames{{{"xoMDIScrollbar", xoMDIScrollbar},
                                  {"xoMenuMerge", xoMenuMerge},
                                  {"xoTransparent", xoTransparent},
                                  {"xoPreview", xoPreview},
                                  {"xoParentBackGround", xoParentBackGround},
                                  {"xoNoFocusRect", xoNoFocusRect},
                                  {"xoToolbarBK", xoToolbarBK},
                                  {"xoMDIChildBorder", xoMDIChildBorder},
                                  {"xoMenuBG", xoMenuBG}}};

int32_t readInt32(const uint8_t* p) {
    const uint32_t v = uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
    int32_t s;
    std::memcpy(&s, &v, sizeof s);
    return s;
}

bool fileExists(const std::string& name) {
    const DWORD attributes = GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::vector<uint8_t> readWholeFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    if (!in) throw Exception("Cannot open file " + name);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw Exception("Cannot read file " + name);
    return bytes;
}

}  // namespace

const TClassInfo& TSkinData::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSkinData>(
        "TSkinData", &TComponent::StaticClassInfo(), [](TClassBuilder<TSkinData>& b) {
            b.Creatable();
            b.Bool("Active", [](TSkinData& d) { return d.Active(); }, [](TSkinData& d, bool v) { d.SetActive(v); });
            b.Int("DisableTag", [](TSkinData& d) -> int64_t { return d.DisableTag; },
                  [](TSkinData& d, int64_t v) { d.DisableTag = static_cast<int>(v); });
            b.Set("SkinControls", SkinControlTypeNames, [](TSkinData& d) -> int64_t { return d.SkinControls; },
                  [](TSkinData& d, int64_t v) { d.SkinControls = static_cast<TSkinControlTypes>(v); });
            b.Set("Options", SkinOptionNames, [](TSkinData& d) -> int64_t { return d.Options; },
                  [](TSkinData& d, int64_t v) { d.Options = static_cast<TSkinOptions>(v); });
            b.Lines("Skin3rd", [](TSkinData& d) { return d.Skin3rd().ToVector(); },
                    [](TSkinData& d, const TStringVector& v) { d.Skin3rd().SetFromVector(v); });
            b.Str("SkinFile", [](TSkinData& d) { return d.SkinFile(); },
                  [](TSkinData& d, const std::string& v) { d.SetSkinFile(v); });
            b.Str("SkinStore", [](TSkinData& d) { return d.GetSkinStore(); },
                  [](TSkinData& d, const std::string& v) { d.SetSkinStore(v); });
            b.Enum("SkinFormtype", SkinFormTypeNames, [](TSkinData& d) -> int64_t { return d.SkinFormtype; },
                   [](TSkinData& d, int64_t v) {
                       if (v < sfMainform || v > sfDLL) throw EPropertyError("Invalid property value for SkinFormtype");
                       d.SkinFormtype = static_cast<TSkinFormType>(v);
                   });
            b.Str("Version", [](TSkinData& d) { return d.Version(); },
                  [](TSkinData& d, const std::string& v) { d.SetVersion(v); });
            b.Bool("MenuUpdate", [](TSkinData& d) { return d.MenuUpdate; },
                   [](TSkinData& d, bool v) { d.MenuUpdate = v; });
            b.Bool("MenuMerge", [](TSkinData& d) { return d.MenuMerge; },
                   [](TSkinData& d, bool v) { d.MenuMerge = v; });
            b.Event("OnFormSkin", &TSkinData::OnFormSkin);
            b.Event("OnSkinChanged", &TSkinData::OnSkinChanged);
            b.Event("OnSkinControl", &TSkinData::OnSkinControl);
            // The skin file itself, always stored.
            b.Binary("SkinStream", [](TSkinData& d) { return d.WriteSkinStream(); },
                     [](TSkinData& d, const TBytes& v) { d.ReadSkinStream(v); });
        });
    return info;
}

TSkinData::TSkinData(TComponent* owner)
    : TComponent(owner),
      skin3rd_(std::make_unique<TStringList>()),
      captionFont_(std::make_unique<TFont>()),
      sysMenuImages_(std::make_unique<TImageList>(nullptr)) {
    AddDefaultSkin3rd();
    Buttons = std::make_shared<TDataSkinButton>("Buttons");
    Left = std::make_shared<TDataSkinBorder>("Left");
    Right = std::make_shared<TDataSkinBorder>("Right");
    Top = std::make_shared<TDataSkinBorder>("Top");
    Bottom = std::make_shared<TDataSkinBorder>("Bottom");
    Title = std::make_shared<TDataSkinTitle>("Title");
    CustomColours.fill(clWhite);
    // The glyphs of the skinned system menu: restore, maximise, minimise, close.  A program
    // built without them still works; its system menu shows no glyphs.
    try {
        sysMenuImages_->LoadFromResourceName(GetModuleHandleA(nullptr), "LACQUERMENU", 16, clWhite);
    } catch (const Exception&) {
        sysMenuImages_->Clear();
    }
}

TSkinData::~TSkinData() {
    // First: the manager takes this skin from every window still painting through it,
    // while the parts and images those windows use are all still here.
    if (TSkinManagerLink* manager = SkinManager()) manager->UnregisterSkinData(this);
    sysMenuImages_.reset();
    skin3rd_.reset();
}

void TSkinData::ReadSkinStream(const TBytes& stream) {
    if (stream.size() < 4) throw EReadError("Stream read error");
    const int32_t length = readInt32(stream.data());
    if (length <= 0) return;
    if (stream.size() - 4 < static_cast<size_t>(length)) throw EReadError("Stream read error");
    skinBytes_.assign(stream.begin() + 4, stream.begin() + 4 + length);
    if (!designing()) LoadSkin();
}

TBytes TSkinData::WriteSkinStream() const {
    const auto size = static_cast<uint32_t>(skinBytes_.size());
    TBytes out(4 + skinBytes_.size());
    for (int i = 0; i < 4; ++i) out[static_cast<size_t>(i)] = static_cast<uint8_t>(size >> (8 * i));
    if (!skinBytes_.empty()) std::memcpy(out.data() + 4, skinBytes_.data(), skinBytes_.size());
    return out;
}

std::string TSkinData::GetSkinStore() const {
    if (designing() && !skinBytes_.empty()) return "(Good)";
    return "(none)";
}

void TSkinData::Loaded() {
    TComponent::Loaded();
    if (designing()) return;
    // Without the platform's scroll-bar query no window scroll bar can be covered.
    if (!HasGetScrollBarInfo()) SkinControls &= ~SkinBit(xcScrollbar);
    TSkinManagerLink* manager = CreateSkinManager();
    manager->RegisterSkinData(this);
    LoadCaptionFont();
    if (SkinFormtype != sfMainform) {
        manager->SetEnabled(true);
        manager->SetReadyState(manager->ReadyState() + 1);
        auto* form = dynamic_cast<TCustomForm*>(Owner());
        if (form && active_) manager->SkinWindow(form->Handle());
        return;
    }
    manager->InstallHook();
    if (active_) {
        if (noSkin_) active_ = false;  // the field only: there is nothing to switch on
        else manager->Schedule(saSkin, 250);
    }
    if (SkinControls & SkinBit(xcMainMenu)) SkinControls &= ~SkinBit(xcMenuItem);
    else SkinControls &= ~SkinBit(xcSystemMenu);
    LoadAppIcon();
}

void TSkinData::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    // While the form is read, Loaded acts on the stored value.
    if (designing() || reading()) return;
    if (SkinFormtype == sfDialog || SkinFormtype == sfDLL) return;
    if (SkinFormtype == sfMainform && value && noSkin_) return;
    TSkinManagerLink* manager = CreateSkinManager();
    manager->SetCurrentSkinData(this);
    if (value && noSkin_) return;
    manager->Schedule(value ? saSkin : saUnskin, 250);
    if (value && SkinFormtype == sfMainform) manager->SetReadyState(1);
}

void TSkinData::SetSkinFile(const std::string& name) {
    noSkin_ = true;
    skinFile_ = name;
    if (designing()) {
        if (!name.empty()) skinBytes_.clear();  // the file replaces the stored skin
        return;
    }
    if (!fileExists(name)) return;
    skinBytes_.clear();
    skinBytes_ = readWholeFile(name);
    LoadSkin();
    if (SkinFormtype == sfMainform) ApplySkinFile();
}

void TSkinData::ApplySkinFile() {
    if (designing() || reading()) return;
    if (!SkinManager()) Loaded();
    TSkinManagerLink* manager = SkinManager();
    manager->SetCurrentSkinData(this);
    manager->RefreshFormSkins();
    if (manager->ReadyState() == 1) manager->Schedule(saReapply, 250);
}

void TSkinData::DoFormSkin(HWND, const std::string& className, bool& doSkin) {
    if (OnFormSkin) {
        OnFormSkin(this, className, doSkin);
        return;
    }
    if (className == "SysMonthCal32") doSkin = false;
    else if ((SkinControls & SkinBit(xcFastReport)) && className.compare(0, 3, "Tfr") == 0) doSkin = false;
}

void TSkinData::DoSkinChanged() {
    if (OnSkinChanged) OnSkinChanged(this);
}

TColor TSkinData::CaptionSampleColor() {
    if (!Top || Top->Image.Empty()) return Colours.ButtonFace;
    const int frames = Top->Frame < 1 ? 1 : Top->Frame;
    const COLORREF c = Top->Image.PixelColor(Top->Image.Width() / 3, Top->Image.Height() / frames / 3);
    return c == CLR_INVALID ? Colours.ButtonFace : static_cast<TColor>(c);
}

TDataSkinObject* TSkinData::FindPart(const std::string& sectionName) const {
    const std::string wanted = texts::UpperCase(sectionName);
    const std::pair<const char*, TDataSkinObject*> parts[] = {
        {"BUTTONS", Buttons.get()},
        {"LEFT", Left.get()},
        {"RIGHT", Right.get()},
        {"TOP", Top.get()},
        {"BOTTOM", Bottom.get()},
        {"TITLE", Title.get()},
        {"PROGRESS", Progress.get()},
        {"PROGRESS.CHUNK", ProgressChunk.get()},
        {"PERSONALITY", MenuBar.get()},
        {"GROUPBOXEDGE", GroupBoxEdge.get()},
        {"GROUPBOX", GroupBox.get()},
        {"TABS", Tabs.get()},
        {"STATUSBAREDGES", StatusBarEdges.get()},
        {"TAB.PANE", TabPane.get()},
        {"TOOLBARS", ToolBars.get()},
        {"COMBOBUTTON", ComboButton.get()},
        {"SUNKEDGE", SunkEdge.get()},
        {"EXTRAIMAGES", ExtraImages.get()},
        {"HEADERBAR", Headerbar.get()},
        {"MENUITEM", MenuItem.get()},
        {"MENUBACKGROUND", MenuBackground.get()},
        {"SCROLLBAR", Scrollbar.get()},
        {"HORZSCROLL", HorzScroll.get()},
        {"VERTSCROLL", VertScroll.get()},
        {"HORZSCROLLTHUMB", HorzScrollThumb.get()},
        {"VERTSCROLLTHUMB", VertScrollThumb.get()},
        {"TRACKBAR.THUMBHORZ", TrackbarThumbHorz.get()},
        {"TRACKBAR.THUMBVERT", TrackbarThumbVert.get()},
        {"TRACKBAR.THUMBLEFT", TrackbarThumbLeft.get()},
        {"TRACKBAR.THUMBRIGHT", TrackbarThumbRight.get()},
        {"TRACKBAR.THUMBUP", TrackbarThumbUp.get()},
        {"TRACKBAR.THUMBDOWN", TrackbarThumbDown.get()},
        {"UPDOWN.HORZ", UpDownHorz.get()},
        {"UPDOWN.VERT", UpDownVert.get()},
        {"TRACK", Track.get()},
        {"TRACKVERT", TrackVert.get()},
        {"COMBOXARROW", ComboxArrow.get()},
        {"TOOLBAR", Toolbar.get()},
    };
    for (const auto& [name, part] : parts)
        if (wanted == name) return part;
    return nullptr;
}

void TSkinData::LoadCaptionFont() {
    captionFont_ = std::make_unique<TFont>();
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        if (HFONT font = CreateFontIndirectA(&metrics.lfCaptionFont)) captionFont_->SetHandle(font);
    }
}

void RegisterSkinClasses() {
    TSkinData::StaticClassInfo();
    TSkinManage::InstallFactory();
}
