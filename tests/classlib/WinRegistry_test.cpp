// The registry object against the real registry of the prefix (a key of its own below
// HKEY_CURRENT_USER per test program), and with refusing system calls put in its place.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "WinRegistry.h"

namespace {

// A fresh key per process, removed with everything below it at the end.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        base = "Software\\classlib-registry-tests\\" + std::to_string(GetCurrentProcessId());
        RegDeleteTreeA(HKEY_CURRENT_USER, base.c_str());
    }
    void TearDown() override {
        TRegistryCalls::Restore();
        RegDeleteTreeA(HKEY_CURRENT_USER, base.c_str());
    }
    static bool KeyExists(const std::string& path) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }
    // The value as stored: its type and its bytes without the terminating NUL.
    static bool ReadValue(const std::string& path, const std::string& name, DWORD& type, std::string& data) {
        char buffer[1024] = {};
        DWORD size = sizeof buffer;
        if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, buffer, &size) !=
            ERROR_SUCCESS)
            return false;
        data.assign(buffer, size > 0 ? size - 1 : 0);
        return true;
    }
    std::string base;
};

LSTATUS WINAPI refuseCreate(HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM, const LPSECURITY_ATTRIBUTES, PHKEY, LPDWORD) {
    return ERROR_ACCESS_DENIED;
}
LSTATUS WINAPI refuseOpen(HKEY, LPCSTR, DWORD, REGSAM, PHKEY) { return ERROR_ACCESS_DENIED; }
LSTATUS WINAPI refuseSet(HKEY, LPCSTR, DWORD, DWORD, const BYTE*, DWORD) { return ERROR_ACCESS_DENIED; }

// The message of the registry error the action raises; "(none)" when it raises nothing.
std::string registryError(const std::function<void()>& action) {
    try {
        action();
    } catch (const ERegistryException& e) {
        return e.what();
    }
    return "(none)";
}

}  // namespace

TEST_F(RegistryTest, CreateKey_MakesEveryLevelAndLeavesNoKeyOpen) {
    TRegistry reg;
    EXPECT_EQ(HKEY_CURRENT_USER, reg.RootKey());
    EXPECT_TRUE(reg.CreateKey(base + "\\a\\b"));
    EXPECT_TRUE(KeyExists(base + "\\a\\b"));
    EXPECT_EQ(nullptr, reg.CurrentKey());
    EXPECT_EQ("", reg.CurrentPath());
    // Creating a key that exists is no error.
    EXPECT_TRUE(reg.CreateKey(base + "\\a\\b"));
}

TEST_F(RegistryTest, OpenKey_MissingKeyOnlyWithCreate) {
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey(base + "\\missing", false));
    EXPECT_EQ(nullptr, reg.CurrentKey());
    EXPECT_FALSE(KeyExists(base + "\\missing"));
    EXPECT_TRUE(reg.OpenKey(base + "\\made", true));
    EXPECT_NE(nullptr, reg.CurrentKey());
    EXPECT_EQ(base + "\\made", reg.CurrentPath());
    EXPECT_TRUE(KeyExists(base + "\\made"));
    reg.CloseKey();
    EXPECT_EQ(nullptr, reg.CurrentKey());
    EXPECT_EQ("", reg.CurrentPath());
    EXPECT_TRUE(reg.OpenKey(base + "\\made", false));
}

TEST_F(RegistryTest, KeyNames_RelativeToTheOpenKeyUnlessTheyStartWithASeparator) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(base, true));
    EXPECT_TRUE(reg.CreateKey("child"));
    EXPECT_TRUE(KeyExists(base + "\\child"));
    EXPECT_TRUE(reg.CreateKey("\\" + base + "\\top"));
    EXPECT_TRUE(KeyExists(base + "\\top"));
    EXPECT_TRUE(reg.OpenKey("child", false));
    EXPECT_EQ(base + "\\child", reg.CurrentPath());
    EXPECT_TRUE(reg.OpenKey("\\" + base + "\\top", false));
    EXPECT_EQ(base + "\\top", reg.CurrentPath());
}

