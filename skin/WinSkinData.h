// The skin component TSkinData and the skin it holds: the parsed parts (TDataSkinObject and
// its kinds), the skin colours, the caption-button definitions, the caption font and the
// system-menu glyphs.  It carries the skin file in the stored form (SkinStream) or reads it
// from SkinFile, parses it, and drives the skin manager through SkinManagerLink.h.  The
// container and definition text readers are in SkinContainer.h and QuickIni.h; drawing
// parts is SkinPrimitives.h's job.
//
// How readers hold parts: every part is shared (std::shared_ptr).  A load frees each
// optional part and makes a new one, so a reader that keeps a part between messages keeps
// the shared_ptr (the old part then stays valid, with the old skin, until the reader lets
// it go) or looks it up again; a raw pointer is only good until the next load.  The fixed
// parts (Buttons, Left, Right, Top, Bottom, Title) and the generated ComboxArrow and
// Toolbar are the same objects for the component's life and are refilled in place.
// SkinGeneration() changes with every finished parse, for readers that cache what they
// derived from a skin.
//
// Types: TDataSkinObject, TDataSkinBorder, TDataSkinButton, TDataSkinTitle,
//        TDataSkinSysButton, TDataSkinBoxLabel, TSkinColours, TSkinFormType, TSkinControlType,
//        TSkinOption, TOnFormSkin, TOnSkinControl, TSkinData.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "Classes.h"
#include "Graphics.h"
#include "Handles.h"
#include "ImgList.h"
#include "SkinPrimitives.h"

class TControl;
class TSkinReader;
class TQuickIni;

// ---- parts --------------------------------------------------------------------------

// One skin part: an image strip of Frame equal cells with the margins a nine-slice render
// keeps unscaled, and the part's flags and state colours.  A new part has an empty image,
// its name and every number 0.
class TDataSkinObject {
public:
    explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
    virtual ~TDataSkinObject() = default;
    TDataSkinObject(const TDataSkinObject&) = delete;
    TDataSkinObject& operator=(const TDataSkinObject&) = delete;

    TSkinMargins Margins;  // Left, Top, Right, Bottom
    TBitmap Image;         // the cell strip; empty when the entry is missing
    int32_t Trans = 0;     // non-zero: magenta pixels are transparent
    int32_t Tile = 0;      // how the middle is filled (meaning per part)
    std::string Name;      // the section it came from, or its fixed name
    int32_t Frame = 0;     // cells in the strip (readers treat values below 1 as 1)
    int32_t Style = 0;
    int32_t NormalColour = 0, MouseOverColour = 0, PressedColour = 0;  // -1: not given
    TColor NormalColour2 = 0, MouseOverColour2 = 0, PressedColour2 = 0;
};

// A part with a second image (the tab pane border, the up-down glyphs, the mirrored combo
// button).
class TDataSkinBorder : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TBitmap Image2;
};

// The push-button part, with the check-box and radio-button strips.
class TDataSkinButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TBitmap CheckButton;
    TBitmap RadioButton;
    int32_t RadioButtonFrame = 0;
    int32_t CheckButtonFrame = 0;
    bool HasNormalColour2 = false, HasMouseOverColour2 = false, HasPressedColour2 = false;
};

// The caption: Margins hold TextShift (Left), TextShiftVert (Top) and TextRightClip
// (Right); Image is the caption text background TextBack.
class TDataSkinTitle : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    int32_t TextAlignment = 0;
    int32_t Textbackground = 0;
    int32_t FontHeight = 0;
    int32_t TXTBackleft = 0;
    int32_t TXTBackRight = 0;
    TColor ActiveText = clNone;    // caption text colour of the active window
    TColor InActiveText = clNone;  // and of an inactive one
};

