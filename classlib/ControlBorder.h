// The border that edits, list boxes and panels share: BorderStyle, Ctl3D and ParentCtl3D,
// their stored properties, and the window styles they give.  The controls' own looks
// (bevels, faces) stay with each control.
//
// Types: TBorderStyle, TBorderedControl.
#pragma once
#include <windows.h>

#include <cstdint>

#include "Controls.h"
#include "Forms.h"  // controls take the form's bsNone and bsSingle as their border styles

// The border of a control: bsNone or bsSingle (a sunken client edge when Ctl3D).
using TBorderStyle = TFormBorderStyle;
extern const TEnumNames ControlBorderStyleNames;

// Adds the border to a windowed control class (TWinControl or one below it).  Changing the
// border makes the window again, because the platform reads these styles only at creation.
template <class Base>
class TBorderedControl : public Base {
public:
    TBorderedControl(TComponent* owner, TBorderStyle defaultStyle) : Base(owner), borderStyle_(defaultStyle) {}

    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle s) {
        if (s == borderStyle_) return;
        borderStyle_ = s;
        this->RecreateWnd();
    }
    bool Ctl3D() const { return ctl3D_; }
    // Setting Ctl3D on the control itself stops it following its parent.
    void SetCtl3D(bool v) {
        parentCtl3D_ = false;
        if (v == ctl3D_) return;
        ctl3D_ = v;
        this->RecreateWnd();
    }
    bool ParentCtl3D() const { return parentCtl3D_; }
    void SetParentCtl3D(bool v) { parentCtl3D_ = v; }

    // Registers BorderStyle, Ctl3D and ParentCtl3D, in that order, for class T.
    template <class T>
    static void DescribeBorder(TClassBuilder<T>& b) {
        b.Enum("BorderStyle", ControlBorderStyleNames, [](T& c) -> int64_t { return c.BorderStyle(); },
               [](T& c, int64_t v) { c.SetBorderStyle(static_cast<TBorderStyle>(v)); });
        b.Bool("Ctl3D", [](T& c) { return c.Ctl3D(); }, [](T& c, bool v) { c.SetCtl3D(v); });
        b.Bool("ParentCtl3D", [](T& c) { return c.ParentCtl3D(); }, [](T& c, bool v) { c.SetParentCtl3D(v); });
    }

protected:
    // bsSingle: a sunken client edge when three-dimensional, else a one-pixel line.
    void applyBorder(TCreateParams& p) const {
        if (borderStyle_ != bsSingle) return;
        if (ctl3D_) p.ExStyle |= WS_EX_CLIENTEDGE;
        else p.Style |= WS_BORDER;
    }

    TBorderStyle borderStyle_;
    bool ctl3D_ = true;
    bool parentCtl3D_ = true;
};
