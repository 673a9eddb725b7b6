// The skin manager: the window-creation hook, admission of top-level windows, the choice
// of skin component, the form-skin list, the deferred actions and the MDI-maximised
// switch.  The popup-skin bookkeeping is in SkinManagePopups.cpp.
#include "SkinManage.h"
#include "SkinManage_impl.h"

#include <algorithm>
#include <cstdlib>

#include "Forms.h"
#include "SkinPrimitives.h"
#include "Texts.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WndProcBoundary.h"

namespace {

DWORD& versionValue() {
    static DWORD value = GetVersion();
    return value;
}

std::string lowerCase(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// A form whose Tag is this is never skinned.  It is the number itself, not the skin
// component's DisableTag (which starts at the same 99): a changed DisableTag does not let
// such a form be skinned.
constexpr int kNeverSkinnedFormTag = 99;

bool isDialogClassName(const std::string& lower) { return lower == "tmessageform" || lower == "#32770"; }

void CALLBACK actionTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    GuardedDispatch(
        nullptr, WM_TIMER,
        [] {
            if (TSkinManage* manager = TSkinManage::Instance()) manager->TimerAction();
            return LRESULT{0};
        },
        [] { return LRESULT{0}; });
}

}  // namespace

DWORD SkinVersionValue() { return versionValue(); }
void SetSkinVersionValue(DWORD value) { versionValue() = value; }

// ---- creation ---------------------------------------------------------------------------

TSkinManage::TSkinManage() {
    // Freed at the very end of the program, after the forms; the manager holds no
    // class-library timer or window, so nothing it frees is gone by then.
    static bool exitHandlerSet = false;
    if (!exitHandlerSet) {
        exitHandlerSet = true;
        std::atexit(FreeSkinManager);
    }
}

TSkinManage::~TSkinManage() {
    FReadyState = 4;  // form skins destroyed by their owners from here on leave the list alone
    FEnabled = false;
    if (FActionTimer) KillTimer(nullptr, FActionTimer);
    FActionTimer = 0;
    if (!FFormSkins.empty()) UnskinAll();
    FFormSkins.clear();
    // Popup skins still attached give their windows back first, so no popup window keeps
    // running through a freed object.
    while (!FPopupSkins.empty()) {
        TWinSkinPopMenu* skin = FPopupSkins.back();
        FPopupSkins.pop_back();
        freePopupSkin(skin);
    }
    FSkinDataList.clear();
    if (FCBTHook) UnhookWindowsHookEx(FCBTHook);
    FCBTHook = nullptr;
}

void TSkinManage::InstallFactory() {
    SetSkinManagerFactory([] { return std::make_unique<TSkinManage>(); });
}

TSkinManage* TSkinManage::Instance() { return dynamic_cast<TSkinManage*>(SkinManager()); }

// ---- skin components --------------------------------------------------------------------

void TSkinManage::RegisterSkinData(TSkinData* skinData) {
    if (!skinData) return;
    if (std::find(FSkinDataList.begin(), FSkinDataList.end(), skinData) == FSkinDataList.end())
        FSkinDataList.push_back(skinData);
    if (!FMainSkinData && skinData->SkinFormtype == sfMainform) FMainSkinData = skinData;
}

void TSkinManage::UnregisterSkinData(TSkinData* skinData) {
    auto it = std::find(FSkinDataList.begin(), FSkinDataList.end(), skinData);
    if (it != FSkinDataList.end()) FSkinDataList.erase(it);
    if (FMainSkinData == skinData) {
        FMainSkinData = nullptr;
        for (TSkinData* d : FSkinDataList)
            if (d->SkinFormtype == sfMainform) { FMainSkinData = d; break; }
    }
    if (FCurrentSkinData == skinData) FCurrentSkinData = nullptr;
    // A component going away takes its skin from every window that still paints through
    // it: those windows get their own procedure and look back.
    for (size_t i = FFormSkins.size(); i-- > 0;) {
        if (i >= FFormSkins.size()) continue;
        TWinSkinForm* skin = FFormSkins[i];
        if (skin->FSkinData != skinData) continue;
        FFormSkins.erase(FFormSkins.begin() + static_cast<std::ptrdiff_t>(i));
        skin->Unskin();
        skin->FSkinData = nullptr;
        freeFormSkin(skin);
    }
    for (size_t i = FPopupSkins.size(); i-- > 0;) {
        if (i >= FPopupSkins.size()) continue;
        if (!PopupSkinUsesSkinData(FPopupSkins[i], skinData)) continue;
        TWinSkinPopMenu* skin = FPopupSkins[i];
        FPopupSkins.erase(FPopupSkins.begin() + static_cast<std::ptrdiff_t>(i));
        freePopupSkin(skin);
    }
}

