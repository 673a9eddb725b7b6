// Painting a form that holds one of every control kind, skinned against unskinned, side
// by side in one run: two identical 620 x 460 class-library forms next to each other, one
// left as the system draws it and one skinned through the skin manager (whose dispatch
// attaches a control skin to every control that has one).  Each round repaints both,
// alternately, synchronously (RedrawWindow with RDW_INVALIDATE | RDW_ERASE | RDW_FRAME |
// RDW_ALLCHILDREN | RDW_UPDATENOW); the figures are the median and fastest of the rounds.
// The skin is the program's default skin.
//
// usage (from the build folder, under Wine): skin_controls_bench [rounds]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "RichEdit.h"
#include "SkinManage.h"
#include "StdCtrls.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClass.h"

#include "bench_skin.h"
#include "bench_timing.h"

namespace {

using bench::Clock;
using bench::Fastest;
using bench::Median;
using bench::Ms;
using bench::Pump;

template <class C>
C* Place(TWinControl* parent, int left, int top, int width, int height) {
    auto* c = new C(parent);
    c->SetParent(parent);
    c->SetBounds(left, top, width, height);
    return c;
}

// One of every control kind the programs and their dialogs reach, and a few more.
TForm* MakeForm(int left) {
    auto* form = new TForm(Application);
    form->SetBounds(left, 20, 620, 460);
    form->SetCaption("controls");

    Place<TButton>(form, 10, 10, 90, 26)->SetCaption("Button");
    Place<TBitBtn>(form, 110, 10, 90, 26)->SetCaption("BitBtn");
    Place<TSpeedButton>(form, 210, 10, 26, 26);
    auto* check = Place<TCheckBox>(form, 250, 10, 100, 20);
    check->SetCaption("Check");
    check->SetChecked(true);
    Place<TRadioButton>(form, 360, 10, 100, 20)->SetCaption("Radio");

    auto* group = Place<TGroupBox>(form, 10, 50, 200, 100);
    group->SetCaption("Group");
    Place<TRadioButton>(group, 10, 20, 120, 20)->SetCaption("One");
    Place<TCheckBox>(group, 10, 45, 120, 20)->SetCaption("Two");
    auto* panel = Place<TPanel>(form, 220, 50, 180, 100);
    panel->SetCaption("Panel");
    Place<TEdit>(panel, 10, 10, 150, 22)->SetText("edit");

    auto* list = Place<TListBox>(form, 10, 160, 200, 120);
    for (int i = 0; i < 100; ++i) list->Items().Add("line " + std::to_string(i + 1));
    auto* combo = Place<TComboBox>(form, 220, 160, 180, 24);
    combo->Items().Add("first");
    combo->Items().Add("second");
    combo->SetItemIndex(0);
    auto* memo = Place<TMemo>(form, 220, 190, 180, 90);
    for (int i = 0; i < 30; ++i) memo->Lines().Add("memo line " + std::to_string(i + 1));
    Place<TScrollBar>(form, 410, 50, 190, 18);

    auto* progress = Place<TProgressBar>(form, 410, 80, 190, 18);
    progress->SetSmooth(true);
    progress->SetPosition(60);
    auto* track = Place<TTrackBar>(form, 410, 105, 190, 36);
    track->SetPosition(4);
    auto* edit = Place<TEdit>(form, 410, 150, 60, 22);
    edit->SetText("5");
    auto* updown = Place<TUpDown>(form, 470, 150, 17, 22);
    updown->SetPosition(5);
    Place<TDateTimePicker>(form, 410, 180, 190, 24);
    auto* rich = Place<TRichEdit>(form, 410, 210, 190, 70);
    rich->SetText("rich edit");

    auto* status = Place<TStatusBar>(form, 0, 0, 620, 22);
    const char* texts[] = {"语音输入：已开始", "", "12:00"};
    for (const char* text : texts) {
        TStatusPanel* p = status->Panels().Add();
        p->SetText(text);
        p->SetWidth(150);
    }
    return form;
}

int CountControls(TWinControl& parent) {
    int n = 0;
    for (int i = 0; i < parent.ControlCount(); ++i) {
        ++n;
        if (auto* child = dynamic_cast<TWinControl*>(parent.Controls(i))) n += CountControls(*child);
    }
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    std::unique_ptr<TSkinData> data;
    TSkinManage* manager = bench::StartSkinnedApplication(data);
    if (!manager) return 1;

    // No window-creation hook is installed here: only the form handed to SkinWindow is
    // skinned.
    TForm* plain = MakeForm(10);
    plain->Show();
    Pump();
    TForm* skinned = MakeForm(640);
    skinned->Show();
    manager->SkinWindow(skinned->Handle());
    TWinSkinForm* skin = manager->FindFormSkin(skinned->Handle());
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (skin && skin->FSkinState != ssActive && Clock::now() < deadline) {
        Pump();
        Sleep(1);
    }
    if (!skin || skin->FSkinState != ssActive) {
        std::fprintf(stderr, "the form was not skinned\n");
        return 1;
    }
    Pump();
    if (manager->FindFormSkin(plain->Handle())) {
        std::fprintf(stderr, "the plain form was skinned too\n");
        return 1;
    }

    auto repaint = [](TForm* form) {
        const auto start = Clock::now();
        RedrawWindow(form->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return Ms(start, Clock::now());
    };
    repaint(plain);  // first-use work (fonts, shared bitmaps) out of the figures
    repaint(skinned);
    std::vector<double> plainTimes, skinnedTimes;
    for (int i = 0; i < rounds; ++i) {
        plainTimes.push_back(repaint(plain));
        Pump();
        skinnedTimes.push_back(repaint(skinned));
        Pump();
    }
    const int controls = CountControls(*skinned);
    std::printf("a 620 x 460 form of %d controls, %d control skins attached, %d rounds (ms)\n", controls,
                skin->SkinControlCount(), rounds);
    std::string kinds;
    for (TSkinControl* control : skin->FSkinControls) {
        if (!control) continue;
        if (!kinds.empty()) kinds += ", ";
        kinds += control->ClassInfo().ClassName();
    }
    std::printf("control skins: %s\n", kinds.c_str());
    std::printf("                       median    fastest\n");
    std::printf("unskinned           %9.3f  %9.3f\n", Median(plainTimes), Fastest(plainTimes));
    std::printf("skinned             %9.3f  %9.3f\n", Median(skinnedTimes), Fastest(skinnedTimes));
    std::printf("ratio (median)      %9.2f\n", Median(plainTimes) > 0 ? Median(skinnedTimes) / Median(plainTimes) : 0.0);

    delete skinned;
    delete plain;
    data.reset();
    FreeSkinManager();
    return 0;
}
