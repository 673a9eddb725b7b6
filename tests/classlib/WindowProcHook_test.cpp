// Replacing and restoring a control's WindowProc (in order and out of order), and the
// order of destruction that lets an owned object put the procedure back while its control
// is still whole.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Forms.h"
#include "StdCtrls.h"
#include "WindowProcHook.h"
#include "gui_test.h"

namespace {

constexpr UINT kProbe = WM_APP + 40;

// Each hook appends its letter to the trace and passes the message on.
TWindowProcHook::Handler tracing(std::string& trace, char letter) {
    return [&trace, letter](TMessage& m, const TWndMethod& previous) {
        if (m.Msg == kProbe) trace += letter;
        previous(m);
    };
}

// The letters of the hooks a probe message passes through, then 'o' when it reaches the
// control's own message method.
class TProbedEdit : public TEdit {
public:
    explicit TProbedEdit(TComponent* owner, std::string& trace) : TEdit(owner), trace_(trace) {}
    void WndProc(TMessage& m) override {
        if (m.Msg == kProbe) trace_ += 'o';
        TEdit::WndProc(m);
    }

private:
    std::string& trace_;
};

std::string probe(TControl& control, std::string& trace) {
    trace.clear();
    control.Perform(kProbe, 0, 0);
    return trace;
}

}  // namespace

TEST(WindowProcHook, RestoredInReverseOrder_GivesBackTheOriginal) {
    std::string trace;
    TProbedEdit edit(nullptr, trace);
    auto a = std::make_unique<TWindowProcHook>(edit, tracing(trace, 'a'));
    auto b = std::make_unique<TWindowProcHook>(edit, tracing(trace, 'b'));
    EXPECT_EQ("bao", probe(edit, trace));
    b.reset();
    EXPECT_EQ("ao", probe(edit, trace));
    a.reset();
    EXPECT_EQ("o", probe(edit, trace));
}

TEST(WindowProcHook, RestoredOutOfOrder_LaterHookKeepsWorkingAndNothingPointsAtTheFreedOne) {
    std::string trace;
    TProbedEdit edit(nullptr, trace);
    auto a = std::make_unique<TWindowProcHook>(edit, tracing(trace, 'a'));
    // The second hook's handler holds the only reference to an object of its own.
    auto alive = std::make_shared<int>(0);
    std::weak_ptr<int> watch = alive;
    auto b = std::make_unique<TWindowProcHook>(edit, [&trace, alive](TMessage& m, const TWndMethod& previous) {
        if (m.Msg == kProbe) trace += 'b';
        previous(m);
    });
    alive.reset();

    a.reset();  // out of order: b still sits above it
    EXPECT_EQ("bo", probe(edit, trace));
    b.reset();
    EXPECT_TRUE(watch.expired()) << "a restored hook's handler is released at once";
    EXPECT_EQ("o", probe(edit, trace));
    TWindowProcHook c(edit, tracing(trace, 'c'));
    EXPECT_EQ("co", probe(edit, trace)) << "a new hook sees only what is still installed";
}

TEST(WindowProcHook, HookRestoringItselfWhileItRuns) {
    std::string trace;
    TProbedEdit edit(nullptr, trace);
    std::unique_ptr<TWindowProcHook> hook;
    hook = std::make_unique<TWindowProcHook>(edit, [&](TMessage& m, const TWndMethod& previous) {
        if (m.Msg == kProbe) {
            trace += 'h';
            hook.reset();
        }
        previous(m);
    });
    EXPECT_EQ("ho", probe(edit, trace));
    EXPECT_EQ("o", probe(edit, trace));
}

namespace {

// An object owned by a control that hooks the control's WindowProc and, when freed, puts
// it back and looks at its window: as the skins of controls do.
class THookingComponent : public TComponent {
public:
    THookingComponent(TWinControl& host, bool& hostWholeAtFree)
        : TComponent(&host), host_(host), hostWholeAtFree_(hostWholeAtFree),
          hook_(host, [](TMessage& m, const TWndMethod& previous) { previous(m); }) {}
    ~THookingComponent() override {
        hostWholeAtFree_ = host_.HandleAllocated() && IsWindow(host_.Handle()) && host_.Parent() != nullptr;
    }

private:
    TWinControl& host_;
    bool& hostWholeAtFree_;
    TWindowProcHook hook_;
};

}  // namespace

TEST(DestructionOrder, OwnedComponentsAreFreedWhileTheControlIsWhole) {
    TForm form(nullptr);
    form.HandleNeeded();
    bool hostWhole = false;
    auto* edit = new TEdit(nullptr);
    edit->SetParent(&form);
    edit->HandleNeeded();
    new THookingComponent(*edit, hostWhole);
    delete edit;
    EXPECT_TRUE(hostWhole) << "the owned object ran after its control had lost its window";
}

TEST(DestructionOrder, FormFreesItsComponentsBeforeItsWindow) {
    bool formWhole = false;
    auto* form = new TForm(nullptr);
    auto* panelHost = new TEdit(form);  // owned by the form, like everything a stored form makes
    panelHost->SetParent(form);
    form->HandleNeeded();
    new THookingComponent(*panelHost, formWhole);
    delete form;
    EXPECT_TRUE(formWhole);
}
