// Program entry of quillet, the dictation notepad.
#include <windows.h>

#include "Fnotepad.h"
#include "WinSkinData.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Application->Initialize();
    RegisterSkinClasses();
    try {
        Application->CreateForm<TFnotepad>();
    } catch (const std::exception& e) {
        Application->ShowException(e);
        return 1;
    }
    const int code = Application->Run();
    // Freed before the program ends, the form disconnects from the recognizer and releases
    // the recognition context and its grammar.
    delete Application->MainForm();
    return code;
}
