// The size-box and nested-dialog fills.
#include "WinSubClassSizer.h"

#include "Handles.h"
#include "WinSkinData.h"

bool IsSizeGripStyle(LONG_PTR style) { return (style & (SBS_SIZEGRIP | SBS_SIZEBOX)) != 0; }

// ---- TSkinSizer ---------------------------------------------------------------------

const TClassInfo& TSkinSizer::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TSkinSizer>("TSkinSizer", &TSkinControl::StaticClassInfo(), [](TClassBuilder<TSkinSizer>&) {});
    return info;
}

TSkinSizer::TSkinSizer(TComponent* owner) : TSkinControl(owner) {}

bool TSkinSizer::BeforeMessage(TMessage& message) { return TSkinControl::BeforeMessage(message); }

void TSkinSizer::Paint(HDC dc, const RECT& rect) {
    // Only a size box is filled: a real scroll bar under this skin keeps its own look.
    if (IsSizeGripStyle(WindowLong(Handle, GWL_STYLE))) FillSkinColor(dc, rect);
}

// ---- TSkinBoxH ----------------------------------------------------------------------

const TClassInfo& TSkinBoxH::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TSkinBoxH>("TSkinBoxH", &TSkinControl::StaticClassInfo(), [](TClassBuilder<TSkinBoxH>&) {});
    return info;
}

TSkinBoxH::TSkinBoxH(TComponent* owner) : TSkinControl(owner) {}

bool TSkinBoxH::BeforeMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_ERASEBKGND: {
        RECT r{};
        if (m.WParam && GetWindowRect(Handle, &r)) {
            OffsetRect(&r, -r.left, -r.top);
            FillSkinColor(reinterpret_cast<HDC>(m.WParam), r);
        }
        // Answers 0 (not erased) although the background is filled: callers have always
        // had this answer from the nested-dialog skin.
        m.Result = 0;
        return false;
    }
    case WM_CTLCOLORSTATIC:
        CallDefault(m);
        if (SkinData && SkinData->SkinBrush()) m.Result = reinterpret_cast<LRESULT>(SkinData->SkinBrush().get());
        return false;
    default: return TSkinControl::BeforeMessage(m);
    }
}
