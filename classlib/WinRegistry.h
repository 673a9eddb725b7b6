// The registry object: a root key, one open current key, key creation, and string values
// written to the current key.  Failures the caller cannot go on from (a key that cannot
// be created, a value that cannot be written) raise ERegistryException; opening a key
// answers false instead.  Reading values and deleting keys are left out: no program here
// does either.
//
// Types: ERegistryException, TRegistryCalls, TRegistry.
#pragma once
#include <windows.h>

#include <string>

#include "Classes.h"

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

// The system calls every registry object makes.  Tests replace them to see how callers
// take a registry that refuses (the machine's keys are writable for everyone under Wine);
// Restore puts the system's own back.
struct TRegistryCalls {
    decltype(&RegCreateKeyExA) CreateKeyEx = RegCreateKeyExA;
    decltype(&RegOpenKeyExA) OpenKeyEx = RegOpenKeyExA;
    decltype(&RegSetValueExA) SetValueEx = RegSetValueExA;

    static TRegistryCalls& Current();
    static void Restore() { Current() = TRegistryCalls(); }
};

class TRegistry {
public:
    // Root HKEY_CURRENT_USER, full access, no key open.
    TRegistry();
    explicit TRegistry(REGSAM access);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return rootKey_; }
    // Closes the current key first.
    void SetRootKey(HKEY key);
    // The open key, or nullptr.
    HKEY CurrentKey() const { return currentKey_; }
    // Path of the open key below the root, without a leading separator.
    const std::string& CurrentPath() const { return currentPath_; }

    // Key names that start with '\' are below the root; others are below the open key
    // (below the root when none is open).

    // Creates the key (and the keys above it) and closes it again; the current key stays.
    // Raises ERegistryException "Failed to create key <key>" when the system refuses.
    bool CreateKey(const std::string& key);
    // Opens the key as the current key, creating it when canCreate; false when the
    // system refuses (the previous current key then stays open).
    bool OpenKey(const std::string& key, bool canCreate);
    // Writes a REG_SZ value to the current key.  Raises ERegistryException
    // "Failed to set data for '<name>'" when there is no current key or the system
    // refuses.
    void WriteString(const std::string& name, const std::string& value);
    // Closes the current key; nothing when none is open.
    void CloseKey();

private:
    // The key the name is relative to, and the name without a leading separator.
    HKEY baseKey(const std::string& key, std::string& relative) const;
    std::string fullPath(const std::string& key) const;

    HKEY rootKey_ = HKEY_CURRENT_USER;  // predefined: never closed
    HKEY currentKey_ = nullptr;         // owned: closed by CloseKey
    std::string currentPath_;
    REGSAM access_ = KEY_ALL_ACCESS;
};
