// The message recorder: subclasses windows of the test's thread and records each message
// on arrival, before the original procedure sees it.  Posted messages are recognised with a
// WH_GETMESSAGE hook, which sees every message this thread takes from its queue: a message
// that reaches a window with exactly those values was dispatched, anything else was sent.
// (WH_CALLWNDPROC cannot be matched that way: under Wine 8 the hook gets another copy of
// structure parameters such as WINDOWPOS than the window procedure does, so SetWindowPos's
// messages would look posted; SetWindowPos_SizeOfHiddenWindowMatchesTable pins it.)  The original
// procedure is kept per window in a window property, so several windows of one class can
// be recorded and a later subclass by someone else does not get lost on detaching.
#include "gui_test_impl.h"

namespace guitest {
namespace {

constexpr wchar_t kSlotProperty[] = L"guitest.MessageRecorder";

struct Slot {
  WNDPROC original = nullptr;
  MessageRecorder* recorder = nullptr;  // null: passes messages through only
  bool parent = false;
  bool unicode = true;
};

struct ThreadState {
  HHOOK hook = nullptr;
  int hookUsers = 0;
  // The message last taken from the queue, until a subclass procedure claims it.
  bool queuedPending = false;
  MSG queued{};
  int depth = 0;  // recorded messages being handled
};

ThreadState& threadState() {
  thread_local ThreadState state;
  return state;
}

LRESULT CALLBACK onGetMessage(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    ThreadState& ts = threadState();
    ts.queuedPending = true;
    ts.queued = *reinterpret_cast<const MSG*>(lParam);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void useHook() {
  ThreadState& ts = threadState();
  if (ts.hookUsers++ == 0)
    ts.hook = SetWindowsHookExW(WH_GETMESSAGE, onGetMessage, nullptr, GetCurrentThreadId());
}

void releaseHook() {
  ThreadState& ts = threadState();
  if (ts.hookUsers > 0 && --ts.hookUsers == 0 && ts.hook) {
    UnhookWindowsHookEx(ts.hook);
    ts.hook = nullptr;
  }
}

LONG_PTR getProc(HWND hwnd, bool unicode) {
  return unicode ? GetWindowLongPtrW(hwnd, GWLP_WNDPROC) : GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
}

LONG_PTR setProc(HWND hwnd, bool unicode, LONG_PTR proc) {
  return unicode ? SetWindowLongPtrW(hwnd, GWLP_WNDPROC, proc) : SetWindowLongPtrA(hwnd, GWLP_WNDPROC, proc);
}

LRESULT CALLBACK recorderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Puts the original procedure back if nobody subclassed on top of us; otherwise leaves the
// slot in place, passing messages through, until the window is destroyed.
void unhookWindow(HWND hwnd, Slot* slot) {
  if (getProc(hwnd, slot->unicode) == reinterpret_cast<LONG_PTR>(recorderProc)) {
    setProc(hwnd, slot->unicode, reinterpret_cast<LONG_PTR>(slot->original));
    RemovePropW(hwnd, kSlotProperty);
    delete slot;
  } else {
    slot->recorder = nullptr;
  }
}

LRESULT CALLBACK recorderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* slot = static_cast<Slot*>(GetPropW(hwnd, kSlotProperty));
  if (!slot) return DefWindowProcW(hwnd, message, wParam, lParam);
  ThreadState& ts = threadState();
  const bool posted = ts.queuedPending && ts.queued.hwnd == hwnd && ts.queued.message == message &&
                      ts.queued.wParam == wParam && ts.queued.lParam == lParam;
  if (posted) ts.queuedPending = false;
  if (slot->recorder) {
    unsigned flags = posted ? Posted : Sent;
    if (slot->parent) flags |= Parent;
    if (impl::DefProcDepth() > 0) flags |= Default;
    // A message dispatched by a modal loop inside a handler is not nested in that handler.
    if (ts.depth > 0 && !posted) flags |= Nested;
    try {
      slot->recorder->Record({hwnd, message, flags, wParam, lParam});
    } catch (...) {
      // Out of memory: the record misses a message and the sequence check will say so.
    }
  }
  const WNDPROC original = slot->original;
  const bool unicode = slot->unicode;
  ++ts.depth;
  const LRESULT result = unicode ? CallWindowProcW(original, hwnd, message, wParam, lParam)
                                 : CallWindowProcA(original, hwnd, message, wParam, lParam);
  --ts.depth;
  if (message == WM_NCDESTROY) {
    // The window is gone: the slot may have been replaced meanwhile, so fetch it again.
    if (auto* last = static_cast<Slot*>(RemovePropW(hwnd, kSlotProperty))) {
      if (last->recorder) last->recorder->Detach(hwnd);  // finds no slot: only forgets
      delete last;
    }
  }
  return result;
}

}  // namespace

MessageRecorder::MessageRecorder() {
  static const UINT noise[] = {
      WM_GETICON, WM_GETOBJECT, WM_SETCURSOR, WM_MOUSEMOVE, WM_NCMOUSEMOVE, WM_NCHITTEST, WM_NCMOUSELEAVE,
      WM_ENTERIDLE, WM_TIMECHANGE, WM_DISPLAYCHANGE, WM_DEVICECHANGE, WM_IME_SETCONTEXT, WM_IME_NOTIFY,
      0x031F,                                      // DWM non-client rendering changed
      0x0090, 0x0091, 0x0092, 0x0093, 0x0094, 0x0095,  // themed menu bar drawing
  };
  for (UINT message : noise) ignored_[message] = true;
}

MessageRecorder::~MessageRecorder() { DetachAll(); }

bool MessageRecorder::Attach(HWND hwnd, WindowRole role) {
  if (!IsWindow(hwnd)) {
    ADD_FAILURE() << "cannot record messages of " << Describe(hwnd);
    return false;
  }
  if (ThreadIdOf(hwnd) != GetCurrentThreadId()) {
    ADD_FAILURE() << "the message recorder only records windows of its own thread: " << Describe(hwnd);
    return false;
  }
  if (auto* slot = static_cast<Slot*>(GetPropW(hwnd, kSlotProperty))) {
    if (slot->recorder) {
      ADD_FAILURE() << "messages of " << Describe(hwnd) << " are already recorded";
      return false;
    }
    slot->recorder = this;  // a pass-through slot left by an earlier detach
    slot->parent = role == WindowRole::Parent;
  } else {
    auto fresh = std::make_unique<Slot>();
    fresh->recorder = this;
    fresh->parent = role == WindowRole::Parent;
    // Keep the window's character set: an ANSI window keeps receiving ANSI messages.
    fresh->unicode = IsWindowUnicode(hwnd) != FALSE;
    if (!SetPropW(hwnd, kSlotProperty, fresh.get())) {
      ADD_FAILURE() << "cannot attach the message recorder to " << Describe(hwnd);
      return false;
    }
    Slot* raw = fresh.release();
    raw->original = reinterpret_cast<WNDPROC>(getProc(hwnd, raw->unicode));
    setProc(hwnd, raw->unicode, reinterpret_cast<LONG_PTR>(recorderProc));
  }
  attached_.push_back(hwnd);
  useHook();
  return true;
}

void MessageRecorder::Detach(HWND hwnd) {
  bool known = false;
  for (size_t i = attached_.size(); i-- > 0;) {
    if (attached_[i] == hwnd) {
      attached_.erase(attached_.begin() + static_cast<std::ptrdiff_t>(i));
      known = true;
      break;
    }
  }
  if (!known) return;
  releaseHook();
  auto* slot = static_cast<Slot*>(GetPropW(hwnd, kSlotProperty));
  if (slot && slot->recorder == this) unhookWindow(hwnd, slot);
}

void MessageRecorder::DetachAll() {
  while (!attached_.empty()) Detach(attached_.back());  // reverse order of attaching
}

std::vector<RecordedMessage> MessageRecorder::Take() {
  std::vector<RecordedMessage> taken;
  taken.swap(messages_);
  return taken;
}

std::size_t MessageRecorder::Count(UINT message) const {
  std::size_t n = 0;
  for (const RecordedMessage& m : messages_)
    if (m.message == message) ++n;
  return n;
}

void MessageRecorder::Record(const RecordedMessage& message) {
  if (recording_ && !IsIgnored(message.message)) messages_.push_back(message);
}

}  // namespace guitest
