// The scroll-bar control's skin on real scroll bars under Wine: the thumb from the scroll
// values (a zero range draws none), one cover over the control in its own direction that
// follows it, pixels of the flat test skin stretched to the control's thickness, and a
// press on the cover handed to the control.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Forms.h"
#include "StdCtrls.h"
#include "WinSubClassScControl.h"
#include "skin_form_support.h"

namespace {

using guitest::Capture;
using guitest::PixelIs;
using guitest::PumpUntil;
using skinform::FlatRef;

TEST(ScrollControlThumb, FromTheScrollValues) {
    const struct {
        int length, arrow, pos, min, max, page;
        int start, end;
        const char* row;
    } rows[] = {
        {200, 16, 0, 0, 100, 10, 16, 31, "page, at the start: (200 - 32) x 9 / 100"},
        {200, 16, 50, 0, 100, 10, 100, 115, "page, half way"},
        {200, 16, 0, 0, 100, 0, 16, 32, "no page: an arrow long"},
        {200, 16, 50, 0, 100, 0, 92, 108, "no page, half way: (200 - 48) x 50 / 100"},
        {200, 16, 5, 5, 5, 5, 16, 15, "zero range with a page: MulDiv's -1, no thumb"},
        {200, 16, 60, 10, 110, 20, 100, 132, "minimum above zero"},
    };
    for (const auto& row : rows) {
        const TThumbSpan t = ScrollControlThumb(row.length, row.arrow, row.pos, row.min, row.max, row.page);
        EXPECT_EQ(t.Start, row.start) << row.row;
        EXPECT_EQ(t.End, row.end) << row.row;
    }
}

class ScrollControlSkin : public skinform::SkinFormTest {
protected:
    void SetUp() override {
        SkinFormTest::SetUp();
        if (HasFatalFailure()) return;
        guitest::TestWindowOptions o;
        o.caption = L"scroll-bar controls";
        o.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN;
        o.width = 460;
        o.height = 320;
        window = MakeWindow(o);
        ASSERT_TRUE(window);
        form = SkinAndApply(window.Handle());
        ASSERT_NE(form, nullptr);
    }
    void TearDown() override {
        bars.clear();  // their skins go with them
        window.Destroy();
        SkinFormTest::TearDown();
    }

    TScrollBar* Bar(TScrollBarKind kind, RECT bounds) {
        auto bar = std::make_unique<TScrollBar>(nullptr);
        TScrollBar* raw = bar.get();
        raw->SetKind(kind);
        raw->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
        raw->SetParentWindow(window.Handle());
        raw->SetParams(0, 0, 100);
        raw->SetPageSize(50);
        raw->Handle();
        bars.push_back(std::move(bar));
        return raw;
    }

    // Created and attached as the dispatch does with a skin an OnSkinControl handler gives.
    TSkinScControl* Skin(TScrollBar* host) {
        auto* skin = dynamic_cast<TSkinScControl*>(CreateSkinControl(TSkinClass::ScControl, host));
        EXPECT_NE(skin, nullptr);
        if (!skin) return nullptr;
        form->AddSkinControl(skin);
        skin->AttachControl(form, data.get(), false, form->FControlCanvas.get());
        guitest::PumpMessages();
        return skin;
    }

    guitest::TestWindow window;
    TWinSkinForm* form = nullptr;
    std::vector<std::unique_ptr<TScrollBar>> bars;
};

::testing::AssertionResult CoversControl(TWScrollbar& cover, HWND control) {
    if (!cover.HandleAllocated() || !IsWindowVisible(cover.Handle()))
        return ::testing::AssertionFailure() << "the cover is not shown";
    const RECT got = guitest::RectInParent(cover.Handle()), want = guitest::RectInParent(control);
    if (!guitest::SameRect(got, want))
        return ::testing::AssertionFailure() << "cover " << guitest::ToString(got) << ", control " << guitest::ToString(want);
    return ::testing::AssertionSuccess();
}

TEST_F(ScrollControlSkin, CoverLiesOverTheControlInItsDirectionAndFollowsIt) {
    TScrollBar* horz = Bar(sbHorizontal, {20, 20, 220, 37});
    TScrollBar* vert = Bar(sbVertical, {260, 20, 277, 200});
    TSkinScControl* h = Skin(horz);
    TSkinScControl* v = Skin(vert);
    ASSERT_TRUE(h && v && h->Bar && v->Bar);
    EXPECT_EQ(h->Bar->Kind, sbkControl);
    EXPECT_EQ(h->Bar->Orientation, sbkHorizontal);
    EXPECT_EQ(v->Bar->Orientation, sbkVertical);
    EXPECT_EQ(h->Bar->BarLength, 200);
    EXPECT_EQ(v->Bar->BarLength, 180);
    EXPECT_TRUE(CoversControl(*h->Bar, horz->Handle()));
    EXPECT_TRUE(CoversControl(*v->Bar, vert->Handle()));
    EXPECT_EQ(GetWindow(h->Bar->Handle(), GW_HWNDNEXT), horz->Handle()) << "directly above the control";
    EXPECT_EQ(SendMessageW(horz->Handle(), WM_SKINQUERY, 0, 0), 1);

    horz->SetBounds(30, 60, 180, 20);
    EXPECT_TRUE(PumpUntil([&] { return CoversControl(*h->Bar, horz->Handle()); })) << "after moving";
    horz->SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(h->Bar->Handle())) << "hidden with the control";
    horz->SetVisible(true);
    EXPECT_TRUE(PumpUntil([&] { return CoversControl(*h->Bar, horz->Handle()); })) << "shown again";

