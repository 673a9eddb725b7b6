// Program entry of scrivet, the word-processor dictation program.
#include <windows.h>

#include "FWord.h"
#include "WinSkinData.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Application->Initialize();
    RegisterSkinClasses();
    try {
        Application->CreateForm<TFWord>();
    } catch (const std::exception& e) {
        Application->ShowException(e);
        return 1;
    }
    return Application->Run();
}