// ---- the hook ---------------------------------------------------------------------------

void TSkinManage::InstallHook() {
    SetSkinVersionValue(GetVersion());
    // One hook per GUI thread: a second main component keeps the hook that exists, so
    // no window is admitted twice and no hook is left behind.
    if (FCBTHook) return;
    FCBTHook = SetWindowsHookExA(WH_CBT, &TSkinManage::SkinCBTHookProc, nullptr, GetCurrentThreadId());
}

LRESULT CALLBACK TSkinManage::SkinCBTHookProc(int code, WPARAM wParam, LPARAM lParam) {
    TSkinManage* manager = Instance();
    HHOOK hook = manager ? manager->FCBTHook : nullptr;
    if (manager && code >= 0) {
        GuardedDispatch(
            nullptr, 0,
            [&]() -> LRESULT {
                const HWND window = reinterpret_cast<HWND>(wParam);
                switch (code) {
                case HCBT_CREATEWND: {
                    const auto* cbt = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
                    if (cbt && cbt->lpcs) manager->onHookCreate(window, *cbt->lpcs);
                    break;
                }
                case HCBT_DESTROYWND:
                    manager->RemovePopupSkin(window);
                    break;
                case HCBT_ACTIVATE:
                    if (manager->FReadyState == 0) manager->FReadyState = 1;
                    manager->SkinWindow(window);
                    break;
                default:
                    break;
                }
                return 0;
            },
            [] { return LRESULT{0}; });
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

void TSkinManage::onHookCreate(HWND window, const CREATESTRUCTA& cs) {
    const std::string className = GetWindowClassName(window);
    if (className == "ScrollBar" && (cs.style & SBS_SIZEGRIP)) {
        if (TWinSkinForm* parent = FindFormSkin(cs.hwndParent)) parent->SkinWindow(window);
    }
    if (!(cs.style & WS_CHILD) && className == "#32768") SkinPopupWindow(window);
    if (cs.dwExStyle & WS_EX_MDICHILD) SkinWindow(window);
}

// ---- admission --------------------------------------------------------------------------

bool TSkinManage::SkinWindow(HWND window) {
    if (!FEnabled || !IsWindow(window)) return false;
    PurgeFormSkins();
    if (SendMessageA(window, WM_SKINQUERY, 0, 0) == 1 || FindFormSkin(window)) return false;
    TControl* control = FindScreenForm(window);
    if (!FSkinAll && IsPlainChildWindow(window)) return false;
    const std::string className = GetWindowClassName(window);
    if (!control && reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)) != GetModuleHandleA(nullptr) &&
        className != "#32770")
        return false;
    RECT r{};
    GetWindowRect(window, &r);
    const long long area = static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
    if (area == 0 && !(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_MDICHILD)) return false;
    if (control && control->Tag() == kNeverSkinnedFormTag) return false;
    if (className.find("TcxPopupEditPopupWindow") != std::string::npos || className == "TApplication") return false;
    if (!AllowSkin(window, className)) return false;
    TSkinData* skinData = ChooseSkinData(window);
    if (!skinData || skinData->NoSkin()) return false;

    auto* form = dynamic_cast<TCustomForm*>(control);
    auto* skin = new TWinSkinForm(form);
    skin->FHandle = window;
    FFormSkins.push_back(skin);
    if (form) skin->SkinForm(skinData, form);
    else skin->SkinWindowHandle(skinData);
    if (!skin->Subclassed()) {
        // The window refused a new procedure: it keeps its own look.
        RemoveFormSkin(window);
        freeFormSkin(skin);
        return false;
    }
    PostMessageA(window, WM_SKINAPPLY, 0, 1000);
    return true;
}