// One caption-button definition.
class TDataSkinSysButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    int32_t Action = 0;
    int32_t Align = 0;
    int32_t Xcoord = 0;
    int32_t Ycoord = 0;
    int32_t CombineOp = 0;
    int32_t Visibility = 0;
    int32_t Visibility1 = 0;
};

// The group-box caption background.
class TDataSkinBoxLabel : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    int32_t BackgroundLeftShift = 0;
    int32_t BackgroundRightShift = 0;
    int32_t BackgroundAlignment = 0;
};

// The colours a skin puts in place of the system colours; each starts as the system
// colour that its key defaults to.
struct TSkinColours {
    TColor WindowText = clWindowText;
    TColor ButtonFace = clBtnFace;
    TColor Scrollbar = clScrollBar;
    TColor HilightText = clHighlightText;
    TColor Hilight = clHighlight;
    TColor Menubar = clBtnFace;
    TColor Menu = clMenu;
    TColor MenuText = clMenuText;
    TColor ButtonText = clBtnText;
    TColor ButtonHilight = clBtnHighlight;
    TColor Buttonlight = clBtnHighlight;
    TColor ButtonShadow = clBtnShadow;
    TColor ButtonDkShadow = cl3DDkShadow;
    TColor MenuBarText = clMenuText;
    TColor TitleTextActive = clCaptionText;
    TColor TitleTextNoActive = clInactiveCaptionText;
};

// ---- settings -----------------------------------------------------------------------

enum TSkinFormType : uint8_t { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

enum TSkinControlType {
    xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
    xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox,
    xcStatusBar, xcTab, xcTrackBar, xcSystemMenu, xcFastReport
};
using TSkinControlTypes = uint32_t;  // bit n = value n

enum TSkinOption {
    xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect, xoToolbarBK,
    xoMDIChildBorder, xoMenuBG
};
using TSkinOptions = uint16_t;  // bit n = value n

constexpr uint32_t SkinBit(int value) { return uint32_t{1} << value; }

class TSkinData;

using TOnFormSkin = std::function<void(TObject* Sender, const std::string& aName, bool& DoSkin)>;
using TOnSkinControl = std::function<void(TComponent* Sender, TSkinData* SkinData, TControl* Form, TControl* Control,
                                          const std::string& ControlClass, TComponent*& SkinnedControl)>;

// ---- the component ------------------------------------------------------------------

class TSkinData : public TComponent {
    CLASS_INFO(TSkinData)
public:
    static constexpr const char* kVersion = "4.04.04.11";
    static constexpr TSkinControlTypes kDefaultSkinControls = 0x1FFFFB;  // all but xcMenuItem, xcFastReport
    static constexpr TSkinOptions kDefaultOptions = 0x48;                // xoPreview, xoToolbarBK
    static constexpr int kDefaultDisableTag = 99;

    explicit TSkinData(TComponent* owner);
    ~TSkinData() override;

    // Published properties.
    bool Active() const { return active_; }
    void SetActive(bool value);
    int DisableTag = kDefaultDisableTag;  // a control or popup menu with this Tag is not skinned
    TSkinControlTypes SkinControls = kDefaultSkinControls;
    TSkinOptions Options = kDefaultOptions;
    TStrings& Skin3rd() { return *skin3rd_; }
    void SetSkin3rd(const TStrings& lines) { skin3rd_->Assign(lines); }
    const std::string& SkinFile() const { return skinFile_; }
    void SetSkinFile(const std::string& name);
    std::string GetSkinStore() const;
    void SetSkinStore(const std::string&) {}  // the value is only reported, never taken
    TSkinFormType SkinFormtype = sfMainform;
    std::string Version() const { return kVersion; }
    void SetVersion(const std::string&) {}
    bool MenuUpdate = true;  // rebuild the skinned menu bar on CM_MENUCHANGED
    bool MenuMerge = false;  // stored only
    TOnFormSkin OnFormSkin;
    TNotifyEvent OnSkinChanged;
    TOnSkinControl OnSkinControl;

