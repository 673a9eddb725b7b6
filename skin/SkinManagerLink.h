// What the skin component needs of the process's one skin manager, and the process-wide
// reference to it.  TSkinData registers itself, installs the window-creation hook and asks
// for deferred actions through this interface only; the manager (window-creation hook,
// form and popup skins, the deferred-action timer) implements it and installs its own
// factory.  Until it does, the default link does nothing but keep the shared state, so the
// component loads, parses and runs without any window being skinned.
//
// Types: TSkinAction, TSkinManagerLink, TSkinManagerFactory.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>

class TSkinData;

// Deferred actions, run by the manager's timer after the delay given to Schedule.
enum TSkinAction : int {
    saSkin = 1,     // switch skinning on and skin every existing form
    saUnskin = 2,   // switch it off and take the skins away
    saReapply = 3,  // re-apply a changed skin to the form skins of the current component
};

class TSkinManagerLink {
public:
    virtual ~TSkinManagerLink() = default;

    // A component was loaded (or applied a skin file before any load): list it.  The first
    // registered sfMainform component becomes the manager's main skin data.
    virtual void RegisterSkinData(TSkinData* skinData) {}
    // A component is going away: forget it (nothing when it is not listed).
    virtual void UnregisterSkinData(TSkinData* skinData) {}
    // The main component asks for the window-creation hook of the GUI thread.
    virtual void InstallHook() {}
    // Runs `action` for CurrentSkinData() after `milliseconds`.  While ReadyState() is 0
    // the manager only switches Enabled() on (saSkin) or off (saUnskin).
    virtual void Schedule(int action, int milliseconds) {}
    // Admits one top-level window; true when a form skin was made for it.
    virtual bool SkinWindow(HWND window) { return false; }
    // A new skin file was loaded for CurrentSkinData(): drop the caption-button objects of
    // its form skins (they are rebuilt when saReapply runs).
    virtual void RefreshFormSkins() {}

    // Shared state the component reads and writes.
    bool Enabled() const { return FEnabled; }  // new windows are admitted
    void SetEnabled(bool value) { FEnabled = value; }
    // 0 before any window was activated, 1 running, more after non-main components loaded,
    // 4 while the manager is destroyed.
    int ReadyState() const { return FReadyState; }
    void SetReadyState(int value) { FReadyState = value; }
    // The component the pending action is for.
    TSkinData* CurrentSkinData() const { return FCurrentSkinData; }
    void SetCurrentSkinData(TSkinData* value) { FCurrentSkinData = value; }

protected:
    bool FEnabled = false;
    int FReadyState = 0;
    TSkinData* FCurrentSkinData = nullptr;
};

using TSkinManagerFactory = std::function<std::unique_ptr<TSkinManagerLink>()>;

// Replaces the factory that CreateSkinManager uses (an empty one restores the default,
// which makes a do-nothing TSkinManagerLink).  The manager's module installs its own.
void SetSkinManagerFactory(TSkinManagerFactory factory);

// The process-wide manager: nullptr until the first CreateSkinManager.
TSkinManagerLink* SkinManager();
// Creates the manager through the factory when there is none; returns it.
TSkinManagerLink* CreateSkinManager();
// Frees the manager (at the end of the program, after the forms are gone); SkinManager()
// is nullptr again afterwards.
void FreeSkinManager();