bool TSkinManage::IsPlainChildWindow(HWND window) {
    if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) return false;
    if (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_MDICHILD) return false;
    return lowerCase(GetWindowClassName(GetParent(window))) != "mdiclient";
}

TControl* TSkinManage::FindScreenForm(HWND window) {
    if (Screen) {
        for (int i = 0; i < Screen->FormCount(); ++i) {
            TCustomForm* form = Screen->Forms(i);
            if (form && form->HandleAllocated() && form->Handle() == window) return form;
        }
    }
    return ControlOfWindow(window);
}

bool TSkinManage::AllowSkin(HWND window, const std::string& className) {
    bool result = true;
    if (!FMainSkinData) return result;
    if (!(FMainSkinData->Options & SkinBit(xoPreview)) && lowerCase(className).find("preview") != std::string::npos)
        result = false;
    FMainSkinData->DoFormSkin(window, className, result);
    return result;
}

TSkinData* TSkinManage::ChooseSkinData(HWND window) {
    TSkinData* onlyThis = nullptr;
    for (TSkinData* d : FSkinDataList) {
        if (d->SkinFormtype != sfOnlyThisForm) continue;
        auto* owner = dynamic_cast<TWinControl*>(d->Owner());
        if (owner && owner->Handle() == window) onlyThis = d;
    }
    if (onlyThis) return onlyThis;
    if (isDialogClassName(lowerCase(GetWindowClassName(window)))) {
        TSkinData* dialog = nullptr;
        for (TSkinData* d : FSkinDataList)
            if (d->SkinFormtype == sfDialog) dialog = d;
        if (dialog) return dialog;
    }
    TSkinData* main = nullptr;
    for (TSkinData* d : FSkinDataList)
        if (d->SkinFormtype == sfMainform) main = d;
    if (main) return main;
    return FSkinDataList.empty() ? nullptr : FSkinDataList.front();
}

bool TSkinManage::SkinForm(TCustomForm* form) {
    if (!form || !form->Visible() || !form->HandleAllocated()) return false;
    if (GetWindowLongA(form->Handle(), GWL_STYLE) & WS_CHILD) return false;
    return SkinWindow(form->Handle());
}

// ---- form skins -------------------------------------------------------------------------

TWinSkinForm* TSkinManage::FindFormSkin(HWND window) const {
    for (TWinSkinForm* skin : FFormSkins)
        if (skin->FHandle == window) return skin;
    return nullptr;
}

void TSkinManage::RemoveFormSkin(HWND window) {
    if (FReadyState == 4) return;
    for (auto it = FFormSkins.begin(); it != FFormSkins.end(); ++it) {
        if ((*it)->FHandle == window) {
            FFormSkins.erase(it);
            return;
        }
    }
}

void TSkinManage::freeFormSkin(TWinSkinForm* skin) {
    // Entries are removed before their object is freed.  Freeing an owned form skin takes
    // it from its form too (the component leaves its owner).
    delete skin;
}

void TSkinManage::PurgeFormSkins() {
    if (FReadyState == 4) return;
    for (size_t i = FFormSkins.size(); i-- > 0;) {
        if (i >= FFormSkins.size()) continue;
        TWinSkinForm* skin = FFormSkins[i];
        if (skin->FSkinState != ssGone) continue;
        FFormSkins.erase(FFormSkins.begin() + static_cast<std::ptrdiff_t>(i));
        freeFormSkin(skin);
    }
}

void TSkinManage::UnskinAll() {
    FEnabled = false;
    while (!FFormSkins.empty()) {
        TWinSkinForm* skin = FFormSkins.back();
        FFormSkins.pop_back();
        skin->Detach();
        freeFormSkin(skin);
    }
}

void TSkinManage::RefreshFormSkins() {
    for (TWinSkinForm* skin : FFormSkins)
        if (skin->FSkinData == FCurrentSkinData) skin->FreeSysButtons();
}