TEST_F(RegistryTest, WriteString_StoresTextValuesAsWritten) {
    struct Row {
        const char* name;
        std::string value;
    };
    const Row rows[] = {
        {"path", "C:\\Program Files\\x\\parlet.exe"},
        {"quoted", "\"C:\\Program Files\\x\\parlet.exe\""},
        {"empty", ""},
        {"gbk", "\xD6\xD0\xCE\xC4"},
        {"", "default value"},
    };
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(base + "\\values", true));
    for (const Row& row : rows) {
        reg.WriteString(row.name, row.value);
        DWORD type = 0;
        std::string data;
        ASSERT_TRUE(ReadValue(base + "\\values", row.name, type, data)) << "value '" << row.name << "'";
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), type) << "value '" << row.name << "'";
        EXPECT_EQ(row.value, data) << "value '" << row.name << "'";
    }
    // Writing again replaces the value, and an empty value stays a value.
    reg.WriteString("path", "");
    DWORD type = 0;
    std::string data = "x";
    ASSERT_TRUE(ReadValue(base + "\\values", "path", type, data));
    EXPECT_EQ("", data);
}

TEST_F(RegistryTest, SetRootKey_ClosesTheOpenKey) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(base, true));
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(HKEY_LOCAL_MACHINE, reg.RootKey());
    EXPECT_EQ(nullptr, reg.CurrentKey());
    EXPECT_EQ("", reg.CurrentPath());
}

TEST_F(RegistryTest, Refusals_RaiseTheLibrarysTextsOrAnswerFalse) {
    struct Row {
        const char* what;
        std::function<void(TRegistryCalls&)> refuse;
        std::function<void(TRegistry&)> action;
        const char* error;  // the raised text, or "(none)"
    };
    const std::string key = "SOFTWARE\\glassmoth";
    const Row rows[] = {
        {"create refused", [](TRegistryCalls& c) { c.CreateKeyEx = refuseCreate; },
         [&](TRegistry& r) { r.CreateKey(key); }, "Failed to create key SOFTWARE\\glassmoth"},
        {"open with create refused", [](TRegistryCalls& c) { c.CreateKeyEx = refuseCreate; },
         [&](TRegistry& r) { EXPECT_FALSE(r.OpenKey(key, true)); }, "(none)"},
        {"open refused", [](TRegistryCalls& c) { c.OpenKeyEx = refuseOpen; },
         [&](TRegistry& r) { EXPECT_FALSE(r.OpenKey(key, false)); }, "(none)"},
        {"write with no key open", [](TRegistryCalls&) {}, [](TRegistry& r) { r.WriteString("sayloom", "x"); },
         "Failed to set data for 'sayloom'"},
        {"write refused", [](TRegistryCalls& c) { c.SetValueEx = refuseSet; },
         [&](TRegistry& r) {
             TRegistryCalls refused = TRegistryCalls::Current();
             TRegistryCalls::Restore();
             ASSERT_TRUE(r.OpenKey(base, true));
             TRegistryCalls::Current() = refused;
             r.WriteString("sayloom", "x");
         },
         "Failed to set data for 'sayloom'"},
    };
    for (const Row& row : rows) {
        TRegistryCalls::Restore();
        row.refuse(TRegistryCalls::Current());
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        EXPECT_EQ(row.error, registryError([&] { row.action(reg); })) << row.what;
    }
    TRegistryCalls::Restore();
    EXPECT_FALSE(KeyExists(key)) << "a refused call made the key";
}

TEST_F(RegistryTest, RefusedOpen_KeepsThePreviousKeyOpen) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(base, true));
    TRegistryCalls::Current().CreateKeyEx = refuseCreate;
    EXPECT_FALSE(reg.OpenKey("other", true));
    EXPECT_EQ(base, reg.CurrentPath());
    TRegistryCalls::Restore();
    reg.WriteString("still", "open");
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(ReadValue(base, "still", type, data));
    EXPECT_EQ("open", data);
}
