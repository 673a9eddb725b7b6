// Shared by the standard-control tests: forms read from description text, file helpers
// and the GoogleTest main that initialises the application object first.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "Forms.h"
#include "gui_test.h"

namespace ctltest {

// A TForm read from a UTF-8 description ("object F: TForm ... end"); freed by the pointer.
std::unique_ptr<TForm> FormFromText(const std::string& utf8Description);

// The window's class name as the system reports it.
std::string ClassNameA(HWND wnd);
// A window's rectangle in its parent's client coordinates, and a control's stored bounds.
RECT RectInParent(HWND wnd);

// A temporary folder with 8-bit paths (ASCII names only), removed at the end.
class TempFolder {
public:
    TempFolder() : dir_(L"ctltest") {}
    bool Valid() const { return dir_.Valid(); }
    std::string File(const std::string& name) const { return guitest::ToAnsi(dir_.File(guitest::ToWide(name))); }

private:
    guitest::TempDir dir_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// Pumps this thread's messages until nothing is waiting (bounded).
void Flush();

}  // namespace ctltest

// Prints rectangles readably in failed comparisons.
bool operator==(const RECT& a, const RECT& b);
std::ostream& operator<<(std::ostream& out, const RECT& r);