void TSkinManage::SetMDIMaximized(bool on) {
    if (on == FMDIMaximized) return;
    FMDIMaximized = on;
    if (FMainSkinData && (FMainSkinData->Options & SkinBit(xoMDIChildBorder))) return;
    const std::vector<TWinSkinForm*> skins = FFormSkins;
    for (TWinSkinForm* skin : skins) {
        if (skin->FWindowKind != wkMDIChild) continue;
        if (on) {
            if (skin->FRegionSet) skin->ClearRegion();
            skin->SetCaptionStyle(true);
        } else if (skin->FWindowState == wsSkinMinimized) {
            skin->SetCaptionStyle(true);
        } else {
            skin->FWindowState = wsSkinNormal;
            skin->UpdateRegion();
            skin->SetCaptionStyle(false);
            if (!skin->FRegionSet) skin->FrameChanged();
        }
    }
}

// ---- deferred actions -------------------------------------------------------------------

void TSkinManage::Schedule(int action, int milliseconds) {
    FPendingAction = action;
    FActionInterval = milliseconds > 0 ? static_cast<unsigned>(milliseconds) : 1u;
    if (FReadyState != 0) {
        if (FActionTimer) KillTimer(nullptr, FActionTimer);
        FActionTimer = SetTimer(nullptr, 0, FActionInterval, actionTimerProc);
        return;
    }
    if (action == saSkin) FEnabled = true;
    else if (action == saUnskin) FEnabled = false;
}

void TSkinManage::TimerAction() {
    if (FActionTimer) KillTimer(nullptr, FActionTimer);
    FActionTimer = 0;
    TSkinData* d = FCurrentSkinData;
    if (!d) return;
    const int action = FPendingAction;
    if (d->SkinFormtype == sfOnlyThisForm) {
        if (action == saSkin) {
            FEnabled = true;
            FSkinAll = true;
            if (Screen) {
                for (int i = Screen->FormCount() - 1; i >= 0; --i) {
                    TCustomForm* form = Screen->Forms(i);
                    if (form == d->Owner()) { SkinForm(form); break; }
                }
            }
            FSkinAll = false;
        } else if (action == saUnskin) {
            FEnabled = false;
            PurgeFormSkins();
            for (size_t i = FFormSkins.size(); i-- > 0;) {
                TWinSkinForm* skin = FFormSkins[i];
                if (skin->FSkinData != d) continue;
                FFormSkins.erase(FFormSkins.begin() + static_cast<std::ptrdiff_t>(i));
                skin->Unskin();
                TWinSkinForm::RepaintWindow(skin->FHandle);
                freeFormSkin(skin);
                break;
            }
        } else if (action == saReapply) {
            PurgeFormSkins();
            for (TWinSkinForm* skin : FFormSkins) {
                if (skin->FSkinData != d) continue;
                skin->FreeSysButtons();
                skin->LoadBorders();
                skin->UpdateSkin();
                break;
            }
        }
    } else {
        if (action == saSkin) {
            FEnabled = true;
            FSkinAll = true;
            PurgeFormSkins();
            if (Screen)
                for (int i = Screen->FormCount() - 1; i >= 0; --i) SkinForm(Screen->Forms(i));
            FSkinAll = false;
        } else if (action == saUnskin) {
            FEnabled = false;
            PurgeFormSkins();
            while (!FFormSkins.empty()) {
                TWinSkinForm* skin = FFormSkins.front();
                FFormSkins.erase(FFormSkins.begin());
                skin->Unskin();
                TWinSkinForm::RepaintWindow(skin->FHandle);
                freeFormSkin(skin);
            }
        } else if (action == saReapply) {
            PurgeFormSkins();
            std::vector<TWinSkinForm*> mine;
            for (TWinSkinForm* skin : FFormSkins)
                if (skin->FSkinData == d) mine.push_back(skin);
            for (TWinSkinForm* skin : mine) {
                skin->FreeSysButtons();
                skin->LoadBorders();
            }
            for (TWinSkinForm* skin : mine) skin->UpdateSkin();
        }
    }
    // The handler may have freed the component (UnregisterSkinData clears the field).
    if (FCurrentSkinData == d) {
        d->DoSkinChanged();
        FCurrentSkinData = nullptr;
    }
}