    // The stored property SkinStream: a signed 32-bit length, then that many skin-file
    // bytes.  Reading parses the skin at run time; a length of 0 or less means no skin;
    // bytes missing after the length raise EReadError.
    void ReadSkinStream(const TBytes& stream);
    TBytes WriteSkinStream() const;
    // The skin-file bytes held (empty when none).
    const std::vector<uint8_t>& SkinBytes() const { return skinBytes_; }

    void Loaded() override;
    // Parses the held skin-file bytes.  False for a container of another version (after
    // the message box) or a damaged one; the parts then keep what they held.  A damaged
    // bitmap entry raises EInvalidGraphic.  Either way NoSkin() stays true.
    bool LoadSkin();
    // After a new skin file was loaded at run time: re-apply it to the skinned windows.
    void ApplySkinFile();
    // Asked by the manager for each window it admits; doSkin enters true.
    void DoFormSkin(HWND window, const std::string& className, bool& doSkin);
    // Fires OnSkinChanged; called by the manager after each deferred action.
    void DoSkinChanged();
    // A colour from inside the first cell of the "Top" frame part, else ButtonFace.
    TColor CaptionSampleColor();
    // (Re)creates CaptionFont from the platform's caption font.
    void LoadCaptionFont();

    // True until a parse has finished: the component then counts as holding no skin.
    bool NoSkin() const { return noSkin_; }
    // Changes with each finished parse.
    unsigned SkinGeneration() const { return generation_; }

    // ---- the parsed skin (read-only for readers; see the note at the top) ----
    std::string SkinName;
    // Fixed parts.
    std::shared_ptr<TDataSkinButton> Buttons;
    std::shared_ptr<TDataSkinBorder> Left, Right, Top, Bottom;
    std::shared_ptr<TDataSkinTitle> Title;
    // Parts present when the definition has their section (else null).
    std::shared_ptr<TDataSkinBorder> Progress;
    std::shared_ptr<TDataSkinObject> ProgressChunk;
    std::shared_ptr<TDataSkinObject> MenuBar;  // [Personality] menuBar, named "Personality"
    std::shared_ptr<TDataSkinObject> GroupBoxEdge;
    std::shared_ptr<TDataSkinBoxLabel> GroupBox;
    std::shared_ptr<TDataSkinBorder> Tabs;
    std::shared_ptr<TDataSkinObject> StatusBarEdges;
    std::shared_ptr<TDataSkinObject> TabPane;
    std::shared_ptr<TDataSkinObject> ToolBars;
    std::shared_ptr<TDataSkinBorder> ComboButton;
    std::shared_ptr<TDataSkinObject> SunkEdge;
    std::shared_ptr<TDataSkinObject> ExtraImages;
    std::shared_ptr<TDataSkinObject> Headerbar;
    std::shared_ptr<TDataSkinObject> MenuItem;
    std::shared_ptr<TDataSkinObject> MenuBackground;
    std::shared_ptr<TDataSkinObject> Scrollbar;
    std::shared_ptr<TDataSkinObject> HorzScroll, VertScroll;
    std::shared_ptr<TDataSkinObject> HorzScrollThumb, VertScrollThumb;
    std::shared_ptr<TDataSkinObject> TrackbarThumbHorz, TrackbarThumbVert, TrackbarThumbLeft, TrackbarThumbRight,
        TrackbarThumbUp, TrackbarThumbDown;
    std::shared_ptr<TDataSkinBorder> UpDownHorz, UpDownVert;
    std::shared_ptr<TDataSkinObject> Track, TrackVert;  // [Track], [TRACKVERT], else the resource parts
    // Generated parts (made by the first load, refilled by later ones).
    std::shared_ptr<TDataSkinObject> ComboxArrow;
    std::shared_ptr<TDataSkinObject> Toolbar;
    // Caption buttons: the retained [Button...] sections in file order, then the three
    // document-window buttons.
    std::vector<std::shared_ptr<TDataSkinSysButton>> CaptionButtons;

