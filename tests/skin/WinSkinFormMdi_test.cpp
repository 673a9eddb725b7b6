// The form skin on the class library's MDI frame under Wine: document windows skinned as
// they are made (frame, caption and caption buttons from the skin, the client area kept),
// a document window maximised through its caption button taking the system's frame until
// it is restored, the frame's document-window commands reaching the active child, a
// minimised child showing only its caption strip, and the skin taken away giving the
// MDI client and the children their procedures and sizes back.  The menu bar of the frame
// (and the maximised child's buttons in it) is not tested here.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "Forms.h"
#include "skin_form_support.h"

namespace {

using guitest::Capture;
using guitest::PixelIs;
using guitest::PumpUntil;
using skinform::FlatRef;

const char* const kFrameForm = u8R"(object MdiFrame: TForm
  Left = 20
  Top = 20
  Width = 640
  Height = 480
  Caption = 'Frame'
  FormStyle = fsMDIForm
end
)";

const char* const kChildForm = u8R"(object C: TForm
  Left = 10
  Top = 10
  Width = 260
  Height = 180
  Caption = 'Doc'
  FormStyle = fsMDIChild
end
)";

SIZE ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return SIZE{r.right, r.bottom};
}

SIZE WindowSize(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

LPARAM PointParam(POINT p) { return MAKELPARAM(p.x, p.y); }

TWinSysButton* ButtonWithAction(TWinSkinForm& skin, int action) {
    for (auto& b : skin.FSysButtons)
        if (b->Definition && b->Definition->Action == action) return b.get();
    return nullptr;
}

class MdiSkin : public skinform::SkinFormTest {
protected:
    void SetUp() override {
        skinform::SkinFormTest::SetUp();
        if (HasFatalFailure()) return;
        frame = std::make_unique<TForm>(Application);
        frame->InitFromText(kFrameForm);
        frame->Show();
        ASSERT_NE(nullptr, frame->ClientHandle());
        frameSkin = SkinAndApply(frame->Handle());
        ASSERT_NE(nullptr, frameSkin);
        // Document windows are admitted by the creation hook as they are made.
        manager->InstallHook();
    }
    void TearDown() override {
        frame.reset();
        guitest::PumpMessages();
        skinform::SkinFormTest::TearDown();
    }

    // A document window of the frame, each a component of its own name.
    TForm* newChild(const std::string& name) {
        std::string text = kChildForm;
        text.replace(text.find("object C:"), 9, "object " + name + ":");
        auto* c = new TForm(Application);
        c->InitFromText(text);
        c->SetCaption(name);
        c->Show();
        return c;
    }
    // The child's form skin once its skin has been applied.
    TWinSkinForm* appliedSkin(TForm* child) {
        TWinSkinForm* skin = nullptr;
        PumpUntil([&] {
            skin = manager->FindFormSkin(child->Handle());
            return skin && skin->FSkinState == ssActive;
        });
        return skin && skin->FSkinState == ssActive ? skin : nullptr;
    }
    bool activeIsMaximised(HWND* active = nullptr) {
        BOOL maximised = FALSE;
        HWND a = reinterpret_cast<HWND>(
            SendMessageA(frame->ClientHandle(), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)));
        if (active) *active = a;
        return a && maximised;
    }
    // Releases the caption button of the window at its centre, as the mouse does.
    void press(TWinSkinForm& skin, const TWinSysButton& button) {
        skin.FActive = true;
        const POINT centre{(button.Bounds.left + button.Bounds.right) / 2, (button.Bounds.top + button.Bounds.bottom) / 2};
        const POINT screen = skinform::FrameToScreen(skin.FHandle, centre);
        SendMessageW(skin.FHandle, WM_NCMOUSEMOVE, HTCAPTION, PointParam(screen));
        SendMessageW(skin.FHandle, WM_NCLBUTTONDOWN, HTCAPTION, PointParam(screen));
        SendMessageW(skin.FHandle, WM_NCLBUTTONUP, HTCAPTION, PointParam(screen));
    }

    std::unique_ptr<TForm> frame;
    TWinSkinForm* frameSkin = nullptr;
};

