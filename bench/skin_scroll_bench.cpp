// Scrolling a 10,000-line rich edit by one page through its scroll bar, skinned against
// unskinned, side by side on one skinned window:
//  - unskinned: a press on the system's bar below the thumb (WM_NCLBUTTONDOWN, the
//    platform's tracking loop ended by a release already waiting in the queue), then the
//    rich edit's repaint;
//  - skinned: the same press on the cover that lies over the bar (it hands the press to
//    the system's bar), then the rich edit's and the cover's repaints.
// Each timing is one page, median and fastest of N; both edits go back to the top when
// their thumb nears the end.  The skin is the program's default skin.
//
// usage (from the build folder, under Wine): skin_scroll_bench [pages]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "RichEdit.h"
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClassScroll.h"

#include "bench_skin.h"
#include "bench_timing.h"

namespace {

using bench::Clock;
using bench::Fastest;
using bench::Median;
using bench::Ms;
using bench::Pump;

LRESULT CALLBACK BenchProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, msg, wParam, lParam);
}

HWND MakeWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = BenchProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SkinScrollBench";
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&wc);
    return CreateWindowExW(0, L"SkinScrollBench", L"bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 900, 600,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

std::unique_ptr<TRichEdit> MakeEdit(HWND parent, int left, const std::string& text) {
    auto edit = std::make_unique<TRichEdit>(nullptr);
    edit->SetBounds(left, 10, 400, 520);
    edit->SetScrollBars(ssVertical);
    edit->SetParentWindow(parent);
    edit->SetText(text);
    return edit;
}

// The screen point a little above the bar's lower arrow: below the thumb until the
// thumb nears the end.
bool PagePoint(HWND edit, POINT& screen) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    if (!GetScrollBarInfo(edit, OBJID_VSCROLL, &info)) return false;
    const int arrow = GetSystemMetrics(SM_CYVSCROLL);
    const int length = info.rcScrollBar.bottom - info.rcScrollBar.top;
    if (info.xyThumbBottom >= length - arrow - 4) return false;  // no track left below the thumb
    screen = POINT{(info.rcScrollBar.left + info.rcScrollBar.right) / 2, info.rcScrollBar.bottom - arrow - 2};
    return true;
}

void BackToTop(HWND edit) {
    SendMessageW(edit, WM_VSCROLL, SB_TOP, 0);
    UpdateWindow(edit);
    Pump();
}

// One page through the system's bar.
double PagePlain(HWND edit) {
    POINT p{};
    if (!PagePoint(edit, p)) {
        BackToTop(edit);
        if (!PagePoint(edit, p)) return -1;
    }
    const auto start = Clock::now();
    PostMessageW(edit, WM_LBUTTONUP, 0, 0);
    SendMessageW(edit, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(p.x, p.y));
    UpdateWindow(edit);
    return Ms(start, Clock::now());
}

// One page through the cover.
double PageSkinned(HWND edit, TWScrollbar& cover) {
    POINT p{};
    if (!PagePoint(edit, p)) {
        BackToTop(edit);
        UpdateWindow(cover.Handle());
        if (!PagePoint(edit, p)) return -1;
    }
    ScreenToClient(cover.Handle(), &p);
    const auto start = Clock::now();
    PostMessageW(cover.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    SendMessageW(cover.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    UpdateWindow(edit);
    UpdateWindow(cover.Handle());
    return Ms(start, Clock::now());
}

}  // namespace

int main(int argc, char** argv) {
    const int pages = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    std::unique_ptr<TSkinData> data;
    TSkinManage* manager = bench::StartSkinnedApplication(data);
    if (!manager) return 1;

    HWND window = MakeWindow();
    manager->SkinWindow(window);
    TWinSkinForm* form = manager->FindFormSkin(window);
    while (form && form->FSkinState != ssActive) {
        Pump();
        Sleep(0);
    }
    if (!form) {
        std::fprintf(stderr, "the window was not skinned\n");
        return 1;
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);

    std::string text;
    for (int i = 0; i < 10000; ++i) text += "line " + std::to_string(i + 1) + " of the rich edit, scrolled a page at a time\r\n";
    auto plain = MakeEdit(window, 10, text);
    auto skinnedEdit = MakeEdit(window, 460, text);
    auto* skin = new TSkinScrollbar(skinnedEdit.get());
    skin->AttachScrolling(skinnedEdit.get(), data.get(), form, form->FControlCanvas.get());
    Pump();
    if (!skin->VertBar || !skin->VertBar->Shown) {
        std::fprintf(stderr, "the skinned rich edit has no cover over its bar\n");
        return 1;
    }

    std::vector<double> plainMs, skinnedMs;
    for (int i = 0; i < pages; ++i) {
        const double a = PagePlain(plain->Handle());
        const double b = PageSkinned(skinnedEdit->Handle(), *skin->VertBar);
        if (a >= 0) plainMs.push_back(a);
        if (b >= 0) skinnedMs.push_back(b);
        Pump();
    }
    const double pm = Median(plainMs), sm = Median(skinnedMs);
    std::printf("10,000-line rich edit, one page per press, %d presses each (ms)   unskinned (median/fastest)   "
                "skinned (median/fastest)   ratio\n",
                pages);
    std::printf("page down through the scroll bar                                 %8.3f / %8.3f          %8.3f / "
                "%8.3f      %.2f\n",
                pm, Fastest(plainMs), sm, Fastest(skinnedMs), pm > 0 ? sm / pm : 0.0);
    plain.reset();
    skinnedEdit.reset();
    DestroyWindow(window);
    Pump();
    data.reset();
    FreeSkinManager();
    return 0;
}
