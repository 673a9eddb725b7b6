// Program entry of parlet, the focused-window dictation program.
#include <windows.h>

#include "FInput.h"
#include "WinSkinData.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Application->Initialize();
    RegisterSkinClasses();
    try {
        Application->CreateForm<TFInput>();
    } catch (const std::exception& e) {
        Application->ShowException(e);
        return 1;
    }
    return Application->Run();
}
