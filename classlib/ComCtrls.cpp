#include "ComCtrls.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

const TEnumNames ProgressBarOrientationNames{{{"pbHorizontal", pbHorizontal}, {"pbVertical", pbVertical}}};
const TEnumNames StatusPanelStyleNames{{{"psText", psText}, {"psOwnerDraw", psOwnerDraw}}};
const TEnumNames StatusPanelBevelNames{{{"pbNone", pbNone}, {"pbLowered", pbLowered}, {"pbRaised", pbRaised}}};

// ---- TProgressBar ------------------------------------------------------------------

const TClassInfo& TProgressBar::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TProgressBar>("TProgressBar", &TWinControl::StaticClassInfo(), [](TClassBuilder<TProgressBar>& b) {
        b.Creatable();
        b.Int("Min", [](TProgressBar& p) -> int64_t { return p.Min(); }, [](TProgressBar& p, int64_t v) { p.SetMin(static_cast<int>(v)); });
        b.Int("Max", [](TProgressBar& p) -> int64_t { return p.Max(); }, [](TProgressBar& p, int64_t v) { p.SetMax(static_cast<int>(v)); });
        b.Int("Position", [](TProgressBar& p) -> int64_t { return p.Position(); }, [](TProgressBar& p, int64_t v) { p.SetPosition(static_cast<int>(v)); });
        b.Int("Step", [](TProgressBar& p) -> int64_t { return p.Step(); }, [](TProgressBar& p, int64_t v) { p.SetStep(static_cast<int>(v)); });
        b.Bool("Smooth", [](TProgressBar& p) { return p.Smooth(); }, [](TProgressBar& p, bool v) { p.SetSmooth(v); });
        b.Enum("Orientation", ProgressBarOrientationNames, [](TProgressBar& p) -> int64_t { return p.Orientation(); },
               [](TProgressBar& p, int64_t v) { p.SetOrientation(static_cast<TProgressBarOrientation>(v)); });
    });
    return info;
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
    width_ = 150;
    height_ = 16;
}

int TProgressBar::clamp(int v) const { return std::max(min_, std::min(max_, v)); }

void TProgressBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, PROGRESS_CLASSA);
    if (smooth_) p.Style |= PBS_SMOOTH;
    if (orientation_ == pbVertical) p.Style |= PBS_VERTICAL;
}

