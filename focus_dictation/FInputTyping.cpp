// Typing a phrase into another program: the focused control of the foreground window gets
// one posted WM_IME_CHAR per character, the way an input method delivers a composed
// string.  Posted, not sent: a busy or hung target never blocks dictation, and the
// characters arrive in order after this returns.
#include "FInput.h"

namespace {

// Joins this thread's input state to another thread's for its lifetime, so that GetFocus
// answers for that thread's windows.  Attaching a thread to itself fails, so the same
// thread is not attached at all.
class InputAttachment {
public:
    explicit InputAttachment(DWORD otherThread) : this_(GetCurrentThreadId()), other_(otherThread) {
        if (other_ && other_ != this_) attached_ = AttachThreadInput(this_, other_, TRUE) != FALSE;
    }
    ~InputAttachment() {
        if (attached_) AttachThreadInput(this_, other_, FALSE);
    }
    InputAttachment(const InputAttachment&) = delete;
    InputAttachment& operator=(const InputAttachment&) = delete;

    // Whether GetFocus now answers for the other thread.
    bool Joined() const { return attached_ || (other_ && other_ == this_); }

private:
    DWORD this_;
    DWORD other_;
    bool attached_ = false;
};

}  // namespace

std::vector<WPARAM> ImeCharsOf(const std::string& text) {
    std::vector<WPARAM> chars;
    chars.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (IsDBCSLeadByte(byte)) {
            // Past the end the following byte is the string's terminating NUL.
            const auto trail = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
            chars.push_back(static_cast<WPARAM>(byte) << 8 | trail);
            i += 2;
        } else {
            chars.push_back(byte);
            i += 1;
        }
    }
    return chars;
}

void TFInput::PostTextToFocusedWindow(const std::string& text) {
    // With no foreground window or no focused control there is no one to type to: the
    // phrase is dropped (posting to a null window would put the characters in this
    // thread's own queue).
    HWND target = GetForegroundWindow();
    if (!target) return;
    InputAttachment input(GetWindowThreadProcessId(target, nullptr));
    // A failed attachment would make GetFocus answer for this program instead of the target.
    if (!input.Joined()) return;
    HWND focus = GetFocus();
    if (!focus) return;
    for (WPARAM ch : ImeCharsOf(text)) PostMessageA(focus, WM_IME_CHAR, ch, 0);
}