    h->Unskin();
    EXPECT_EQ(h->Bar, nullptr) << "unskinning takes the cover away";
}

TEST_F(ScrollControlSkin, PixelsAreTheSkinsCellsStretchedToTheControl) {
    // 30 pixels thick: the skin's thinner bar is stretched across it.
    TScrollBar* horz = Bar(sbHorizontal, {20, 20, 320, 50});
    TSkinScControl* skin = Skin(horz);
    ASSERT_TRUE(skin && skin->Bar);
    TWScrollbar& bar = *skin->Bar;
    const Capture c = guitest::CaptureWindow(bar.Handle(), false, guitest::CaptureMethod::Compose);
    ASSERT_TRUE(c.Valid());
    ASSERT_EQ(c.Height(), 30);
    const int a = bar.ArrowLength;
    ASSERT_GT(bar.ThumbEnd - bar.ThumbStart, 40);
    for (int y : {2, 15, 27}) {
        EXPECT_TRUE(PixelIs(c, a / 2, y, FlatRef("Scrollbar", 1))) << "left arrow, y " << y;
        EXPECT_TRUE(PixelIs(c, 300 - a / 2, y, FlatRef("Scrollbar", 5))) << "right arrow, y " << y;
        EXPECT_TRUE(PixelIs(c, bar.ThumbStart + 2, y, FlatRef("HorzScrollThumb", 1))) << "thumb, y " << y;
        EXPECT_TRUE(PixelIs(c, (bar.ThumbStart + bar.ThumbEnd) / 2, y, FlatRef("Scrollbar", 17))) << "grip, y " << y;
        EXPECT_TRUE(PixelIs(c, (bar.ThumbEnd + 300 - a) / 2, y, FlatRef("HorzScroll", 1))) << "track, y " << y;
    }
}

TEST_F(ScrollControlSkin, PressOnTheTrackPagesTheControl) {
    // On a class-library form, which hands the control its scroll notices back.
    auto* owner = new TForm(Application);
    owner->SetBounds(80, 80, 400, 200);
    TWinSkinForm* formSkin = SkinAndApply(owner->Handle());
    ASSERT_NE(formSkin, nullptr);
    owner->Show();
    auto* horz = new TScrollBar(owner);
    horz->SetParent(owner);
    horz->SetKind(sbHorizontal);
    horz->SetBounds(20, 20, 300, 17);
    horz->SetParams(0, 0, 100);
    horz->SetPageSize(10);
    horz->SetLargeChange(10);
    auto* skin = new TSkinScControl(horz);
    ASSERT_TRUE(skin->Attach(horz, data.get(), formSkin, nullptr));
    ASSERT_NE(skin->Bar, nullptr);
    TWScrollbar& bar = *skin->Bar;
    UpdateWindow(bar.Handle());
    const POINT onTrack{(bar.ThumbEnd + bar.BarLength - bar.ArrowLength) / 2, 8};
    ASSERT_EQ(bar.HitTest(onTrack), spPageAfter);
    // The release ends the control's tracking loop that the press starts.
    PostMessageA(bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(onTrack.x, onTrack.y));
    PostMessageA(bar.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(onTrack.x, onTrack.y));
    EXPECT_TRUE(PumpUntil([&] { return horz->Position() > 0; })) << "the control moved by a page";
    EXPECT_FALSE(bar.Tracking);
    // The cover follows the new position.
    EXPECT_TRUE(PumpUntil([&] {
        UpdateWindow(bar.Handle());
        return bar.ThumbStart > bar.ArrowLength;
    }));
    delete owner;
}

}  // namespace
