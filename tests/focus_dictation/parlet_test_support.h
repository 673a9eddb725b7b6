// Shared by parlet's tests: the main form made in this process with the stand-in
// recognizer, and a watcher that answers this thread's message boxes while remembering
// what the form showed when the first one opened.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FInput.h"
#include "gui_test.h"

namespace parlettest {

// TFInput made and shown as the program makes it, the first-run marker present, the
// recognizer's own dialogs closing by themselves.
class InputForm : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Plays a script and pumps until the stand-in has delivered all of it.
    void Dictate(const char* utf8Script);

    TFInput* form = nullptr;
};

// Answers every message box of this thread with OK, from a thread timer that the box's own
// modal loop dispatches, so the box's owner can be looked at while it is open.  One per
// thread at a time.
class BoxProbe {
public:
    explicit BoxProbe(TFInput* form = nullptr);
    ~BoxProbe();
    BoxProbe(const BoxProbe&) = delete;
    BoxProbe& operator=(const BoxProbe&) = delete;

    const std::vector<guitest::MessageBoxContents>& Boxes() const { return boxes_; }
    // The form's caption and whether the recognizer had been told to resume when the
    // first box opened.
    const std::string& CaptionAtFirstBox() const { return caption_; }
    bool ResumedAtFirstBox() const { return resumed_; }
    // Pumps this thread's messages until `count` boxes have been answered and closed.
    bool PumpUntilAnswered(size_t count);

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);
    void step();

    TFInput* form_;
    UINT_PTR timer_ = 0;
    std::vector<guitest::MessageBoxContents> boxes_;
    std::vector<HWND> answered_;
    std::string caption_;
    bool resumed_ = false;
};

}  // namespace parlettest
