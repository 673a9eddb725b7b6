// The tab, tab-set and media-player skins reached through the form skin's dispatch: a
// class-library form holding every kind (tab set, tabbed notebook, a page control named by
// a Skin3rd line, media player) and a raw window's tab controls get each their skin, once.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ComCtrls.h"
#include "Forms.h"
#include "MPlayer.h"
#include "Tabs.h"
#include "WinSubClassMP.h"
#include "WinSubClassTabs.h"
#include "skin_form_support.h"

namespace {

using guitest::Capture;
using skinform::FlatRef;
using TabDispatch = skinform::SkinFormTest;

Capture PaintThroughSkin(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    Capture c(r.right - r.left, r.bottom - r.top);
    if (c.Valid()) SendMessageW(window, WM_PAINT, reinterpret_cast<WPARAM>(c.Dc()), 0);
    return c;
}

int CountColour(const Capture& c, const RECT& r, COLORREF colour) {
    int n = 0;
    for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, c.Height()); ++y)
        for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, c.Width()); ++x)
            if (c.Painted(x, y) && c.Pixel(x, y) == colour) ++n;
    return n;
}

int Area(const RECT& r) { return std::max<LONG>(0, r.right - r.left) * std::max<LONG>(0, r.bottom - r.top); }

RECT ItemRect(HWND tab, int i) {
    RECT r{};
    SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
}

}  // namespace

namespace {

template <class Skin>
Skin* OwnedSkin(TComponent* host) {
    for (int i = 0; i < host->ComponentCount(); ++i)
        if (auto* s = dynamic_cast<Skin*>(host->Components(i))) return s;
    return nullptr;
}

TEST_F(TabDispatch, EveryKindGetsItsSkinOnce) {
    auto* form = new TForm(Application);
    form->SetBounds(20, 20, 640, 420);
    auto* set = new TTabSet(form);
    set->SetParent(form);
    set->SetBounds(8, 8, 200, 24);
    set->Tabs().SetFromVector({"One", "Two"});
    auto* book = new TTabbedNotebook(form);
    book->SetParent(form);
    book->SetBounds(8, 40, 300, 200);
    book->Pages().SetFromVector({"First", "Second"});
    auto* pages = new TPageControl(form);  // named by a Skin3rd line only
    pages->SetParent(form);
    pages->SetBounds(320, 40, 300, 200);
    auto* sheet = new TTabSheet(form);
    sheet->SetCaption("Sheet");
    sheet->SetPageControl(pages);
    data->Skin3rd().Add("TPageControl=tab");
    auto* player = new TMediaPlayer(form);
    player->SetParent(form);
    player->SetBounds(8, 250, 270, 30);
    ASSERT_NE(SkinAndApply(form->Handle()), nullptr);
    EXPECT_NE(OwnedSkin<TSkinTab31>(set), nullptr) << "tab set";
    EXPECT_NE(OwnedSkin<TSkinTab>(book), nullptr) << "tabbed notebook";
    EXPECT_NE(OwnedSkin<TSkinTab>(pages), nullptr) << "page control by its Skin3rd line";
    EXPECT_NE(OwnedSkin<TSkinMP>(player), nullptr) << "media player";
    for (HWND w : {set->Handle(), book->Handle(), pages->Handle(), player->Handle()})
        EXPECT_EQ(SendMessageW(w, WM_SKINQUERY, 0, 0), 1) << guitest::Describe(w);
    if (TSkinMP* mp = OwnedSkin<TSkinMP>(player)) {
        ASSERT_NE(mp->Overlay, nullptr);
        EXPECT_NE(SendMessageW(mp->Overlay->Handle(), WM_SKINQUERY, 0, 0), 1) << "the panel itself is never skinned";
    }
    const Capture c = PaintThroughSkin(book->Handle());
    const RECT first = ItemRect(book->Handle(), 0);
    EXPECT_GT(CountColour(c, first, FlatRef("Tabs", "Image", 2)), Area(first) / 3);
    delete form;
}

TEST_F(TabDispatch, RawTabControlOfARawWindowGetsTheTabSkin) {
    guitest::TestWindow window = MakeWindow();
    struct Row { const char* name; DWORD style; bool skinned; };
    const Row rows[] = {
        {"plain", 0, true},
        {"tabs on the right", TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE, true},
        {"owner-drawn tabs are the owner's", TCS_OWNERDRAWFIXED, false},
    };
    std::vector<HWND> tabs;
    for (const Row& row : rows) {
        tabs.push_back(CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | row.style, 10, 10, 200, 120,
                                       window.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr));
        ASSERT_NE(tabs.back(), nullptr) << row.name;
    }
    ASSERT_NE(SkinAndApply(window.Handle()), nullptr);
    for (size_t i = 0; i < tabs.size(); ++i) {
        EXPECT_EQ(dynamic_cast<TSkinTab*>(TSkinControl::OfWindow(tabs[i])) != nullptr, rows[i].skinned) << rows[i].name;
        EXPECT_EQ(SendMessageW(tabs[i], WM_SKINQUERY, 0, 0), rows[i].skinned ? 1 : 0) << rows[i].name;
    }
}

}  // namespace
