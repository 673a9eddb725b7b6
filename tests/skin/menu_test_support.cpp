#include "menu_test_support.h"

#include <map>
#include <string>

#include "SkinManagerLink.h"
#include "skin_data_support.h"

namespace menutests {

void FlatSkinTest::SetUp() {
    FreeSkinManager();
    SetSkinManagerFactory([] { return std::make_unique<TSkinManagerLink>(); });
    CreateSkinManager()->SetEnabled(true);
    skin = std::make_unique<TSkinData>(nullptr);
    ASSERT_TRUE(skindata::LoadInto(*skin, skintest::MakeFlatTestSkin()));
}

void FlatSkinTest::TearDown() {
    skin.reset();
    FreeSkinManager();
    SetSkinManagerFactory(nullptr);
}

void FlatSkinTest::LoadSkin(const skintest::FlatSkinOptions& options) {
    ASSERT_TRUE(skindata::LoadInto(*skin, skintest::MakeFlatTestSkin(options)));
}

COLORREF CellRef(const char* section, const char* key, int cell) {
    return skintest::ToColorRef(skintest::FlatCellColour(section, key, cell));
}

COLORREF ColourRef(TColor colour) { return ColorToRGB(colour); }

namespace {
std::map<UINT_PTR, ThreadTimer*>& timers() {
    static std::map<UINT_PTR, ThreadTimer*> m;
    return m;
}
}  // namespace

ThreadTimer::ThreadTimer(DWORD intervalMs, std::function<void()> tick) : tick_(std::move(tick)) {
    id_ = SetTimer(nullptr, 0, intervalMs, &ThreadTimer::proc);
    if (id_) timers()[id_] = this;
}

ThreadTimer::~ThreadTimer() {
    if (id_) {
        KillTimer(nullptr, id_);
        timers().erase(id_);
    }
}

void CALLBACK ThreadTimer::proc(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = timers().find(id);
    if (it == timers().end()) return;
    try {
        it->second->tick_();
    } catch (...) {
        ADD_FAILURE() << "timer callback threw";
    }
}

std::vector<HWND> ThreadMenuWindows() {
    std::vector<HWND> out;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND wnd, LPARAM p) -> BOOL {
            char cls[16] = {};
            GetClassNameA(wnd, cls, sizeof cls);
            if (std::string(cls) == "#32768" && IsWindowVisible(wnd))
                reinterpret_cast<std::vector<HWND>*>(p)->push_back(wnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&out));
    return out;
}

namespace {
PopupSkinHook* activeHook = nullptr;
}

PopupSkinHook::PopupSkinHook(TSkinData* skin) : skin_(skin) {
    activeHook = this;
    hook_ = SetWindowsHookExA(WH_CBT, &PopupSkinHook::proc, nullptr, GetCurrentThreadId());
}

PopupSkinHook::~PopupSkinHook() {
    if (hook_) UnhookWindowsHookEx(hook_);
    activeHook = nullptr;
}

TWinSkinPopMenu* PopupSkinHook::Find(HWND window) const {
    for (const auto& s : skins_)
        if (s->Window() == window) return s.get();
    return nullptr;
}

LRESULT CALLBACK PopupSkinHook::proc(int code, WPARAM wParam, LPARAM lParam) {
    PopupSkinHook* self = activeHook;
    if (self && code == HCBT_CREATEWND) {
        auto* cbt = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
        char cls[16] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof cls);
        if (std::string(cls) == "#32768" && !(cbt->lpcs->style & WS_CHILD)) {
            auto skin = std::make_unique<TWinSkinPopMenu>();
            skin->Attach(reinterpret_cast<HWND>(wParam), self->skin_, nullptr);
            self->skins_.push_back(std::move(skin));
            ++self->created_;
        }
    } else if (self && code == HCBT_DESTROYWND) {
        for (size_t i = 0; i < self->skins_.size(); ++i)
            if (self->skins_[i]->Window() == reinterpret_cast<HWND>(wParam)) {
                self->skins_.erase(self->skins_.begin() + static_cast<long>(i));
                break;
            }
    }
    return CallNextHookEx(self ? self->hook_ : nullptr, code, wParam, lParam);
}

}  // namespace menutests
