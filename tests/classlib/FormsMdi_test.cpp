// MDI frames: the client window inside the frame and beside its aligned controls, children
// made by the client, a maximised child's buttons in the frame's menu bar, the active
// child, closing children and freeing the frame before its children.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ControlsTestSupport.h"
#include "ExtCtrls.h"
#include "Menus.h"

namespace {

const char* const kFrameForm = u8R"(object F: TForm
  Left = 0
  Top = 0
  Width = 500
  Height = 400
  Caption = 'Frame'
  FormStyle = fsMDIForm
  Menu = MainMenu1
  object MainMenu1: TMainMenu
    object NFile: TMenuItem
      Caption = '文件(&F)'
      object NNew: TMenuItem
        Caption = '新建(&N)'
      end
    end
    object NHelp: TMenuItem
      Caption = '帮助(&H)'
    end
  end
  object Bar: TPanel
    Height = 30
    Align = alTop
  end
end
)";

const char* const kChildForm = u8R"(object C: TForm
  Left = 10
  Top = 10
  Width = 200
  Height = 150
  Caption = 'Doc'
  FormStyle = fsMDIChild
end
)";

class MdiTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = ctltest::FormFromText(kFrameForm);
        frame->Show();
        ASSERT_NE(nullptr, frame->ClientHandle());
    }
    TForm* newChild(const std::string& caption) {
        // Each child a component of its own name in the application.
        std::string text = kChildForm;
        text.replace(text.find("object C:"), 9, "object Child" + caption + ":");
        auto* c = new TForm(Application);
        c->InitFromText(text);
        c->SetCaption(caption);
        c->Show();
        return c;
    }
    int frameMenuItems() { return GetMenuItemCount(GetMenu(frame->Handle())); }
    bool activeIsMaximised(HWND* active = nullptr) {
        BOOL maximised = FALSE;
        HWND a = reinterpret_cast<HWND>(
            SendMessageA(frame->ClientHandle(), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)));
        if (active) *active = a;
        return maximised != FALSE;
    }
    std::unique_ptr<TForm> frame;
};

}  // namespace

TEST_F(MdiTest, Frame_ClientWindowFillsWhatAlignedControlsLeave) {
    HWND client = frame->ClientHandle();
    EXPECT_EQ("MDIClient", ctltest::ClassNameA(client));
    EXPECT_EQ(frame->Handle(), GetParent(client));
    RECT fc{};
    GetClientRect(frame->Handle(), &fc);
    EXPECT_EQ((RECT{0, 30, fc.right, fc.bottom}), ctltest::RectInParent(client));
    frame->SetBounds(0, 0, 420, 300);  // the client follows the frame, below the bar
    GetClientRect(frame->Handle(), &fc);
    EXPECT_EQ((RECT{0, 30, fc.right, fc.bottom}), ctltest::RectInParent(client));
}

