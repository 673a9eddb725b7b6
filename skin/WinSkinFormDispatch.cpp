// The child-control dispatch of the form skin: which control skin each control of a
// class-library form and each raw child window gets, in the rows' fixed order.  The
// choice itself is a set of pure functions (WinSkinFormDispatch_impl.h); the form skin
// reads the facts, creates the skin through the factory and attaches it.
//
// Every kind has its skin.  When the factory makes none all the same (a test's factory
// may refuse a kind), the row still matches (later rows are not tried) and the control
// keeps its own look.
#include "WinSkinForm.h"

#include <algorithm>
#include <cctype>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "GraphicControls.h"
#include "Forms.h"
#include "SkinPrimitives.h"
#include "StdCtrls.h"
#include "Texts.h"
#include "WinSkinData.h"
#include "WinSkinFormDispatch_impl.h"
#include "WinSubClass.h"

namespace skindispatch {

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

SkinSpec skinOf(TSkinClass kind, bool setColor = false, AttachBy attach = AttachBy::Control, int variant = 0) {
    SkinSpec spec;
    spec.present = true;
    spec.kind = kind;
    spec.setColor = setColor;
    spec.attach = attach;
    spec.variant = variant;
    return spec;
}

ControlChoice choice(int row, SkinSpec skin, Walk walk = Walk::None) {
    ControlChoice c;
    c.row = row;
    c.skin = skin;
    c.walk = walk;
    return c;
}

ControlChoice walkOnly(int row, Walk walk) {
    ControlChoice c;
    c.row = row;
    c.walk = walk;
    return c;
}

bool nameIs(const ControlFacts& f, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return f.upperName == n; });
}

SkinFactory& factorySlot() {
    static SkinFactory factory;
    return factory;
}

}  // namespace

void SetSkinFactory(SkinFactory factory) { factorySlot() = std::move(factory); }

TSkinControl* CreateSkin(TSkinClass kind, TComponent* owner, int variant) {
    const SkinFactory& factory = factorySlot();
    return factory ? factory(kind, owner, variant) : CreateSkinControl(kind, owner, variant);
}

bool IsScrollable(const ControlFacts& f) { return (f.windowed && f.scrollStyle) || f.isListLike; }

bool IsNeverSkinned(const std::string& upperName) {
    return upperName == "TDBCOMBOBOXEH" || upperName == "TFRDESIGNERPAGE" || upperName == "TFRPBOX";
}

