#include "WinRegistry.h"

TRegistryCalls& TRegistryCalls::Current() {
    static TRegistryCalls calls;
    return calls;
}

TRegistry::TRegistry() = default;

TRegistry::TRegistry(REGSAM access) : access_(access) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY key) {
    if (key == rootKey_) return;
    CloseKey();
    rootKey_ = key;
}

HKEY TRegistry::baseKey(const std::string& key, std::string& relative) const {
    const bool absolute = !key.empty() && key[0] == '\\';
    relative = absolute ? key.substr(1) : key;
    return absolute || !currentKey_ ? rootKey_ : currentKey_;
}

std::string TRegistry::fullPath(const std::string& key) const {
    if (!key.empty() && key[0] == '\\') return key.substr(1);
    if (currentPath_.empty() || !currentKey_) return key;
    return key.empty() ? currentPath_ : currentPath_ + "\\" + key;
}

bool TRegistry::CreateKey(const std::string& key) {
    std::string relative;
    HKEY base = baseKey(key, relative);
    HKEY created = nullptr;
    DWORD disposition = 0;
    LSTATUS status = TRegistryCalls::Current().CreateKeyEx(base, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                           access_, nullptr, &created, &disposition);
    if (status != ERROR_SUCCESS) throw ERegistryException("Failed to create key " + key);
    RegCloseKey(created);
    return true;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    std::string relative;
    HKEY base = baseKey(key, relative);
    HKEY opened = nullptr;
    LSTATUS status;
    if (canCreate) {
        DWORD disposition = 0;
        status = TRegistryCalls::Current().CreateKeyEx(base, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access_,
                                                       nullptr, &opened, &disposition);
    } else {
        status = TRegistryCalls::Current().OpenKeyEx(base, relative.c_str(), 0, access_, &opened);
    }
    if (status != ERROR_SUCCESS) return false;
    // The path is worked out before the old key closes: a relative name depends on it.
    std::string path = fullPath(key);
    CloseKey();
    currentKey_ = opened;
    currentPath_ = std::move(path);
    return true;
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    LSTATUS status = ERROR_INVALID_HANDLE;
    if (currentKey_)
        status = TRegistryCalls::Current().SetValueEx(currentKey_, name.c_str(), 0, REG_SZ,
                                                      reinterpret_cast<const BYTE*>(value.c_str()),
                                                      static_cast<DWORD>(value.size() + 1));
    if (status != ERROR_SUCCESS) throw ERegistryException("Failed to set data for '" + name + "'");
}

void TRegistry::CloseKey() {
    if (!currentKey_) return;
    RegCloseKey(currentKey_);
    currentKey_ = nullptr;
    currentPath_.clear();
}
