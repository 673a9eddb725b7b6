// Program entry of scrivet.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MessageBoxA(nullptr, "scrivet", "scrivet", MB_OK);
    return 0;
}
