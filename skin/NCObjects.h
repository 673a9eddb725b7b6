// The small objects that live in a skinned window's non-client area and react to the
// mouse: TNCObject (bounds, visibility, normal/down/hot state and the common mouse
// behaviour) and TWinSysButton (one caption button, drawn from its caption-button
// definition).  The menu-bar items (TMenuBtn, WinSkinMenu.h) derive from TNCObject too.
//
// At most one object of a form skin is hot at a time: the form skin's FHotObject.  An
// object that is freed while it is that hot object clears it, so nothing ever points at a
// freed object.
//
// Types: TNCObjectState, TNCObject, TWinSysButton.
#pragma once
#include <windows.h>

#include <memory>

class TWinSkinForm;
class TDataSkinSysButton;

enum TNCObjectState : int { nsNormal = 1, nsDown = 2, nsHot = 3 };

class TNCObject {
public:
    TNCObject() = default;
    virtual ~TNCObject();
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    TWinSkinForm* Form = nullptr;  // the owning form skin, set by the creator
    RECT Bounds{};                 // frame coordinates: origin at the window's top-left corner
    bool Visible = false;
    int State = nsNormal;

    // The previous hot object leaves; a visible object becomes the hot one, down.
    virtual void MouseDown();
    // A visible object goes back to hot.
    virtual void MouseUp();
    // Becomes the hot object unless it already is.
    virtual void MouseMove();
    // Stops being hot.
    virtual void MouseLeave();
    virtual void Paint() {}
};

// One caption button.  It keeps its definition alive (a skin reload replaces the
// definitions; a button never points at a freed one).
class TWinSysButton : public TNCObject {
public:
    TWinSysButton(TWinSkinForm* form, std::shared_ptr<TDataSkinSysButton> definition);

    std::shared_ptr<TDataSkinSysButton> Definition;
    int Index = 0;  // position in the form skin's FSysButtons

    // The form skin paints this button's cell for the current state.
    void Paint() override;
};
