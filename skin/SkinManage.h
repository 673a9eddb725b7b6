// The process's one skin manager: the window-creation hook of the GUI thread, the
// admission of top-level windows (one form skin each) and popup-menu windows (one popup
// skin each), the choice of skin component for a window, the deferred actions that switch
// skinning on or off or re-apply a changed skin, and the few values the form skins share
// (menu kind of the popup about to open, MDI-maximised flag, MDI client and parent).
// Painting and subclassing are the form skin's (WinSkinForm.h) and the popup skin's
// (WinSkinPopMenu.h) business.
//
// Types: TSkinManage; the platform version value.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "SkinManagerLink.h"

class TControl;
class TCustomForm;
class TSkinData;
class TObject;
class TBitmap;
class TWinSkinForm;
class TWinSkinPopMenu;

// ---- platform version -----------------------------------------------------------------
// The GetVersion() value the engine decides by: taken by InstallHook, settable by tests so
// that the NT 4 and Windows 9x branches run here too.  Scripts make the Wine prefix report
// Windows 10 and the programs carry a manifest declaring Windows 10 support, so the value
// reads 10.0 on both platforms (without the manifest current Windows reports 6.2).
DWORD SkinVersionValue();
void SetSkinVersionValue(DWORD value);
inline bool SkinVersionWin9x() { return (SkinVersionValue() & 0x80000000u) != 0; }
inline int SkinVersionMajor() { return static_cast<int>(SkinVersionValue() & 0xFF); }
inline int SkinVersionMinor() { return static_cast<int>((SkinVersionValue() >> 8) & 0xFF); }
// NT family before Windows 2000 (NT 4 and older).
inline bool SkinVersionOldNT() { return !SkinVersionWin9x() && SkinVersionMajor() < 5; }

// Menu kinds of the popup about to open (FMenuKind).
enum TSkinMenuKind : int { mkPopup = 0, mkMenuBar = 1, mkSystemMenu = 2 };

class TSkinManage : public TSkinManagerLink {
public:
    TSkinManage();
    ~TSkinManage() override;
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;

    // Makes TSkinData's CreateSkinManager build a TSkinManage.  Done once before main.
    static void InstallFactory();
    // The process's manager when it is a TSkinManage, else nullptr.
    static TSkinManage* Instance();

    // ---- TSkinManagerLink ----
    void RegisterSkinData(TSkinData* skinData) override;
    void UnregisterSkinData(TSkinData* skinData) override;
    // Installs the WH_CBT hook of the calling thread once; a second call keeps the first
    // hook (one hook per GUI thread).
    void InstallHook() override;
    void Schedule(int action, int milliseconds) override;
    bool SkinWindow(HWND window) override;
    void RefreshFormSkins() override;

    // ---- admission ----
    bool SkinForm(TCustomForm* form);
    TSkinData* ChooseSkinData(HWND window);
    bool AllowSkin(HWND window, const std::string& className);
    static bool IsPlainChildWindow(HWND window);
    static TControl* FindScreenForm(HWND window);

    // ---- form skins ----
    TWinSkinForm* FindFormSkin(HWND window) const;
    // A form skin that is being freed by its owner leaves the list (not freed here).
    void RemoveFormSkin(HWND window);
    // Form skins whose window is gone (state 6) leave the list and are freed when the
    // manager owns them.
    void PurgeFormSkins();
    void UnskinAll();
    const std::vector<TWinSkinForm*>& FormSkins() const { return FFormSkins; }

    // ---- popup skins ----
    // The popup skin calls of TWinSkinPopMenu used here: its constructor, Attach(window,
    // skinData, menu), Detach(), MenuHandle()/SetMenuHandle(menu) and BackgroundBitmap().
    bool SkinPopupWindow(HWND window);
    bool RemovePopupSkin(HWND window);
    bool IsPopupSkinned(HWND window) const;
    // The newest popup skin without a menu handle gets `menu`.
    void SetPopupMenuHandle(HMENU menu);
    // Background bitmap of the popup skin showing `menu`, or nullptr.
    TBitmap* PopupBitmapOfMenu(HMENU menu) const;
    int PopupSkinCount() const { return static_cast<int>(FPopupSkins.size()); }

    void SetMDIMaximized(bool on);

    // The deferred action, run by FActionTimer.
    void TimerAction();

    // The hook procedure (public for the tests that drive it directly).
    static LRESULT CALLBACK SkinCBTHookProc(int code, WPARAM wParam, LPARAM lParam);
    HHOOK HookHandle() const { return FCBTHook; }

    // ---- shared values (fields keep their documented names) ----
    // The deferred-action timer: a thread timer (no window, no class-library timer, so the
    // manager can be freed at the very end of the program).  0 while off.
    UINT_PTR FActionTimer = 0;
    unsigned FActionInterval = 100;
    HHOOK FCBTHook = nullptr;
    std::vector<TWinSkinForm*> FFormSkins;       // owned only when the form skin has no owner
    std::vector<TWinSkinPopMenu*> FPopupSkins;   // owned
    std::vector<TSkinData*> FSkinDataList;       // not owned
    bool FSkinAll = false;
    int FMenuKind = mkPopup;
    bool FMDIMaximized = false;
    HWND FMDIClientWnd = nullptr;
    TCustomForm* FMDIParentForm = nullptr;
    int FPendingAction = 0;
    TSkinData* FMainSkinData = nullptr;

private:
    void freeFormSkin(TWinSkinForm* skin);
    void freePopupSkin(TWinSkinPopMenu* skin);
    void onHookCreate(HWND window, const CREATESTRUCTA& cs);
};