void TProgressBar::CreateHandleContents() {
    SendMessageA(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    SendMessageA(handle_, PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
    SendMessageA(handle_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SaveHandleContents() { position_ = static_cast<int>(SendMessageA(handle_, PBM_GETPOS, 0, 0)); }

void TProgressBar::SetRange(int min, int max) {
    if (max < min) max = min;
    if (handle_) position_ = Position();
    min_ = min;
    max_ = max;
    position_ = clamp(position_);
    if (handle_) {
        SendMessageA(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
        SendMessageA(handle_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
    }
}

int TProgressBar::Position() {
    if (handle_) return static_cast<int>(SendMessageA(handle_, PBM_GETPOS, 0, 0));
    return position_;
}

void TProgressBar::SetPosition(int v) {
    position_ = clamp(v);
    if (handle_) SendMessageA(handle_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetStep(int v) {
    step_ = v;
    if (handle_) SendMessageA(handle_, PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
}

void TProgressBar::SetSmooth(bool v) { if (v != smooth_) { smooth_ = v; RecreateWnd(); } }
void TProgressBar::SetOrientation(TProgressBarOrientation o) { if (o != orientation_) { orientation_ = o; RecreateWnd(); } }

void TProgressBar::StepIt() {
    if (handle_) { SendMessageA(handle_, PBM_STEPIT, 0, 0); return; }
    // Past the end the bar starts again from the beginning, as the window does.
    int p = position_ + step_;
    position_ = p > max_ ? min_ + (p - max_) : clamp(p);
    position_ = clamp(position_);
}

void TProgressBar::StepBy(int delta) {
    if (handle_) { SendMessageA(handle_, PBM_DELTAPOS, static_cast<WPARAM>(delta), 0); return; }
    position_ = clamp(position_ + delta);
}

// ---- TStatusPanel ------------------------------------------------------------------

const TClassInfo& TStatusPanel::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TStatusPanel>("TStatusPanel", &TCollectionItem::StaticClassInfo(), [](TClassBuilder<TStatusPanel>& b) {
        b.Str("Text", [](TStatusPanel& p) { return p.Text(); }, [](TStatusPanel& p, const std::string& v) { p.SetText(v); });
        b.Int("Width", [](TStatusPanel& p) -> int64_t { return p.Width(); }, [](TStatusPanel& p, int64_t v) { p.SetWidth(static_cast<int>(v)); });
        b.Enum("Style", StatusPanelStyleNames, [](TStatusPanel& p) -> int64_t { return p.Style(); }, [](TStatusPanel& p, int64_t v) { p.SetStyle(static_cast<TStatusPanelStyle>(v)); });
        b.Enum("Bevel", StatusPanelBevelNames, [](TStatusPanel& p) -> int64_t { return p.Bevel(); }, [](TStatusPanel& p, int64_t v) { p.SetBevel(static_cast<TStatusPanelBevel>(v)); });
        b.Enum("Alignment", AlignmentNames, [](TStatusPanel& p) -> int64_t { return p.Alignment(); }, [](TStatusPanel& p, int64_t v) { p.SetAlignment(static_cast<TAlignment>(v)); });
    });
    return info;
}

void TStatusPanel::changed(bool allPanels) {
    if (auto* panels = dynamic_cast<TStatusPanels*>(Collection())) panels->panelChanged(this, allPanels);
}

void TStatusPanel::SetText(const std::string& t) { if (t != text_) { text_ = t; changed(false); } }
void TStatusPanel::SetWidth(int w) { w = std::max(0, w); if (w != width_) { width_ = w; changed(true); } }
void TStatusPanel::SetStyle(TStatusPanelStyle s) { if (s != style_) { style_ = s; changed(false); } }
void TStatusPanel::SetBevel(TStatusPanelBevel b) { if (b != bevel_) { bevel_ = b; changed(false); } }
void TStatusPanel::SetAlignment(TAlignment a) { if (a != alignment_) { alignment_ = a; changed(false); } }

void TStatusPanel::Assign(const TPersistent& source) {
    if (const auto* p = dynamic_cast<const TStatusPanel*>(&source)) {
        text_ = p->text_;
        width_ = p->width_;
        style_ = p->style_;
        bevel_ = p->bevel_;
        alignment_ = p->alignment_;
        changed(true);
        return;
    }
    TCollectionItem::Assign(source);
}

const TClassInfo& TStatusPanels::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TStatusPanels>("TStatusPanels", &TCollection::StaticClassInfo(), [](TClassBuilder<TStatusPanels>&) {});
    return info;
}

TStatusPanels::TStatusPanels(TCustomStatusBar& bar)
    : TCollection([](TCollection* c) -> std::unique_ptr<TCollectionItem> { return std::make_unique<TStatusPanel>(c); }),
      bar_(bar) {}

// ---- TCustomStatusBar --------------------------------------------------------------

const TClassInfo& TCustomStatusBar::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TCustomStatusBar>("TCustomStatusBar", &TWinControl::StaticClassInfo(), [](TClassBuilder<TCustomStatusBar>& b) {
        b.Object("Panels", [](TCustomStatusBar& s) -> TObject* { return &s.Panels(); });
        b.Bool("SimplePanel", [](TCustomStatusBar& s) { return s.SimplePanel(); }, [](TCustomStatusBar& s, bool v) { s.SetSimplePanel(v); });
        b.Str("SimpleText", [](TCustomStatusBar& s) { return s.SimpleText(); }, [](TCustomStatusBar& s, const std::string& v) { s.SetSimpleText(v); });
        b.Bool("SizeGrip", [](TCustomStatusBar& s) { return s.SizeGrip(); }, [](TCustomStatusBar& s, bool v) { s.SetSizeGrip(v); });
        b.Event("OnDrawPanel", &TCustomStatusBar::OnDrawPanel);
    });
    return info;
}

const TClassInfo& TStatusBar::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TStatusBar>("TStatusBar", &TCustomStatusBar::StaticClassInfo(), [](TClassBuilder<TStatusBar>& b) { b.Creatable(); });
    return info;
}

TCustomStatusBar::TCustomStatusBar(TComponent* owner) : TWinControl(owner), panels_(std::make_unique<TStatusPanels>(*this)) {
    align_ = alBottom;
    width_ = 200;
    height_ = 19;
    color_ = clBtnFace;
    brush_.SetColor(color_);
    panels_->OnUpdate = [this](TCollectionItem* item) {
        if (item) updatePanelText(item->Index());
        else updatePanels();
    };
}

TCustomStatusBar::~TCustomStatusBar() {
    BeginDestruction();
    if (handle_) DestroyHandle();  // while the panels still exist
}

void TCustomStatusBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, STATUSCLASSNAMEA);
    // The class library places and sizes the bar (alignment), not the window itself.
    p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE;
    if (sizeGrip_) p.Style |= SBARS_SIZEGRIP;
}

void TCustomStatusBar::CreateHandleContents() {
    if (color_ != clBtnFace) SendMessageA(handle_, SB_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(color_)));
    updatePanels();
}

void TCustomStatusBar::updatePanels() {
    if (!handle_) return;
    const int n = std::min(panels_->Count(), 255);
    std::vector<int> edges(static_cast<size_t>(std::max(n, 1)), -1);
    int pos = 0;
    for (int i = 0; i + 1 < n; ++i) {
        pos += panels_->Items(i)->Width();
        edges[static_cast<size_t>(i)] = pos;
    }
    SendMessageA(handle_, SB_SETPARTS, static_cast<WPARAM>(edges.size()), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < n; ++i) updatePanelText(i);
    // Without panels the bar shows its simple text, as with SimplePanel.
    const bool simple = simplePanel_ || n == 0;
    SendMessageA(handle_, SB_SIMPLE, simple ? TRUE : FALSE, 0);
    SendMessageA(handle_, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TCustomStatusBar::updatePanelText(int index) {
    if (!handle_ || index < 0 || index >= panels_->Count() || index >= 255) return;
    const TStatusPanel* panel = panels_->Items(index);
    WPARAM flags = static_cast<WPARAM>(index);
    if (panel->Bevel() == pbNone) flags |= SBT_NOBORDERS;
    if (panel->Bevel() == pbRaised) flags |= SBT_POPOUT;
    if (panel->Style() == psOwnerDraw) flags |= SBT_OWNERDRAW;
    // A tab before the text centres it, two put it on the right.
    std::string text = panel->Alignment() == taCenter ? "\t" : panel->Alignment() == taRightJustify ? "\t\t" : "";
    text += panel->Text();
    SendMessageA(handle_, SB_SETTEXTA, flags, panel->Style() == psOwnerDraw ? 0 : reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomStatusBar::SetSimplePanel(bool v) {
    if (v == simplePanel_) return;
    simplePanel_ = v;
    if (handle_) SendMessageA(handle_, SB_SIMPLE, (v || panels_->Count() == 0) ? TRUE : FALSE, 0);
}

void TCustomStatusBar::SetSimpleText(const std::string& t) {
    simpleText_ = t;
    if (handle_) SendMessageA(handle_, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TCustomStatusBar::SetSizeGrip(bool v) { if (v != sizeGrip_) { sizeGrip_ = v; RecreateWnd(); } }

void TCustomStatusBar::DrawPanel(TStatusPanel* panel, const RECT& rect) {
    if (OnDrawPanel) OnDrawPanel(this, panel, rect);
}

void TCustomStatusBar::onDrawItem(const DRAWITEMSTRUCT& item) {
    const int index = static_cast<int>(item.itemID);
    if (index < 0 || index >= panels_->Count()) return;
    canvas_.SetHandle(item.hDC);
    canvas_.Font().Assign(font_);
    canvas_.Brush().SetColor(color_);
    try {
        DrawPanel(panels_->Items(index), item.rcItem);
    } catch (...) {
        canvas_.SetHandle(nullptr);
        throw;
    }
    canvas_.SetHandle(nullptr);
}

void TCustomStatusBar::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_DRAWITEM:
        onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
        m.Result = TRUE;
        return;
    case CM_COLORCHANGED:
        TWinControl::WndProc(m);
        if (handle_)
            SendMessageA(handle_, SB_SETBKCOLOR, 0, color_ == clBtnFace ? static_cast<LPARAM>(CLR_DEFAULT) : static_cast<LPARAM>(ColorToRGB(color_)));
        return;
    default:
        break;
    }
    TWinControl::WndProc(m);
}
