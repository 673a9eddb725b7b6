// The skinned frame against the system's, side by side on the same 800 x 600 window:
//  - non-client paint: a synchronous frame repaint (RedrawWindow with RDW_FRAME and
//    RDW_UPDATENOW), median and fastest of N;
//  - ShowWindow to the first complete paint: from ShowWindow until the window's WM_PAINT
//    has run (the frame is painted before it);
//  - a popup menu of 20 items: from TrackPopupMenu until the menu loop first goes idle
//    (the menu is on screen and painted), ended with EndMenu.
// The skin is the program's default skin.
//
// usage (from the build folder, under Wine): skin_frame_bench [runs]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "Forms.h"
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

#include "bench_skin.h"
#include "bench_timing.h"

namespace {

using bench::Clock;
using bench::Fastest;
using bench::Median;
using bench::Ms;
using bench::Pump;

bool g_painted = false;
Clock::time_point g_menuIdle;
bool g_menuIdleSeen = false;

LRESULT CALLBACK BenchProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        FillRect(ps.hdc, &ps.rcPaint, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        EndPaint(window, &ps);
        g_painted = true;
        return 0;
    }
    case WM_ENTERIDLE:
        if (wParam == MSGF_MENU && !g_menuIdleSeen) {
            g_menuIdle = Clock::now();
            g_menuIdleSeen = true;
            EndMenu();
        }
        return 0;
    default: return DefWindowProcW(window, msg, wParam, lParam);
    }
}

HWND MakeWindow() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = BenchProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SkinFrameBench";
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        RegisterClassW(&wc);
        registered = true;
    }
    return CreateWindowExW(0, L"SkinFrameBench", L"bench", WS_OVERLAPPEDWINDOW, 40, 40, 800, 600, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

struct Figures {
    double ncMedian = 0, ncFastest = 0, showMedian = 0, showFastest = 0, menuMedian = 0, menuFastest = 0;
};

Figures Measure(bool skinned, TSkinManage* manager, int runs) {
    Figures f;
    std::vector<double> nc, show, menu;
    for (int i = 0; i < runs; ++i) {
        HWND window = MakeWindow();
        if (skinned) {
            manager->SkinWindow(window);
            TWinSkinForm* skin = manager->FindFormSkin(window);
            while (skin && skin->FSkinState != ssActive) {
                Pump();
                Sleep(0);
            }
        }
        Pump();
        g_painted = false;
        const auto shown = Clock::now();
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
        while (!g_painted) Pump();
        show.push_back(Ms(shown, Clock::now()));
        Pump();
        for (int k = 0; k < 10; ++k) {
            const auto start = Clock::now();
            RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE);
            nc.push_back(Ms(start, Clock::now()));
        }
        HMENU popup = CreatePopupMenu();
        for (int k = 0; k < 20; ++k) {
            wchar_t text[32];
            swprintf(text, 32, L"Item %d", k + 1);
            AppendMenuW(popup, MF_STRING, 100 + k, text);
        }
        SetForegroundWindow(window);
        g_menuIdleSeen = false;
        const auto opened = Clock::now();
        TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY, 100, 100, 0, window, nullptr);
        if (g_menuIdleSeen) menu.push_back(Ms(opened, g_menuIdle));
        DestroyMenu(popup);
        DestroyWindow(window);
        Pump();
        if (manager) manager->PurgeFormSkins();
    }
    f.ncMedian = Median(nc);
    f.ncFastest = Fastest(nc);
    f.showMedian = Median(show);
    f.showFastest = Fastest(show);
    f.menuMedian = Median(menu);
    f.menuFastest = Fastest(menu);
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    std::unique_ptr<TSkinData> data;
    TSkinManage* manager = bench::StartSkinnedApplication(data);
    if (!manager) return 1;

    const Figures plain = Measure(false, nullptr, runs);
    const Figures skinned = Measure(true, manager, runs);
    std::printf("800 x 600 window, %d runs each (ms)        unskinned (median/fastest)   skinned (median/fastest)   ratio\n",
                runs);
    std::printf("non-client paint                          %8.3f / %8.3f          %8.3f / %8.3f      %.2f\n",
                plain.ncMedian, plain.ncFastest, skinned.ncMedian, skinned.ncFastest,
                plain.ncMedian > 0 ? skinned.ncMedian / plain.ncMedian : 0.0);
    std::printf("ShowWindow to first complete paint        %8.3f / %8.3f          %8.3f / %8.3f      %.2f\n",
                plain.showMedian, plain.showFastest, skinned.showMedian, skinned.showFastest,
                plain.showMedian > 0 ? skinned.showMedian / plain.showMedian : 0.0);
    std::printf("popup menu of 20 items, open to idle      %8.3f / %8.3f          %8.3f / %8.3f      %.2f\n",
                plain.menuMedian, plain.menuFastest, skinned.menuMedian, skinned.menuFastest,
                plain.menuMedian > 0 ? skinned.menuMedian / plain.menuMedian : 0.0);
    data.reset();
    FreeSkinManager();
    return 0;
}
