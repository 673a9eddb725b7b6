// Long dictation into the notepad, side by side with a bare rich edit, in one run:
//  - the notepad: phrases dictated by the stand-in recognizer in this process, through the
//    form's recognition handler into its editor;
//  - the bare control: a "RichEdit20A" window of the editor's size, font and wrapping,
//    given the same phrase with EM_REPLACESEL, one posted message per phrase as the
//    stand-in delivers them.
// Both take batches of 100 phrases in turn, so that the machine's load falls on both
// alike.  Reported at 1,000, 5,000 and 10,000 phrases (or the count given): the time per
// phrase over the last batch, as handling time (inside the handler: the form's whole
// handling, or the control's insertion) and as wall time (batch delivered and painted),
// with the process's memory and GDI objects.
//
// run, from the build folder with the stand-ins registered:
//   ./wine-run notepad_dictation_bench.exe [phrases, default 10000]
#include <windows.h>
#include <psapi.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Fnotepad.h"
#include "RichEdit.h"
#include "WinSkinData.h"
#include "gui_test.h"
#include "notepad_test_support.h"

namespace {

constexpr int kBatch = 100;
constexpr UINT kInsertMessage = WM_APP + 1;
const char* const kPhraseGbk = "\xBD\xF1\xCC\xEC\xCC\xEC\xC6\xF8\xBA\xDC\xBA\xC3\xA1\xA3";  // 今天天气很好。

double nowMs() {
    static LARGE_INTEGER f = [] { LARGE_INTEGER x; QueryPerformanceFrequency(&x); return x; }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double privateKiB() {
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
    // Wine reports no PrivateUsage; the committed page-file figure stands in for it there.
    const SIZE_T priv = pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
    return priv / 1024.0;
}

// The bare control: a top-level window holding a rich edit, inserting one phrase per
// posted message.
struct Bare {
    HWND frame = nullptr;
    HWND edit = nullptr;
    int inserted = 0;
    double handlingMs = 0;

    static LRESULT CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        if (m == kInsertMessage) {
            auto* self = reinterpret_cast<Bare*>(GetWindowLongPtrW(w, GWLP_USERDATA));
            const double t0 = nowMs();
            SendMessageA(self->edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(kPhraseGbk));
            self->handlingMs += nowMs() - t0;
            ++self->inserted;
            return 0;
        }
        return DefWindowProcW(w, m, wp, lp);
    }

    bool create(const RECT& editorOnScreen, const CHARFORMAT2A& font) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"BareRichEditBench";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassW(&wc);
        const int w = editorOnScreen.right - editorOnScreen.left, h = editorOnScreen.bottom - editorOnScreen.top;
        frame = CreateWindowExW(0, wc.lpszClassName, L"bare", WS_POPUP | WS_VISIBLE, editorOnScreen.left, editorOnScreen.top, w, h,
                                nullptr, nullptr, wc.hInstance, nullptr);
        if (!frame) return false;
        SetWindowLongPtrW(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        edit = CreateWindowExA(WS_EX_CLIENTEDGE, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL,
                               0, 0, w, h, frame, nullptr, wc.hInstance, nullptr);
        if (!edit) return false;
        SendMessageA(edit, EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
        SendMessageA(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&font));
        SendMessageA(edit, EM_SETTARGETDEVICE, 0, 0);  // wrap to the window, as the notepad's editor
        return true;
    }

    void destroy() {
        if (frame) DestroyWindow(frame);
    }
};

struct Figures {
    double handlingMs = 0;
    double wallMs = 0;
};

}  // namespace

int main(int argc, char** argv) {
    using notepadtest::Standin;
    const int total = argc > 1 ? std::max(kBatch, std::atoi(argv[1]) / kBatch * kBatch) : 10000;
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
    form->SetBounds(0, 0, 696, 479);
    form->Show();
    guitest::PumpMessages();

    // The form's handling of each recognition event: from the sink's call to the text
    // standing in the editor.
    double formHandlingMs = 0;
    TSpResultEvent original = form->SpSharedRecoContext->OnRecognition;
    form->SpSharedRecoContext->OnRecognition = [&](TObject* sender, long n, const VARIANT& pos, const SpeechRecoResult& r) {
        const double t0 = nowMs();
        original(sender, n, pos, r);
        formHandlingMs += nowMs() - t0;
    };

    RECT editor = guitest::WindowRectOf(form->RichEdit1->Handle());
    OffsetRect(&editor, 700, 0);  // beside the form, not over it
    CHARFORMAT2A font{};
    font.cbSize = sizeof font;
    SendMessageA(form->RichEdit1->Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&font));
    Bare bare;
    if (!bare.create(editor, font)) {
        std::printf("cannot create the bare rich edit\n");
        return 1;
    }

    std::string batch;
    for (int i = 0; i < kBatch; ++i) batch += u8"recognition 今天天气很好。\n";

    std::printf("phrases  notepad: handling  wall (ms/phrase)   bare rich edit: handling  wall   ratio (handling, wall)   private KiB  GDI\n");
    std::fflush(stdout);
    const double start = nowMs();
    for (int done = kBatch; done <= total; done += kBatch) {
        // The notepad: a batch from the stand-in.
        Figures f, b;
        double before = formHandlingMs;
        double t0 = nowMs();
        Standin::Get().Play(batch.c_str());
        guitest::PumpUntil([] { return Standin::Get().Pending() == 0; }, 600000);
        guitest::PumpMessages();
        UpdateWindow(form->RichEdit1->Handle());
        f.wallMs = nowMs() - t0;
        f.handlingMs = formHandlingMs - before;
        // The bare control: the same phrases, one posted message each.
        before = bare.handlingMs;
        const int target = bare.inserted + kBatch;
        t0 = nowMs();
        for (int i = 0; i < kBatch; ++i) PostMessageW(bare.frame, kInsertMessage, 0, 0);
        guitest::PumpUntil([&] { return bare.inserted >= target; }, 600000);
        guitest::PumpMessages();
        UpdateWindow(bare.edit);
        b.wallMs = nowMs() - t0;
        b.handlingMs = bare.handlingMs - before;

        if (done == 1000 || done == 5000 || done == 10000 || done == total || done % 1000 == 0) {
            const bool marked = done == 1000 || done == 5000 || done == 10000 || done == total;
            std::printf("%s%6d   %8.3f %8.3f              %8.3f %8.3f   %5.2fx %5.2fx   %10.0f  %4lu  (%.0f s so far)\n",
                        marked ? "*" : " ", done, f.handlingMs / kBatch, f.wallMs / kBatch, b.handlingMs / kBatch,
                        b.wallMs / kBatch, f.handlingMs / std::max(b.handlingMs, 1e-6), f.wallMs / std::max(b.wallMs, 1e-6),
                        privateKiB(), guitest::CountGuiObjects().gdi, (nowMs() - start) / 1000.0);
            std::fflush(stdout);
        }
    }
    const int formChars = form->RichEdit1->GetTextLen();
    GETTEXTLENGTHEX len{GTL_NUMCHARS | GTL_PRECISE, 1200};
    const LRESULT bareChars = SendMessageA(bare.edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0);
    std::printf("characters: notepad %d, bare %ld (every phrase arrived: %s)\n", formChars, static_cast<long>(bareChars),
                formChars == 7 * total && bareChars == 7 * total ? "yes" : "NO");
    bare.destroy();
    form->RichEdit1->SetModified(false);
    delete form;
    return 0;
}
