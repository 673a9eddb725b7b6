// Dictation into the notepad, measured under the stand-in recognizer in this process:
//  - the time from a recognition event reaching the form (the recognizer's call of the
//    event sink) to its text standing in the editor, over 1,000 phrases (median and 95th
//    percentile); the stand-in's own scheduling of the events is not counted;
//  - the process's private memory and GDI object count after 10, every 1,000 and after
//    10,000 phrases, with the editor's text size, so growth beyond the text itself shows.
//
// run, from the build folder with the stand-ins registered: ./wine-run notepad_dictation_bench.exe
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "Fnotepad.h"
#include "RichEdit.h"
#include "WinSkinData.h"
#include "gui_test.h"
#include "notepad_test_support.h"

namespace {

double nowMs() {
    static LARGE_INTEGER f = [] { LARGE_INTEGER x; QueryPerformanceFrequency(&x); return x; }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

void report(const char* when, TFnotepad& form) {
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
    // Wine reports no PrivateUsage; the committed page-file figure stands in for it there.
    const SIZE_T priv = pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
    guitest::GuiObjectCounts counts = guitest::CountGuiObjects();
    std::printf("%-22s private %8.1f KiB  GDI objects %4lu  editor text %7d characters\n", when,
                priv / 1024.0, counts.gdi, form.RichEdit1->GetTextLen());
    std::fflush(stdout);
}

}  // namespace

int main() {
    using notepadtest::Standin;
    Application->Initialize();
    RegisterSkinClasses();
    TFnotepad::CommandLineParameters = [] { return std::vector<std::string>(); };
    if (!Standin::Get().Loaded()) {
        std::printf("stand-in recognizer not found\n");
        return 1;
    }
    notepadtest::CreateMarker();
    auto* form = Application->CreateForm<TFnotepad>();
    form->SetWindowState(wsNormal);
    form->Show();
    guitest::PumpMessages();

    // Time the form's handling of each recognition event: from the sink's call to the
    // text standing in the editor.
    std::vector<double> latencies;
    TSpResultEvent original = form->SpSharedRecoContext->OnRecognition;
    form->SpSharedRecoContext->OnRecognition = [&](TObject* sender, long n, const VARIANT& pos, const SpeechRecoResult& r) {
        const int before = form->RichEdit1->GetTextLen();
        const double t0 = nowMs();
        original(sender, n, pos, r);
        if (form->RichEdit1->GetTextLen() != before && latencies.size() < 1000) latencies.push_back(nowMs() - t0);
    };
    // Phrases go in batches (one script each), so the stand-in's scheduling stays out of
    // the way: 10, 90, then hundreds up to 10,000.
    auto batchOf = [](int n) {
        std::string b;
        for (int i = 0; i < n; ++i) b += u8"recognition 今天天气很好。\n";
        return b;
    };
    const std::string ten = batchOf(10), ninety = batchOf(90), hundred = batchOf(100);
    int done = 0;
    while (done < 10000) {
        const std::string& batch = done == 0 ? ten : done == 10 ? ninety : hundred;
        Standin::Get().Play(batch.c_str());
        guitest::PumpUntil([] { return Standin::Get().Pending() == 0; }, 120000);
        guitest::PumpMessages();
        done += done == 0 ? 10 : done == 10 ? 90 : 100;
        if (done == 10) report("after 10 phrases", *form);
        if (done % 1000 == 0 && done < 10000) {
            const std::string when = "after " + std::to_string(done) + " phrases";
            report(when.c_str(), *form);
        }
        if (done == 1000) {
            std::vector<double> sorted = latencies;
            std::sort(sorted.begin(), sorted.end());
            if (!sorted.empty())
                std::printf("recognition event to editor, %zu phrases: median %.3f ms, 95th percentile %.3f ms\n",
                            sorted.size(), sorted[sorted.size() / 2], sorted[sorted.size() * 95 / 100]);
        }
    }
    report("after 10,000 phrases", *form);
    {
        // The platform's part: the rich edit's own insertion of one phrase.
        std::vector<double> raw;
        HWND editor = form->RichEdit1->Handle();
        for (int i = 0; i < 200; ++i) {
            const double t0 = nowMs();
            SendMessageA(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\xBD\xF1\xCC\xEC"));
            raw.push_back(nowMs() - t0);
        }
        std::sort(raw.begin(), raw.end());
        std::printf("the rich edit's EM_REPLACESEL alone: median %.3f ms\n", raw[raw.size() / 2]);
    }
    form->RichEdit1->SetModified(false);
    delete form;
    return 0;
}