TEST_F(MdiSkin, Frame_IsAnMDIParentWithItsClientHooked) {
    EXPECT_EQ(frameSkin->FWindowKind, wkMDIParent);
    EXPECT_EQ(frameSkin->FMDIClient, frame->ClientHandle());
    EXPECT_EQ(manager->FMDIClientWnd, frame->ClientHandle());
    ASSERT_NE(frameSkin->FMDIClientThunk.Procedure(), nullptr);
    EXPECT_EQ(GetWindowLongPtrA(frame->ClientHandle(), GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(frameSkin->FMDIClientThunk.Procedure()));
}

TEST_F(MdiSkin, Child_SkinnedAsItIsMadeKeepingItsClientSize) {
    // The same document window without the skin, for its client size.
    manager->SetEnabled(false);
    TForm* plain = newChild("Plain");
    const SIZE expected = ClientSize(plain->Handle());
    EXPECT_EQ(SendMessageW(plain->Handle(), WM_SKINQUERY, 0, 0), 0);
    delete plain;
    manager->SetEnabled(true);

    TForm* child = newChild("Doc");
    TWinSkinForm* skin = appliedSkin(child);
    ASSERT_NE(skin, nullptr) << "the document window is not skinned";
    EXPECT_EQ(SendMessageW(child->Handle(), WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(skin->FWindowKind, wkMDIChild);
    EXPECT_TRUE(skin->FFrameSkinned);
    const SIZE client = ClientSize(child->Handle());
    EXPECT_EQ(client.cx, expected.cx);
    EXPECT_EQ(client.cy, expected.cy);
    // The caption of a document window is never lower than the system's: the strip under
    // a lower skin caption makes up the difference.
    const int least = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
    EXPECT_GE(skin->FBorderTop + skin->FMenuHeight, least);
    const SIZE outer = WindowSize(child->Handle());
    EXPECT_EQ(outer.cx, client.cx + skin->FBorderLeft + skin->FBorderRight);
    EXPECT_EQ(outer.cy, client.cy + skin->FBorderTop + skin->FBorderBottom + skin->FMenuHeight);
    delete child;
}

TEST_F(MdiSkin, Child_FrameCaptionAndButtonsAreTheSkinsCells) {
    TForm* child = newChild("Doc");
    TWinSkinForm* skin = appliedSkin(child);
    ASSERT_NE(skin, nullptr);
    skin->FActive = true;
    const Capture c = skinform::PaintedFrame(*skin);
    ASSERT_TRUE(c.Valid());
    const int w = c.Width(), h = c.Height();
    EXPECT_TRUE(PixelIs(c, 1, h / 2, FlatRef("Personality", "Left", 1))) << "left border";
    EXPECT_TRUE(PixelIs(c, w - 2, h / 2, FlatRef("Personality", "Right", 1))) << "right border";
    EXPECT_TRUE(PixelIs(c, w / 2, h - 1, FlatRef("Personality", "Bottom", 1))) << "bottom border";
    EXPECT_TRUE(PixelIs(c, w - 110, skin->FBorderTop - 3, FlatRef("Personality", "Top", 1))) << "caption";
    if (skin->FMenuHeight > 0) {
        EXPECT_TRUE(PixelIs(c, w / 2, skin->FBorderTop + skin->FMenuHeight / 2,
                            ColorToRGB(data->Colours.ButtonFace)))
            << "the strip under the caption";
    }
    struct Row {
        int action;
        const char* name;
    } rows[] = {{0, "ButtonClose"}, {1, "ButtonMaximize"}, {2, "ButtonMinimize"}};
    for (const Row& row : rows) {
        TWinSysButton* button = ButtonWithAction(*skin, row.action);
        ASSERT_NE(button, nullptr) << row.name;
        ASSERT_TRUE(button->Visible) << row.name;
        const RECT& r = button->Bounds;
        EXPECT_TRUE(PixelIs(c, (r.left + r.right) / 2, r.top + 2, FlatRef(row.name, 1))) << row.name;
    }
    // The frame's own buttons for a maximised document window stay hidden meanwhile.
    for (int action : {7, 8, 9}) {
        frameSkin->IsButtonVisible(ButtonWithAction(*frameSkin, action)->Index);
        EXPECT_FALSE(ButtonWithAction(*frameSkin, action)->Visible) << action;
    }
    delete child;
}

TEST_F(MdiSkin, Child_MaximisedTakesTheSystemFrameUntilRestored) {
    TForm* child = newChild("Doc");
    TWinSkinForm* skin = appliedSkin(child);
    ASSERT_NE(skin, nullptr);
    const SIZE clientBefore = ClientSize(child->Handle());
    ASSERT_TRUE(skin->FRegionSet) << "the flat skin's corners are cut";
    skinform::PaintedFrame(*skin);  // lays the caption buttons out
    TWinSysButton* max = ButtonWithAction(*skin, 1);
    ASSERT_NE(max, nullptr);
    press(*skin, *max);
    HWND active = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return activeIsMaximised(&active); })) << "maximise";
    EXPECT_EQ(active, child->Handle());
    EXPECT_EQ(skin->FWindowState, wsSkinMaximized);
    EXPECT_TRUE(manager->FMDIMaximized);
    EXPECT_FALSE(skin->FRegionSet) << "a maximised document window has no region";
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(child->Handle(), region), ERROR);
    // The skin paints nothing of a maximised document window; the system's frame is
    // outside the client's area anyway.
    Capture c = skinform::PaintedFrame(*skin);
    ASSERT_TRUE(c.Valid());
    EXPECT_FALSE(c.AnyPainted());
    EXPECT_TRUE(frameSkin->IsMDIChildMaximized());

    SendMessageW(child->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(PumpUntil([&] { return !activeIsMaximised(); })) << "restore";
    EXPECT_EQ(skin->FWindowState, wsSkinNormal);
    EXPECT_FALSE(manager->FMDIMaximized);
    EXPECT_TRUE(PumpUntil([&] { return skin->FRegionSet; })) << "the region comes back";
    EXPECT_NE(GetWindowRgn(child->Handle(), region), ERROR);
    DeleteObject(region);
    const SIZE clientAfter = ClientSize(child->Handle());
    EXPECT_EQ(clientAfter.cx, clientBefore.cx);
    EXPECT_EQ(clientAfter.cy, clientBefore.cy);
    skin->FActive = true;
    c = skinform::PaintedFrame(*skin);
    EXPECT_TRUE(PixelIs(c, 1, c.Height() / 2, FlatRef("Personality", "Left", 1))) << "the skin's frame again";
    delete child;
}