TEST_F(MdiTest, Children_AreMadeByTheClient) {
    TForm* a = newChild("A");
    TForm* b = newChild("B");
    for (TForm* c : {a, b}) {
        SCOPED_TRACE(c->Caption());
        EXPECT_EQ(frame->ClientHandle(), GetParent(c->Handle()));
        EXPECT_TRUE(GetWindowLongPtrA(c->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
        EXPECT_TRUE(IsWindowVisible(c->Handle()));
    }
    EXPECT_EQ(2, frame->MDIChildCount());
    EXPECT_EQ(b, frame->ActiveMDIChild());
    a->Show();
    EXPECT_EQ(a, frame->ActiveMDIChild());
    delete a;
    delete b;
    EXPECT_EQ(0, frame->MDIChildCount());
    EXPECT_EQ(nullptr, frame->ActiveMDIChild());
}

TEST_F(MdiTest, Maximised_ChildButtonsJoinTheFrameMenuBar) {
    const int plain = frameMenuItems();
    ASSERT_EQ(2, plain);
    TForm* a = newChild("A");
    TForm* b = newChild("B");
    EXPECT_FALSE(activeIsMaximised());
    b->SetWindowState(wsMaximized);
    HWND active = nullptr;
    EXPECT_TRUE(activeIsMaximised(&active));
    EXPECT_EQ(b->Handle(), active);
    HMENU bar = GetMenu(frame->Handle());
    const int n = GetMenuItemCount(bar);
    ASSERT_EQ(plain + 4, n);  // the child's system menu first; minimise, restore, close last
    EXPECT_NE(nullptr, GetSubMenu(bar, 0));
    EXPECT_EQ(static_cast<UINT>(SC_MINIMIZE), GetMenuItemID(bar, n - 3));
    EXPECT_EQ(static_cast<UINT>(SC_RESTORE), GetMenuItemID(bar, n - 2));
    EXPECT_EQ(static_cast<UINT>(SC_CLOSE), GetMenuItemID(bar, n - 1));
    // Another child shown takes over maximised.
    a->Show();
    EXPECT_TRUE(activeIsMaximised(&active));
    EXPECT_EQ(a->Handle(), active);
    EXPECT_EQ(plain + 4, frameMenuItems());
    a->SetWindowState(wsNormal);
    EXPECT_FALSE(activeIsMaximised());
    EXPECT_EQ(plain, frameMenuItems());
    delete a;
    delete b;
}

TEST_F(MdiTest, SystemCommand_MaximisesThroughTheChildsDefaultProcedure) {
    TForm* a = newChild("A");
    SendMessageA(a->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(activeIsMaximised());
    EXPECT_EQ(wsMaximized, a->WindowState());
    SendMessageA(a->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(activeIsMaximised());
    EXPECT_EQ(wsNormal, a->WindowState());
    delete a;
}

TEST_F(MdiTest, Close_FreesTheChildAndGivesTheMenuBarBack) {
    const int plain = frameMenuItems();
    TForm* a = newChild("A");
    TForm* b = newChild("B");
    bool bGone = false;
    b->OnDestroy = [&](TObject*) { bGone = true; };
    b->SetWindowState(wsMaximized);
    ASSERT_EQ(plain + 4, frameMenuItems());
    HWND bWnd = b->Handle();
    SendMessageA(bWnd, WM_CLOSE, 0, 0);
    ASSERT_TRUE(guitest::PumpUntil([&] { return bGone; }));
    EXPECT_FALSE(IsWindow(bWnd));
    EXPECT_EQ(1, frame->MDIChildCount());
    EXPECT_EQ(a, frame->ActiveMDIChild());
    // The remaining child takes the maximised state or gives the bar back; either way
    // the bar matches what WM_MDIGETACTIVE reports.
    EXPECT_EQ(activeIsMaximised() ? plain + 4 : plain, frameMenuItems());
    delete a;
    EXPECT_EQ(plain, frameMenuItems());
}

TEST_F(MdiTest, FrameFreedFirst_ChildrenLoseTheirWindowsCleanly) {
    TForm* a = newChild("A");
    HWND aWnd = a->Handle();
    frame.reset();
    EXPECT_FALSE(IsWindow(aWnd));
    EXPECT_FALSE(a->HandleAllocated());
    delete a;
}

TEST_F(MdiTest, Cascade_AndTileArrangeTheChildren) {
    TForm* a = newChild("A");
    TForm* b = newChild("B");
    frame->Tile();
    const RECT ra = ctltest::RectInParent(a->Handle()), rb = ctltest::RectInParent(b->Handle());
    RECT overlap{};
    EXPECT_FALSE(IntersectRect(&overlap, &ra, &rb));  // tiled children do not overlap
    frame->Cascade();
    EXPECT_NE(ctltest::RectInParent(a->Handle()).left, ctltest::RectInParent(b->Handle()).left);
    delete a;
    delete b;
}

TEST(MdiChild_WithoutFrame, RefusesWithAClearError) {
    auto* c = new TForm(Application);
    try {
        c->InitFromText(kChildForm);
        c->Show();
        ADD_FAILURE() << "an MDI child without a frame was made";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find("no MDI frame")) << e.what();
    }
    delete c;
}
