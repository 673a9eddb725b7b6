// Program entry of parlet.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MessageBoxA(nullptr, "parlet", "parlet", MB_OK);
    return 0;
}
