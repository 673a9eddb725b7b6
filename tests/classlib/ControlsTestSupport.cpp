#include "ControlsTestSupport.h"

#include <gtest/gtest.h>

#include <ostream>

namespace ctltest {

std::unique_ptr<TForm> FormFromText(const std::string& utf8Description) {
    auto form = std::make_unique<TForm>(Application);
    form->InitFromText(utf8Description);
    return form;
}

std::string ClassNameA(HWND wnd) {
    char name[256] = {};
    GetClassNameA(wnd, name, sizeof name);
    return name;
}

RECT RectInParent(HWND wnd) { return guitest::RectInParent(wnd); }

std::string ReadBytes(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string data;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) data.append(buffer, got);
    CloseHandle(h);
    return data;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h) << path;
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

void Flush() {
    for (int i = 0; i < 50 && guitest::PumpMessages(); ++i) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) break;
    }
}

}  // namespace ctltest

bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

std::ostream& operator<<(std::ostream& out, const RECT& r) {
    return out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ") " << (r.right - r.left)
               << "x" << (r.bottom - r.top);
}

int main(int argc, char** argv) {
    // A test that crashes must end at once with its exit code, never wait on a dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    ::testing::InitGoogleTest(&argc, argv);
    Application->Initialize();
    return RUN_ALL_TESTS();
}
