// Private to the child-control dispatch (WinSkinFormDispatch.cpp) and its tests: the
// choice of skin for a class-library control (its class rows and the Skin3rd kinds) and
// for a raw child window (its class and style rows), as pure functions of facts read
// from the control or window.  The form skin reads the facts, asks here, and creates and
// attaches what the answer names.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "WinSkinData.h"
#include "WinSubClass.h"

namespace skindispatch {

// How a skin is attached to a class-library control.
enum class AttachBy : uint8_t {
    Control,    // AttachControl(form skin, data, set colour, canvas)
    Scrolling,  // AttachScrolling(control, data, form skin, canvas): the scroll-bar cover
    Window,     // AttachWindow(the control's window, data, form skin, canvas)
    Graphic,    // AttachGraphic(form skin, data, canvas): a control without a window
};

// One skin to create.
struct SkinSpec {
    bool present = false;
    TSkinClass kind = TSkinClass::Button;
    int variant = 0;
    bool setColor = false;
    AttachBy attach = AttachBy::Control;
};

// What a row does besides (or instead of) the control's own skin.
enum class Walk : uint8_t {
    None,
    ChildrenFirst,       // SkinChildControls(control), then the control's own skin (if any)
    ChildrenAfter,       // the control's skin, then SkinChildControls(control)
    EachChild,           // the control's skin, then SkinControl(child, none) for every child
    OwnComponents,       // the control's skin, then SkinComponents(control): a form inside a form
    ScrollableChildren,  // no skin of its own: each scrollable child gets a scroll-bar cover
    GroupChildren,       // each child gets `child` first, then the group its own skin (if any)
};

struct ControlChoice {
    int row = 0;  // the class row (1-22) or the Skin3rd kind's row (1-23); 0: none
    SkinSpec skin;
    Walk walk = Walk::None;
    SkinSpec child;            // GroupChildren: the children's skin (absent: children left alone)
    bool transparent = false;  // the published property "Transparent" := "True" first
    bool framedOnly = false;   // the skin goes on only when the control has a border
};

// What the class rows and the Skin3rd kinds read of a control.
struct ControlFacts {
    std::string upperName;      // class name in upper case
    bool windowed = false;
    bool scrollStyle = false;   // WS_HSCROLL or WS_VSCROLL in its window style
    bool isStatusBar = false;   // descends from TCustomStatusBar
    bool isProgressBar = false; // TProgressBar
    bool isPanel = false;       // TCustomPanel
    bool isMemo = false;        // TCustomMemo
    bool isListLike = false;    // TListBox, TMemo or TCustomListBox
    bool isButton = false;      // TButton
    bool isGlyphButton = false; // TBitBtn (a TButton that draws a glyph)
    bool isEdit = false;        // TCustomEdit
    bool isForm = false;        // TCustomForm
    int numButtons = -1;        // integer property "NumButtons" (-1 when missing)
    std::string kindProperty;   // enumeration property "Kind" ("" when missing)
};

// What they read of the skin and its component.
struct SkinFacts {
    TSkinControlTypes controls = TSkinData::kDefaultSkinControls;
    bool hasTabs = false;  // the skin has a [Tabs] part
    bool Has(TSkinControlType bit) const { return (controls & SkinBit(bit)) != 0; }
};

// Row 18's test, also used for the children of an "embedscrollbar" container.
bool IsScrollable(const ControlFacts& facts);

// Classes that are never skinned, whatever the rows say.
bool IsNeverSkinned(const std::string& upperName);

// The class rows in their fixed order: the first that holds; row 0 when none does.
ControlChoice ChooseClassRow(const ControlFacts& facts, const SkinFacts& skin);

// The Skin3rd entry of a class: the first line starting (without regard to case) with
// the class name and "="; its kind is the lower-cased text after the first "=" (at most
// 50 characters).  listed is false when no line matches or the kind is empty.
struct Skin3rdEntry {
    bool listed = false;
    std::string key;   // lower-case class name and "="
    std::string kind;
};
Skin3rdEntry FindSkin3rd(const std::vector<std::string>& lines, const std::string& className);

// The action of a listed kind (row 0: "nil", an unknown kind or a kind whose bit is
// cleared: the control stays unskinned, and the class rows are not tried either).
ControlChoice ChooseSkin3rdRow(const Skin3rdEntry& entry, const ControlFacts& facts, const SkinFacts& skin);

// ---- raw child windows ----

enum class WindowAction : uint8_t {
    None,
    Skin,              // `kind` on the window
    SkinFirstChild,    // `kind` on the window's first child (none without a child)
    ChildrenThenSkin,  // SkinChildWindows(window), then `kind` on the window
    ChildrenThenColour,// SkinChildWindows(window), then the bound control gets the skin colour
    Colour,            // the bound control gets the skin colour; its children are left alone
};

struct WindowChoice {
    int row = 0;  // 0: no row matched
    WindowAction action = WindowAction::None;
    TSkinClass kind = TSkinClass::Button;
};

// lowerClass: the window's class name in lower case; style: its GWL_STYLE.
WindowChoice ChooseWindowRow(const std::string& lowerClass, DWORD style);

// The factory the dispatch creates skins through (CreateSkinControl unless a test puts
// a recording one in place; an empty function restores it).
using SkinFactory = std::function<TSkinControl*(TSkinClass kind, TComponent* owner, int variant)>;
void SetSkinFactory(SkinFactory factory);
TSkinControl* CreateSkin(TSkinClass kind, TComponent* owner, int variant);

}  // namespace skindispatch