TEST_F(MdiSkin, Frame_DocumentCommandsReachTheActiveChild) {
    TForm* other = newChild("Other");
    TForm* child = newChild("Doc");
    ASSERT_NE(appliedSkin(other), nullptr);
    ASSERT_NE(appliedSkin(child), nullptr);
    bool closed = false;
    child->OnDestroy = [&](TObject*) { closed = true; };
    const HWND hwnd = child->Handle();
    // The buttons the skin adds for a maximised document window carry these actions.
    struct Row {
        int action;
        const char* what;
        std::function<bool()> done;
    } rows[] = {
        {7, "minimise", [&] { return IsIconic(hwnd) != FALSE; }},
        {8, "restore", [&] { return !IsIconic(hwnd) && !IsZoomed(hwnd); }},
        {9, "close", [&] { return closed; }},
    };
    for (const Row& row : rows) {
        TWinSysButton* button = ButtonWithAction(*frameSkin, row.action);
        ASSERT_NE(button, nullptr) << row.what;
        // Minimising the active document window activates the next one (the system's
        // MDI rule): each command is aimed at the document window made active first.
        SendMessageW(frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hwnd), 0);
        HWND activeNow = nullptr;
        activeIsMaximised(&activeNow);
        ASSERT_EQ(activeNow, hwnd) << row.what << ": the document window is the active one";
        frameSkin->FHotObject = button;
        frameSkin->ButtonClick(0, 0);
        EXPECT_TRUE(PumpUntil(row.done)) << row.what;
    }
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(IsIconic(other->Handle())) << "the other document window is left alone";
    delete other;
}

