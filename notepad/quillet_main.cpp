// Program entry of quillet.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MessageBoxA(nullptr, "quillet", "quillet", MB_OK);
    return 0;
}
