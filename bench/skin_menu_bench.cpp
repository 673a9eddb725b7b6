// Time to open a popup menu of 20 items, skinned and unskinned, side by side in one run:
// from the TrackPopupMenu call until the menu's loop first goes idle (the popup is shown
// and painted), then the menu is ended.  Skinned means the popup window wears a popup skin
// from the default skin and every item is owner-drawn from the skin's [MenuItem] part.
// Run under Wine from the build folder: skin_menu_bench [rounds].
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "Handles.h"
#include "Menus.h"
#include "SkinManagerLink.h"
#include "WinSkinData.h"
#include "WinSkinMenuItems.h"
#include "WinSkinPopMenu.h"
#include "bench_skin.h"

namespace {

constexpr int kItems = 20;

struct Bench {
    bool skinned = false;
    TSkinData* skin = nullptr;
    HHOOK hook = nullptr;
    std::vector<std::unique_ptr<TWinSkinPopMenu>> popups;
    LARGE_INTEGER start{}, idle{};
    bool idleSeen = false;
    int draws = 0;
    LONGLONG measureTicks = 0, drawTicks = 0;  // spent in the owner's item handlers
};

// Adds the time of its scope to a counter.
class Stopwatch {
public:
    explicit Stopwatch(LONGLONG& total) : total_(total) { QueryPerformanceCounter(&start_); }
    ~Stopwatch() {
        LARGE_INTEGER end;
        QueryPerformanceCounter(&end);
        total_ += end.QuadPart - start_.QuadPart;
    }

private:
    LONGLONG& total_;
    LARGE_INTEGER start_{};
};
Bench* current = nullptr;

LRESULT CALLBACK cbt(int code, WPARAM wParam, LPARAM lParam) {
    if (current && current->skinned && code == HCBT_CREATEWND) {
        char cls[16] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof cls);
        if (std::string(cls) == "#32768") {
            auto popup = std::make_unique<TWinSkinPopMenu>();
            popup->Attach(reinterpret_cast<HWND>(wParam), current->skin, nullptr);
            current->popups.push_back(std::move(popup));
        }
    } else if (current && code == HCBT_DESTROYWND) {
        auto& v = current->popups;
        v.erase(std::remove_if(v.begin(), v.end(),
                               [&](const auto& p) { return p->Window() == reinterpret_cast<HWND>(wParam); }),
                v.end());
    }
    return CallNextHookEx(current ? current->hook : nullptr, code, wParam, lParam);
}

LRESULT CALLBACK ownerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ENTERIDLE:
        if (current && wParam == MSGF_MENU && !current->idleSeen) {
            QueryPerformanceCounter(&current->idle);
            current->idleSeen = true;
            EndMenu();
        }
        return 0;
    case WM_MEASUREITEM: {
        Stopwatch watch(current->measureTicks);
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        HDC dc = GetWindowDC(wnd);
        SelectGuard font(dc, Screen->MenuFont().Handle());
        SkinMeasureRawItem(current->skin, dc, "Menu item text", false, mis->itemWidth, mis->itemHeight);
        ReleaseDC(wnd, dc);
        return TRUE;
    }
    case WM_DRAWITEM: {
        Stopwatch watch(current->drawTicks);
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        TMenuItem item(nullptr);
        item.SetCaption("Menu item text");
        TCanvas canvas;
        canvas.SetHandle(dis->hDC);
        canvas.Font().Assign(Screen->MenuFont());
        TMenuItemBackground background;
        if (TWinSkinPopMenu* popup = TWinSkinPopMenu::OfWindow(WindowFromDC(dis->hDC)))
            background = popup->ItemBackground();
        SkinDrawRawMenuItem(*current->skin, item, canvas, dis->rcItem, (dis->itemState & ODS_SELECTED) != 0,
                            background, nullptr);
        canvas.SetHandle(nullptr);
        ++current->draws;
        return TRUE;
    }
    default: return DefWindowProcA(wnd, msg, wParam, lParam);
    }
}

double openOnce(HWND owner, bool skinned) {
    UniqueMenu menu(CreatePopupMenu());
    for (UINT id = 1; id <= kItems; ++id)
        AppendMenuA(menu.get(), skinned ? MF_OWNERDRAW : MF_STRING, id,
                    skinned ? nullptr : "Menu item text");
    current->skinned = skinned;
    current->idleSeen = false;
    QueryPerformanceCounter(&current->start);
    TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, 100, 100, 0, owner, nullptr);
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    if (!current->idleSeen) return -1;
    return 1000.0 * static_cast<double>(current->idle.QuadPart - current->start.QuadPart) / static_cast<double>(f.QuadPart);
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    Application->Initialize();
    RegisterSkinClasses();
    SetSkinManagerFactory([] { return std::make_unique<TSkinManagerLink>(); });
    CreateSkinManager()->SetEnabled(true);

    // The default skin, as the programs' main forms store it.
    TSkinData skin(nullptr);
    if (!bench::ReadDefaultSkin(skin)) return 1;

    WNDCLASSA wc{};
    wc.lpfnWndProc = ownerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SkinMenuBenchOwner";
    RegisterClassA(&wc);
    UniqueWindow owner(CreateWindowExA(0, wc.lpszClassName, "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600,
                                       nullptr, nullptr, wc.hInstance, nullptr));
    Bench b;
    b.skin = &skin;
    current = &b;
    b.hook = SetWindowsHookExA(WH_CBT, cbt, nullptr, GetCurrentThreadId());

    openOnce(owner.get(), false);  // warm-up of both paths
    openOnce(owner.get(), true);
    std::vector<double> plain, skinned;
    for (int i = 0; i < rounds; ++i) {
        plain.push_back(openOnce(owner.get(), false));
        skinned.push_back(openOnce(owner.get(), true));
    }
    UnhookWindowsHookEx(b.hook);
    current = nullptr;
    const double p = median(plain), s = median(skinned);
    std::printf("popup menu of %d items, median of %d opens (call to first idle):\n", kItems, rounds);
    std::printf("  unskinned %.2f ms\n  skinned   %.2f ms (%.2fx)\n", p, s, p > 0 ? s / p : 0.0);
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    const double opens = rounds + 1.0;
    std::printf("  of which per skinned open: measuring %.2f ms, drawing %.2f ms (%d item paints in all)\n",
                1000.0 * static_cast<double>(b.measureTicks) / static_cast<double>(f.QuadPart) / opens,
                1000.0 * static_cast<double>(b.drawTicks) / static_cast<double>(f.QuadPart) / opens, b.draws);
    return 0;
}