TEST_F(MdiSkin, Child_MinimisedShowsOnlyItsCaptionStrip) {
    TForm* child = newChild("Doc");
    TWinSkinForm* skin = appliedSkin(child);
    ASSERT_NE(skin, nullptr);
    SendMessageW(child->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(child->Handle()) != FALSE; }));
    EXPECT_EQ(skin->FWindowState, wsSkinMinimized);
    skin->FActive = true;
    const Capture c = skinform::PaintedFrame(*skin);
    ASSERT_TRUE(c.Valid());
    // The caption strip across the whole width (seen below the title, beside the caption
    // buttons), over the skin's button face.  Wine gives a minimised document window the
    // system's minimised height, which may be lower than the skin's caption.
    int x = c.Width() / 2;
    for (bool underButton = true; underButton && x > 0;) {
        underButton = false;
        for (auto& b : skin->FSysButtons)
            if (b->Visible && x >= b->Bounds.left && x < b->Bounds.right) underButton = true;
        if (underButton) --x;
    }
    const int y = std::min(skin->FBorderTop, c.Height()) - 2;
    EXPECT_TRUE(PixelIs(c, x, y, FlatRef("Personality", "Top", 1))) << "caption";
    if (c.Height() > skin->FBorderTop + 1) {
        EXPECT_TRUE(PixelIs(c, c.Width() / 2, c.Height() - 1, ColorToRGB(data->Colours.ButtonFace))) << "below it";
    }
    delete child;
}

TEST_F(MdiSkin, Unskin_GivesTheClientAndTheChildrenBack) {
    const LONG_PTR clientProc = reinterpret_cast<LONG_PTR>(frameSkin->FMDIClientThunk.Previous());
    ASSERT_NE(clientProc, 0);
    TForm* child = newChild("Doc");
    TWinSkinForm* skin = appliedSkin(child);
    ASSERT_NE(skin, nullptr);
    const SIZE client = ClientSize(child->Handle());
    int changed = 0;
    data->OnSkinChanged = [&](TObject*) { ++changed; };
    manager->SetCurrentSkinData(data.get());
    manager->Schedule(saUnskin, 10);
    ASSERT_TRUE(PumpUntil([&] { return changed == 1; }));
    EXPECT_TRUE(manager->FormSkins().empty());
    EXPECT_EQ(GetWindowLongPtrA(frame->ClientHandle(), GWLP_WNDPROC), clientProc);
    for (HWND w : {child->Handle(), frame->Handle()}) {
        EXPECT_EQ(SendMessageW(w, WM_SKINQUERY, 0, 0), 0);
        EXPECT_EQ(GetPropW(w, L"LacquerSkinForm"), nullptr);
    }
    const SIZE after = ClientSize(child->Handle());
    EXPECT_EQ(after.cx, client.cx);
    EXPECT_EQ(after.cy, client.cy);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(child->Handle(), region), ERROR) << "no region left";
    DeleteObject(region);
    delete child;
}

TEST_F(MdiSkin, FrameFreedFirst_LeavesNoFormSkinBehind) {
    TForm* child = newChild("Doc");
    ASSERT_NE(appliedSkin(child), nullptr);
    const HWND childWnd = child->Handle();
    frame.reset();
    guitest::PumpMessages();
    EXPECT_FALSE(IsWindow(childWnd));
    manager->PurgeFormSkins();
    EXPECT_TRUE(manager->FormSkins().empty());
    delete child;
}

}  // namespace