ControlChoice ChooseClassRow(const ControlFacts& f, const SkinFacts& s) {
    const bool tabs = s.Has(xcTab) && s.hasTabs;
    const SkinSpec cover = skinOf(TSkinClass::Scrollbar, false, AttachBy::Scrolling);
    if (nameIs(f, {"TTABSET"}) && tabs) return choice(1, skinOf(TSkinClass::Tab31));
    if (nameIs(f, {"TTABBEDNOTEBOOK"}) && tabs) return choice(2, skinOf(TSkinClass::Tab));
    if (nameIs(f, {"TMVCPANEL"})) return walkOnly(3, Walk::ChildrenFirst);
    if (nameIs(f, {"TUPDOWN", "TSPINBUTTON"}) && s.Has(xcSpin)) return choice(4, skinOf(TSkinClass::UpDown));
    if (nameIs(f, {"TMEDIAPLAYER"}) && s.Has(xcButton)) return choice(5, skinOf(TSkinClass::MP));
    if (nameIs(f, {"TDBNAVIGATOR"}) && s.Has(xcPanel)) return choice(6, skinOf(TSkinClass::Box, true), Walk::EachChild);
    if (nameIs(f, {"TRZDBCHECKBOX", "TRZCHECKBOX"}) && s.Has(xcCheckBox))
        return choice(7, skinOf(TSkinClass::ObjImage, true, AttachBy::Control, 1));
    if (nameIs(f, {"TRZRADIOBUTTON", "TRZDBRADIOBUTTON"}) && s.Has(xcRadioButton))
        return choice(8, skinOf(TSkinClass::ObjImage, true, AttachBy::Control, 2));
    if (nameIs(f, {"TCXDBCHECKBOX", "TCXCHECKBOX"}) && s.Has(xcCheckBox))
        return choice(9, skinOf(TSkinClass::ObjImage, true, AttachBy::Control, 3));
    if (f.isStatusBar && s.Has(xcStatusBar)) return choice(10, skinOf(TSkinClass::StatusBar));
    if (f.isProgressBar && s.Has(xcProgress)) return choice(11, skinOf(TSkinClass::Progress));
    if (nameIs(f, {"TTNTCOMBOBOX"}) && s.Has(xcCombo)) return choice(12, skinOf(TSkinClass::ComBox));
    if (nameIs(f, {"TRICHEDIT"}) && s.Has(xcScrollbar)) return choice(13, cover);
    if (nameIs(f, {"TWWDBRICHEDIT", "TDXDBMEMO"}) && s.Has(xcScrollbar)) return choice(14, cover);
    if (f.isPanel && s.Has(xcPanel)) return choice(15, skinOf(TSkinClass::Box, true), Walk::ChildrenFirst);
    if (nameIs(f, {"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}) && s.Has(xcScrollbar)) return choice(16, cover);
    if (f.isMemo && s.Has(xcScrollbar)) return choice(17, cover);
    if (IsScrollable(f) && s.Has(xcScrollbar)) return choice(18, cover);
    // The class library's glyph button is a push button that draws its glyph: it takes
    // the bit-button skin, which keeps the glyph, instead of the plain push-button skin.
    if (f.isButton && s.Has(xcButton))
        return choice(19, skinOf(f.isGlyphButton ? TSkinClass::BitButton : TSkinClass::Button));
    if (f.isEdit && s.Has(xcEdit)) return choice(20, skinOf(TSkinClass::Edit));
    if (nameIs(f, {"TDCEDIT", "TDCDBEDIT"})) {
        if (f.numButtons == 1 && s.Has(xcCombo)) return choice(21, skinOf(TSkinClass::ComBox));
        if (f.numButtons == 0 && s.Has(xcEdit)) return choice(21, skinOf(TSkinClass::Edit, false, AttachBy::Window));
        if (f.numButtons != 0 && f.numButtons != 1) return choice(21, SkinSpec{});
    }
    if (f.isForm) return choice(22, skinOf(TSkinClass::Box, true), Walk::OwnComponents);
    return ControlChoice{};
}

Skin3rdEntry FindSkin3rd(const std::vector<std::string>& lines, const std::string& className) {
    Skin3rdEntry entry;
    entry.key = lower(className) + "=";
    for (const std::string& line : lines) {
        const std::string text = lower(line);
        if (text.compare(0, entry.key.size(), entry.key) != 0) continue;
        // The first matching line decides, whatever it holds.
        const size_t eq = text.find('=');
        entry.kind = text.substr(eq + 1, 50);
        entry.listed = !entry.kind.empty();
        return entry;
    }
    return entry;
}

ControlChoice ChooseSkin3rdRow(const Skin3rdEntry& e, const ControlFacts& f, const SkinFacts& s) {
    if (!e.listed || e.kind == "nil") return ControlChoice{};
    const std::string& k = e.kind;
    const SkinSpec cover = skinOf(TSkinClass::Scrollbar, false, AttachBy::Scrolling);
    if (k == "combobox" && s.Has(xcCombo)) return choice(1, skinOf(TSkinClass::ComBox));
    if (k == "edit" && s.Has(xcEdit)) {
        ControlChoice c = choice(2, skinOf(TSkinClass::Edit));
        c.framedOnly = true;
        return c;
    }
    if (k == "radiobutton" && s.Has(xcRadioButton)) return choice(3, skinOf(TSkinClass::RadioButton));
    if (k == "panel" && s.Has(xcPanel)) {
        ControlChoice c = choice(4, skinOf(TSkinClass::Box, true));
        c.transparent = true;
        return c;
    }
    if (k == "trackbar" && s.Has(xcButton)) {
        ControlChoice c = choice(5, skinOf(TSkinClass::TrackBar));
        c.transparent = true;
        return c;
    }
    if (k == "button" && s.Has(xcButton)) return choice(6, skinOf(TSkinClass::Button));
    if (k == "datetimepicker" && s.Has(xcCombo)) return choice(7, skinOf(TSkinClass::DateTime));
    if (k == "mediaplayer" && s.Has(xcButton)) return choice(8, skinOf(TSkinClass::MP));
    if (k == "bitbtn" && s.Has(xcButton)) {
        const bool dropDown = e.key == "tcxbutton=" && f.kindProperty == "cxbkDropDownButton";
        return choice(9, skinOf(dropDown ? TSkinClass::MenuButton : TSkinClass::BitButton));
    }
    if (k == "pngbitbtn" && s.Has(xcButton))
        return choice(10, skinOf(TSkinClass::BitButton, false, AttachBy::Control, 1));
    if (k == "menubtn" && s.Has(xcButton)) return choice(11, skinOf(TSkinClass::MenuButton));
    if (k == "speedbutton" && s.Has(xcSpeedButton))
        return choice(12, skinOf(TSkinClass::SpeedButton, false, AttachBy::Graphic));
    if (k == "tab" && s.Has(xcTab) && s.hasTabs) return choice(13, skinOf(TSkinClass::Tab));
    if (k == "progress" && s.Has(xcProgress)) return choice(14, skinOf(TSkinClass::Progress));
    if (k == "scrollbar" && s.Has(xcScrollbar)) return choice(15, cover, Walk::ChildrenAfter);
    if (k == "singlescrollbar" && s.Has(xcScrollbar))
        return choice(16, skinOf(TSkinClass::Scrollbar, false, AttachBy::Scrolling, 1));
    if (k == "embedscrollbar" && s.Has(xcScrollbar)) {
        ControlChoice c = walkOnly(17, Walk::ScrollableChildren);
        c.child = cover;
        return c;
    }
    if (k == "container") return walkOnly(18, Walk::ChildrenFirst);
    if (k == "groupbox" && s.Has(xcGroupBox)) return choice(19, skinOf(TSkinClass::GroupBox, true));
    if (k == "advpagecontrol" && s.Has(xcTab))
        return choice(20, skinOf(TSkinClass::AdvPage, true, AttachBy::Control, 4));
    const bool rz = f.upperName.find("TRZ") != std::string::npos;
    if (k == "radiogroup" && s.Has(xcGroupBox)) {
        ControlChoice c = choice(21, skinOf(TSkinClass::GroupBox, true), Walk::GroupChildren);
        if (s.Has(xcRadioButton))
            c.child = rz ? skinOf(TSkinClass::ObjImage, true, AttachBy::Control, 2) : skinOf(TSkinClass::RadioButton);
        return c;
    }
    if (k == "checkgroup" && s.Has(xcPanel)) {
        ControlChoice c = choice(22, s.Has(xcGroupBox) ? skinOf(TSkinClass::GroupBox, true) : SkinSpec{},
                                 Walk::GroupChildren);
        if (s.Has(xcRadioButton))
            c.child = rz ? skinOf(TSkinClass::ObjImage, true, AttachBy::Control, 1) : skinOf(TSkinClass::CheckBox);
        return c;
    }
    if (k == "checkbox" && s.Has(xcCheckBox)) return choice(23, skinOf(TSkinClass::CheckBox));
    return ControlChoice{};
}

WindowChoice ChooseWindowRow(const std::string& c, DWORD style) {
    auto skin = [](int row, TSkinClass kind, WindowAction action = WindowAction::Skin) {
        WindowChoice w;
        w.row = row;
        w.action = action;
        w.kind = kind;
        return w;
    };
    auto none = [](int row) {
        WindowChoice w;
        w.row = row;
        return w;
    };
    // An owner-drawn button (0xB) matches none of the button rows, nor anything below.
    if (c == "button" && (style & 0xB) != 0xB) {
        if ((style & 7) == 7 || (style & 0x80) == 0x80) return none(1);
        if ((style & 3) == 3 || (style & 2) == 2 || (style & 5) == 5) return skin(2, TSkinClass::CheckBox);
        if ((style & 9) == 9 || (style & 4) == 4) return skin(3, TSkinClass::RadioButton);
        return skin(4, TSkinClass::Button);
    }
    if (c == "combobox" && (style & 3) != CBS_SIMPLE) return skin(5, TSkinClass::ComBox);
    if (c == "comboboxex32") return skin(6, TSkinClass::ComBox, WindowAction::SkinFirstChild);
    // Only a size box or size grip takes the sizer skin: on a real scroll bar it would
    // paint a grip over the arrows and the thumb.
    if (c == "scrollbar" && !(style & WS_TABSTOP) && (style & (SBS_SIZEGRIP | SBS_SIZEBOX)))
        return skin(7, TSkinClass::Sizer);
    if (c == "systreeview32") return none(8);
    if (c == "#32770" && !(style & WS_TABSTOP)) return skin(9, TSkinClass::BoxH, WindowAction::ChildrenThenSkin);
    if (c == "tpanel" || c == "ttntpanel.unicodeclass" || c == "ttntsilentpaintpanel.unicodeclass")
        return skin(10, TSkinClass::Box, WindowAction::ChildrenThenColour);
    if (c == "tcheckbox") return skin(11, TSkinClass::CheckBox);
    if (c == "tcombobox") return skin(12, TSkinClass::ComBox);
    if (c == "tbutton") return skin(13, TSkinClass::Button);
    if (c == "tprogressbar") return skin(14, TSkinClass::Progress);
    if (c == "tsilentpaintpanel") return skin(15, TSkinClass::Box, WindowAction::Colour);
    if (c == "systabcontrol32" && !(style & TCS_OWNERDRAWFIXED)) return skin(16, TSkinClass::Tab);
    if (c == "toolbarwindow32") return none(17);
    if (c == "edit") return skin(18, TSkinClass::Edit);
    return WindowChoice{};
}

}  // namespace skindispatch

using namespace skindispatch;

namespace {

ControlFacts factsOf(TControl* control) {
    ControlFacts f;
    f.upperName = texts::UpperCase(control->ClassName());
    auto* win = dynamic_cast<TWinControl*>(control);
    f.windowed = win != nullptr;
    if (win && win->HandleAllocated())
        f.scrollStyle = (GetWindowLongPtrA(win->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0;
    const TClassInfo& info = control->ClassInfo();
    f.isStatusBar = info.InheritsFrom("TCustomStatusBar");
    f.isProgressBar = info.InheritsFrom("TProgressBar");
    f.isPanel = info.InheritsFrom("TCustomPanel");
    f.isMemo = info.InheritsFrom("TCustomMemo");
    f.isListLike = info.InheritsFrom("TListBox") || info.InheritsFrom("TMemo") || info.InheritsFrom("TCustomListBox");
    f.isButton = info.InheritsFrom("TButton");
    f.isGlyphButton = info.InheritsFrom("TBitBtn");
    f.isEdit = info.InheritsFrom("TCustomEdit");
    f.isForm = info.InheritsFrom("TCustomForm");
    f.numButtons = GetIntPropByName(control, "NumButtons");
    f.kindProperty = GetEnumPropByName(control, "Kind");
    return f;
}

SkinFacts skinFactsOf(TSkinData* data) {
    SkinFacts s;
    if (!data) return s;
    s.controls = data->SkinControls;
    s.hasTabs = data->Tabs != nullptr;
    return s;
}

std::vector<TControl*> childrenOf(TControl* control) {
    std::vector<TControl*> list;
    if (auto* win = dynamic_cast<TWinControl*>(control))
        for (int i = 0; i < win->ControlCount(); ++i) list.push_back(win->Controls(i));
    return list;
}

std::string lowerClassName(HWND window) {
    std::string name = GetWindowClassName(window);
    for (char& ch : name) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return name;
}

}  // namespace

// ---- class-library forms ----------------------------------------------------------------

void TWinSkinForm::SkinAllControls(TCustomForm* form) {
    if (!form) return;
    PurgeDeadControls();
    SkinComponents(form);
    // Controls the form does not own (made at run time with another owner) are reached
    // through the form's windows.
    std::vector<TWinControl*> list;
    form->GetTabOrderList(list);
    for (TWinControl* control : list)
        if (!IsWindowSkinned(control)) SkinControl(control, form);
}

void TWinSkinForm::SkinComponents(TComponent* owner) {
    if (!owner) return;
    std::vector<TControl*> controls;
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TControl*>(owner->Components(i))) controls.push_back(control);
    for (TControl* control : controls) SkinControl(control, owner);
    // Owner drawing of the popup menus of the owner's component tree (the menu skin's
    // part of this pass; it also checks the xcPopupMenu bit and DisableTag per menu).
    if (FSkinData && (FSkinData->SkinControls & SkinBit(xcPopupMenu))) SetPopupMenusOwnerDraw(owner, true);
}

void TWinSkinForm::SkinChildControls(TWinControl* parent) {
    for (TControl* child : childrenOf(parent)) SkinControl(child, parent);
}

bool TWinSkinForm::IsWindowSkinned(TWinControl* control) {
    if (!control || !control->HandleAllocated()) return true;
    if (FSkinData && control->Tag() == FSkinData->DisableTag) return true;
    const HWND handle = control->Handle();
    if (SendMessageA(handle, WM_SKINQUERY, 0, 0) == 1) return true;
    return FindSkinControlByHandle(handle) != nullptr;
}

bool TWinSkinForm::IsControlSkinned(TControl* control) {
    if (!control) return true;
    if (control->Perform(WM_SKINQUERY, 0, 0) == 1) return true;
    return std::any_of(FSkinControls.begin(), FSkinControls.end(),
                       [&](TSkinControl* skin) { return skin->Host == control || static_cast<TControl*>(skin->GraphicHost) == control; });
}

void TWinSkinForm::PropagateDisableTag(TControl* control) {
    auto* win = dynamic_cast<TWinControl*>(control);
    if (!win || win->ControlCount() == 0 || !FSkinData) return;
    const std::string name = texts::LowerCase(control->ClassName());
    if (name.find("radiogroup") == std::string::npos && name.find("checkgroup") == std::string::npos) return;
    for (TControl* child : childrenOf(win)) child->SetTag(FSkinData->DisableTag);
}

void TWinSkinForm::SkinControl(TControl* control, TComponent* form) {
    if (!control || !FSkinData) return;
    if (control->Tag() == FSkinData->DisableTag) {
        PropagateDisableTag(control);
        return;
    }
    if (!control->Parent() || IsControlSkinned(control)) return;
    const std::string upperName = texts::UpperCase(control->ClassName());
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        try {
            win->HandleNeeded();
        } catch (...) {
            return;  // a control whose window cannot be made is left as it is
        }
    }
    if (FSkinData->OnSkinControl) {
        TComponent* answer = nullptr;
        FSkinData->OnSkinControl(this, FSkinData, dynamic_cast<TControl*>(form), control, upperName, answer);
        if (auto* skin = dynamic_cast<TSkinControl*>(answer)) {
            if (AddSkinControl(skin)) return;
            skin->AttachControl(this, FSkinData, skin->SetColor, FControlCanvas.get());
            if (auto* panel = dynamic_cast<TWinControl*>(control); panel && control->InheritsFrom("TCustomPanel"))
                SkinChildControls(panel);
            return;
        }
    }
    if (SkinBySkin3rd(upperName, control)) return;
    if (IsNeverSkinned(upperName)) return;
    applyChoice(control, ChooseClassRow(factsOf(control), skinFactsOf(FSkinData)));
}

bool TWinSkinForm::SkinBySkin3rd(const std::string& className, TControl* control) {
    if (!FSkinData) return false;
    const TStrings& lines = FSkinData->Skin3rd();
    std::vector<std::string> text;
    for (int i = 0; i < lines.Count(); ++i) text.push_back(lines.Get(i));
    const Skin3rdEntry entry = FindSkin3rd(text, className);
    if (!entry.listed) return false;
    applyChoice(control, ChooseSkin3rdRow(entry, factsOf(control), skinFactsOf(FSkinData)));
    return true;
}

void TWinSkinForm::SkinFramedEdit(TControl* control) {
    auto* win = dynamic_cast<TWinControl*>(control);
    if (!win) return;
    const HWND handle = win->Handle();
    RECT window{}, client{};
    if (!GetWindowRect(handle, &window) || !GetClientRect(handle, &client)) return;
    const bool framed = (window.right - window.left) != (client.right - client.left) ||
                        (window.bottom - window.top) != (client.bottom - client.top);
    if (!framed) return;
    SkinSpec spec;
    spec.present = true;
    spec.kind = TSkinClass::Edit;
    attachSkin(control, spec);
}

bool TWinSkinForm::attachSkin(TControl* control, const SkinSpec& spec) {
    if (!spec.present || !control) return false;
    TSkinControl* skin = CreateSkin(spec.kind, control, spec.variant);
    if (!skin) return false;  // no skin made: the control keeps its look
    TCanvas* canvas = FControlCanvas.get();
    bool attached = false;
    switch (spec.attach) {
    case AttachBy::Control:
        skin->AttachControl(this, FSkinData, spec.setColor, canvas);
        attached = skin->Attached();
        break;
    case AttachBy::Scrolling: attached = skin->AttachScrolling(control, FSkinData, this, canvas); break;
    case AttachBy::Window:
        if (auto* win = dynamic_cast<TWinControl*>(control)) {
            skin->AttachWindow(win->Handle(), FSkinData, this, canvas);
            attached = skin->Attached();
        }
        break;
    case AttachBy::Graphic: attached = skin->AttachGraphic(this, FSkinData, canvas); break;
    }
    // A skin that could not take the control goes at once: it would only be found again
    // by the next pass and doubled.
    if (!attached) delete skin;
    return attached;
}

void TWinSkinForm::applyChoice(TControl* control, const ControlChoice& c) {
    if (c.row == 0) return;
    if (c.transparent) SetPropByName(control, "Transparent", "True");
    switch (c.walk) {
    case Walk::ChildrenFirst:
        if (auto* win = dynamic_cast<TWinControl*>(control)) SkinChildControls(win);
        break;
    case Walk::GroupChildren:
        if (c.child.present)
            for (TControl* child : childrenOf(control)) attachSkin(child, c.child);
        break;
    case Walk::ScrollableChildren:
        for (TControl* child : childrenOf(control))
            if (IsScrollable(factsOf(child))) attachSkin(child, c.child);
        break;
    default: break;
    }
    if (c.framedOnly) SkinFramedEdit(control);
    else attachSkin(control, c.skin);
    switch (c.walk) {
    case Walk::ChildrenAfter:
        if (auto* win = dynamic_cast<TWinControl*>(control)) SkinChildControls(win);
        break;
    case Walk::EachChild:
        for (TControl* child : childrenOf(control)) SkinControl(child, nullptr);
        break;
    case Walk::OwnComponents: SkinComponents(control); break;
    default: break;
    }
}

// ---- raw windows ----------------------------------------------------------------------------

TSkinControl* TWinSkinForm::FindSkinControlByHandle(HWND window) {
    if (!window) return nullptr;
    for (TSkinControl* skin : FSkinControls)
        if (skin->Handle == window) return skin;
    return nullptr;
}

void TWinSkinForm::SkinChildWindows(HWND window) {
    if (!window) return;
    for (HWND child = GetTopWindow(window); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongPtrA(child, GWL_STYLE) & WS_CHILD) SkinWindow(child);
}

void TWinSkinForm::SkinWindow(HWND window) {
    if (!window || !IsWindow(window) || FindSkinControlByHandle(window)) return;
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    const WindowChoice c = ChooseWindowRow(lowerClassName(window), style);
    auto recolour = [&] {
        if (TControl* bound = ControlOfWindow(window); bound && FSkinData) bound->SetColor(FSkinData->Colours.ButtonFace);
    };
    HWND target = window;
    switch (c.action) {
    case WindowAction::None: return;
    case WindowAction::Skin: break;
    case WindowAction::SkinFirstChild:
        target = GetTopWindow(window);
        if (!target || FindSkinControlByHandle(target)) return;
        break;
    case WindowAction::ChildrenThenSkin: SkinChildWindows(window); break;
    case WindowAction::ChildrenThenColour:
        SkinChildWindows(window);
        recolour();
        return;
    case WindowAction::Colour: recolour(); return;
    }
    // A window some other skin already holds is left to it.
    if (SendMessageA(target, WM_SKINQUERY, 0, 0) == 1) return;
    TSkinControl* skin = CreateSkin(c.kind, this, 0);
    if (!skin) return;  // no skin made: the window keeps its look
    skin->AttachWindow(target, FSkinData, this, FControlCanvas.get());
    if (!skin->Attached()) delete skin;
}
