#include "parlet_test_support.h"

#include "WinSkinData.h"
#include "notepad_test_support.h"

using notepadtest::Standin;

namespace parlettest {

void InputForm::SetUp() {
    Application->Initialize();
    RegisterSkinClasses();
    ASSERT_TRUE(Standin::Get().Loaded()) << "stand-in recognizer DLL not found";
    Standin::Get().Reset();
    // Read when the recognition context is made: the engine dialogs close themselves.
    SetEnvironmentVariableA("SPEECH_STANDIN_UI_AUTOCLOSE", "100");
    notepadtest::CreateMarker();
    form = Application->CreateForm<TFInput>();
    form->Show();
    guitest::PumpMessages();
}

void InputForm::TearDown() {
    delete form;
    form = nullptr;
    Application->SetMainForm(nullptr);
    Standin::Get().Reset();
    guitest::PumpMessages();
}

void InputForm::Dictate(const char* utf8Script) {
    ASSERT_GE(Standin::Get().Play(utf8Script), 1);
    ASSERT_TRUE(guitest::PumpUntil([] { return Standin::Get().Pending() == 0; }));
    guitest::PumpMessages();
}

namespace {
thread_local BoxProbe* activeProbe = nullptr;
}

BoxProbe::BoxProbe(TFInput* form) : form_(form) {
    activeProbe = this;
    timer_ = SetTimer(nullptr, 0, 10, onTimer);
}

BoxProbe::~BoxProbe() {
    if (timer_) KillTimer(nullptr, timer_);
    activeProbe = nullptr;
}

void CALLBACK BoxProbe::onTimer(HWND, UINT, UINT_PTR, DWORD) {
    try {
        if (activeProbe) activeProbe->step();
    } catch (...) {
        // Out of memory reading a box: the next tick looks again.
    }
}

void BoxProbe::step() {
    HWND box = guitest::FindThreadMessageBox(GetCurrentThreadId());
    if (!box) return;
    for (HWND done : answered_)
        if (done == box) return;
    if (boxes_.empty()) {
        if (form_) caption_ = guitest::WindowTextA(form_->Handle());
        resumed_ = Standin::Get().Log().find("Resume") != std::string::npos;
    }
    boxes_.push_back(guitest::ReadMessageBox(box));
    answered_.push_back(box);
    guitest::PressButton(box, IDOK);
}

bool BoxProbe::PumpUntilAnswered(size_t count) {
    return guitest::PumpUntil([&] {
        return boxes_.size() >= count && !guitest::FindThreadMessageBox(GetCurrentThreadId());
    });
}

}  // namespace parlettest