    // Skin colours (system colours until a skin sets them), section colours, custom colours.
    TSkinColours Colours;
    std::vector<TColor> SectionColours;  // one per [Colour...] section, in file order
    std::array<TColor, 10> CustomColours{};
    TColor CaptionSample = clBtnFace;  // CaptionSampleColor() as of the last parse
    BrushRef SkinBrush() const { return skinBrush_.get(); }  // solid ButtonFace; null before a parse

    // The part built from a section (or fixed name) given without regard to case: "Top",
    // "Scrollbar", "Trackbar.ThumbHorz", "ComboxArrow", "TRACK"...; null when absent.
    TDataSkinObject* FindPart(const std::string& sectionName) const;

    // Owned resources.
    TFont* CaptionFont() const { return captionFont_.get(); }
    TImageList& SysMenuImages() { return *sysMenuImages_; }  // restore, maximise, minimise, close
    TBitmap& AppIcon() { return appIcon_; }                  // the application's small icon, or empty
    bool FramePaint = true;  // cleared by the form skin while CM_MENUCHANGED is handled

private:
    // Loading (WinSkinDataParse.cpp).
    void ParseSkin();
    void LoadBitmap(TBitmap& bitmap, const std::string& value);
    void LoadPart(std::shared_ptr<TDataSkinObject>& slot, const std::string& section);
    void LoadDualPart(std::shared_ptr<TDataSkinBorder>& slot, const std::string& section, const std::string& key2);
    void LoadProgress(std::shared_ptr<TDataSkinBorder>& slot, const std::string& section);
    void LoadBoxLabel(std::shared_ptr<TDataSkinBoxLabel>& slot, const std::string& section);
    void LoadMenuBar(std::shared_ptr<TDataSkinObject>& slot, const std::string& section);
    void LoadBorders();
    void LoadButtons();
    void LoadTitle(TDataSkinTitle& title, const std::string& section);
    void LoadColours();
    void LoadRGBKeys(const std::string& section, const std::string& name, TColor& colour);
    void SetFrameCounts();
    void readPartKeys(TDataSkinObject& part, const std::string& section, bool withFrame);
    std::string readString(const std::string& section, const std::string& key) const;
    int32_t readInteger(const std::string& section, const std::string& key, int32_t Default) const;
    TColor readColour(const std::string& section, const std::string& key, TColor Default) const;

    // Caption buttons and generated parts (WinSkinDataParts.cpp).
    void LoadCaptionButtons();
    void LoadMDIButtons(size_t firstIndex);
    void LoadResourcePart(std::shared_ptr<TDataSkinObject>& slot, const std::string& resourceName);
    void ComposeComboButton();
    void MakeComboArrow();
    void MakeToolbarGradient();
    void LoadAppIcon();

    void AddDefaultSkin3rd();  // Skin3rd.cpp
    bool designing() const { return (ComponentState() & csDesigning) != 0; }
    bool reading() const { return (ComponentState() & (csLoading | csReading)) != 0; }

    bool active_ = false;
    std::string skinFile_;
    std::unique_ptr<TStringList> skin3rd_;
    std::vector<uint8_t> skinBytes_;
    bool noSkin_ = true;
    unsigned generation_ = 0;
    UniqueBrush skinBrush_;
    std::unique_ptr<TFont> captionFont_;
    std::unique_ptr<TImageList> sysMenuImages_;
    TBitmap appIcon_;

    // Alive only while LoadSkin runs: the container, its definition text and the section
    // names.
    const TSkinReader* reader_ = nullptr;
    const TQuickIni* ini_ = nullptr;
    std::vector<std::string> sections_;
};

// Makes the skin classes known to the form reader so that stored forms can name them.
// Programs call it after Application->Initialize(), before their main form is read.
void RegisterSkinClasses();
