// The GUI test harness every Windows test uses: a time-boxed message pump, window finders
// (this process or any other), a fixture window, message-box readers and dismissers, window
// captures with pixel probes, a message recorder with a sequence matcher, launched programs,
// GUI object counts, and the build and temporary folders.  It leaves every judgement about
// what a window should show or do to the tests themselves.
//
// Types: WindowQuery, OwnedWindow, TestWindow, MessageBoxContents, ExpectOptions, Capture,
// RecordedMessage, ExpectedMessage, MessageRecorder, Process, GuiObjectCounts, TempDir.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace guitest {

// Only a guard against a hang: a wait ends when its condition holds, and this is long
// enough for a machine loaded by two or more test runs side by side, short enough that a
// hang fails inside CTest's own timeout.
constexpr DWORD kDefaultTimeoutMs = 30000;

// ---------------------------------------------------------------------------------------
// Message pump (pump.cpp)

// Dispatches every message already waiting for this thread.  Returns false when WM_QUIT was
// taken from the queue (it is swallowed: a test thread has no outer loop to hand it to).
bool PumpMessages();

// Pumps this thread's messages until `condition` holds or `timeoutMs` have passed; waits in
// short slices so that conditions on other processes are polled too.  Returns the final
// value of the condition.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = kDefaultTimeoutMs);

// For showing that something does NOT happen, without waiting a fixed time: pumps until
// a witness timer of `intervalMs` has fired `ticks` times.  A timer of the code under test
// with the same interval would have fired as often by then, and whatever it posted has
// been dispatched.  False when the witness could not be set or did not fire in time.
bool PumpThroughTimerTicks(UINT intervalMs, int ticks, DWORD timeoutMs = kDefaultTimeoutMs);

// How the pump handles what is waiting in the queue.  The default translates and
// dispatches each message and swallows WM_QUIT.  A test program whose code has a message
// loop of its own (the class library's application object: modeless dialogs, shortcuts,
// dialog keys) installs that loop's step, so every wait of its tests runs messages the way
// the program does.  The step handles what is waiting now; false means WM_QUIT was seen.
using PumpStep = std::function<bool()>;
void SetPumpStep(PumpStep step);

// ---------------------------------------------------------------------------------------
// Text and window facts (window_info.cpp)

std::wstring ToWide(const std::string& text, UINT codePage = CP_ACP);
std::string ToAnsi(const std::wstring& text, UINT codePage = CP_ACP);
std::string ToUtf8(const std::wstring& text);
// "D6 D0 CE C4": for failure messages about code-page bytes.
std::string HexBytes(const std::string& bytes);

// WM_GETTEXT with a timeout, so it reads controls of other processes and never hangs on a
// stuck one; an unreachable window reads as empty.  The ANSI form is in the process code
// page (GBK when the tests run with LC_ALL=zh_CN.UTF-8).
std::wstring WindowTextW(HWND hwnd);
std::string WindowTextA(HWND hwnd);
std::wstring ClassNameOf(HWND hwnd);
bool IsVisible(HWND hwnd);
DWORD ProcessIdOf(HWND hwnd);
DWORD ThreadIdOf(HWND hwnd);

// Rectangles: WindowRectOf is in screen coordinates, ClientRectOf in client coordinates
// (left and top are zero), ClientRectOnScreen in screen coordinates, RectInParent is the
// window rectangle in its parent's client coordinates (screen for a top-level window).
RECT WindowRectOf(HWND hwnd);
RECT ClientRectOf(HWND hwnd);
RECT ClientRectOnScreen(HWND hwnd);
RECT RectInParent(HWND hwnd);
inline int Width(const RECT& r) { return r.right - r.left; }
inline int Height(const RECT& r) { return r.bottom - r.top; }
inline bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
std::string ToString(const RECT& r);  // "(l,t)-(r,b) w x h"
std::string Describe(HWND hwnd);      // handle, class, caption and process, for failures

// True in a process run by Wine; tests use it to mark known platform differences.
bool RunningUnderWine();

// ---------------------------------------------------------------------------------------
// Finding windows (window_find.cpp)

enum class TextMatch { Exact, Substring };

// What to look for.  Empty strings and zero ids match anything.  Class names compare
// without case (as the system does), captions with case.
struct WindowQuery {
  std::wstring className;
  std::wstring caption;
  TextMatch captionMatch = TextMatch::Exact;
  DWORD processId = 0;
  DWORD threadId = 0;
  HWND owner = nullptr;  // only windows owned by this one (GW_OWNER)
  int controlId = 0;     // children only: GetDlgCtrlID
  bool visibleOnly = false;

  WindowQuery& Class(std::wstring name) { className = std::move(name); return *this; }
  WindowQuery& Caption(std::wstring text, TextMatch match = TextMatch::Exact) {
    caption = std::move(text); captionMatch = match; return *this;
  }
  WindowQuery& InProcess(DWORD pid) { processId = pid; return *this; }
  WindowQuery& InThread(DWORD tid) { threadId = tid; return *this; }
  WindowQuery& OwnedBy(HWND hwnd) { owner = hwnd; return *this; }
  WindowQuery& Id(int id) { controlId = id; return *this; }
  WindowQuery& Visible(bool only = true) { visibleOnly = only; return *this; }

  bool Matches(HWND hwnd) const;
  std::string Describe() const;
};

// Top-level windows of any process, in z order (topmost first).
std::vector<HWND> FindTopLevelWindows(const WindowQuery& query);
HWND FindTopLevelWindow(const WindowQuery& query);
// Pumps this thread's messages while it waits; null on timeout.
HWND WaitForWindow(const WindowQuery& query, DWORD timeoutMs = kDefaultTimeoutMs);
// True once the window no longer exists.
bool WaitForWindowGone(HWND hwnd, DWORD timeoutMs = kDefaultTimeoutMs);

// Descendants of `parent` (all levels), in EnumChildWindows order.
std::vector<HWND> FindChildWindows(HWND parent, const WindowQuery& query);
HWND FindChild(HWND parent, const WindowQuery& query);
HWND FindChildByClass(HWND parent, const std::wstring& className, int index = 0);
// A direct child with this id first, then any descendant.
HWND FindChildById(HWND parent, int id);

// ---------------------------------------------------------------------------------------
// Fixture windows (test_window.cpp)

// Destroys the window it holds (if it still exists) when it goes out of scope.
class OwnedWindow {
 public:
  OwnedWindow() = default;
  explicit OwnedWindow(HWND hwnd) : hwnd_(hwnd) {}
  ~OwnedWindow() { Reset(); }
  OwnedWindow(OwnedWindow&& other) noexcept : hwnd_(other.Release()) {}
  OwnedWindow& operator=(OwnedWindow&& other) noexcept;
  OwnedWindow(const OwnedWindow&) = delete;
  OwnedWindow& operator=(const OwnedWindow&) = delete;

  HWND Get() const { return hwnd_; }
  explicit operator bool() const { return hwnd_ != nullptr; }
  HWND Release() { HWND h = hwnd_; hwnd_ = nullptr; return h; }
  void Reset(HWND hwnd = nullptr);

 private:
  HWND hwnd_ = nullptr;
};

// Default processing that the message recorder can tell apart: while it runs, recorded
// messages carry the `Default` flag.  TestWindow uses it for everything its handler leaves.
LRESULT DefProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Return true when the message was handled and *result holds the answer; false sends it
// on to DefProc.  Exceptions are caught at the window procedure and reported as failures.
using MessageHandler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT* result)>;

struct TestWindowOptions {
  std::wstring caption = L"guitest";
  DWORD style = WS_OVERLAPPEDWINDOW;  // no WS_VISIBLE: fixtures stay hidden unless asked
  DWORD exStyle = 0;
  int x = 40, y = 40, width = 320, height = 240;  // parent client coordinates for a child
  HWND parent = nullptr;
  int id = 0;  // control id of a child window
  HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);  // erased by DefProc
  MessageHandler handler;
};

// A window of the harness's own Unicode class whose messages go to a handler, from
// WM_NCCREATE on (WM_GETMINMAXINFO, sent before it to overlapped windows, goes to DefProc).
class TestWindow {
 public:
  TestWindow() = default;
  explicit TestWindow(const TestWindowOptions& options);
  HWND Handle() const { return window_.Get(); }
  explicit operator bool() const { return static_cast<bool>(window_); }
  void Destroy() { window_.Reset(); }

 private:
  OwnedWindow window_;
};

// ---------------------------------------------------------------------------------------
// Message boxes (message_box.cpp, message_box_expect.cpp)

struct MessageBoxContents {
  HWND hwnd = nullptr;
  std::string text;  // the static text, ANSI (GBK under zh_CN)
  std::string caption;
  std::wstring textW;
  std::wstring captionW;
  std::vector<int> buttons;  // ids of the visible buttons, in tab order
};

// Command posts WM_COMMAND(id, BN_CLICKED) to the box; Click posts BM_CLICK to the button.
enum class PressMethod { Command, Click };

// A visible dialog-class ("#32770") window of that process (and owner, when given).
HWND FindMessageBox(DWORD processId, HWND owner = nullptr);
HWND FindThreadMessageBox(DWORD threadId);
HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs = kDefaultTimeoutMs, HWND owner = nullptr);
MessageBoxContents ReadMessageBox(HWND box);
// Presses the button `id` of a dialog.  Posts only, so it is safe from inside the box's own
// modal loop; false (and a test failure) when the dialog has no such button.
bool PressButton(HWND dialog, int id, PressMethod method = PressMethod::Command);
// Reads the text, presses the button and returns the text.  Another thread's or process's
// box is then waited for until it closes.
std::string DismissMessageBox(HWND box, int button, PressMethod method = PressMethod::Command);

// Where ExpectMessageBox watches from: a second thread (works whatever loop the box runs),
// or a thread timer of the calling thread (dispatched by the box's own modal loop).
enum class DismissFrom { Thread, Timer };

struct ExpectOptions {
  PressMethod method = PressMethod::Command;
  DismissFrom from = DismissFrom::Thread;
  DWORD timeoutMs = kDefaultTimeoutMs;  // per box; afterwards the box is closed and the test fails
};

// Runs `action`, which opens a modal message box in this thread, dismisses the box with
// `button` and returns its text.  A test failure when no box appeared.
std::string ExpectMessageBox(const std::function<void()>& action, int button,
                             const ExpectOptions& options = {});
// The same for several boxes opened one after another, dismissed in order with `buttons`.
std::vector<MessageBoxContents> ExpectMessageBoxes(const std::function<void()>& action,
                                                   const std::vector<int>& buttons,
                                                   const ExpectOptions& options = {});

// ---------------------------------------------------------------------------------------
// Captures and pixel probes (capture.cpp, capture_window.cpp)

enum class CaptureMethod {
  Auto,         // Compose for this process; WindowDc for others or when nothing was drawn
  Compose,      // the harness walks the window tree: WM_PRINT(PRF_NONCLIENT), then
                // WM_ERASEBKGND + WM_PRINTCLIENT at the client origin, children bottom-up
  Print,        // one WM_PRINT(PRF_CLIENT|PRF_CHILDREN|PRF_ERASEBKGND, plus PRF_NONCLIENT
                // with the frame); whatever the window procedure makes of it
  WindowDc,     // BitBlt from the window DC after a synchronous repaint (visible windows only)
};

// An owning 32-bpp top-down DIB section with its memory DC.
class Capture {
 public:
  // Pixels nobody drew keep this value; its top byte is never written by GDI.
  static constexpr std::uint32_t kUnpaintedRaw = 0xA5123456u;

  Capture() = default;
  Capture(int width, int height);
  ~Capture();
  Capture(Capture&& other) noexcept;
  Capture& operator=(Capture&& other) noexcept;
  Capture(const Capture&) = delete;
  Capture& operator=(const Capture&) = delete;

  bool Valid() const { return bits_ != nullptr; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // CLR_INVALID outside the image.
  COLORREF Pixel(int x, int y) const;
  bool Painted(int x, int y) const;
  bool AnyPainted() const;
  std::uint32_t Raw(int x, int y) const;
  HDC Dc() const { return dc_; }
  CaptureMethod Method() const { return method_; }
  void SetMethod(CaptureMethod method) { method_ = method; }
  void Fill(std::uint32_t raw);
  // A bottom-up 24-bpp .bmp any viewer opens; for looking at a failed probe.
  bool SaveBmp(const std::wstring& path) const;

 private:
  void Free();
  int width_ = 0;
  int height_ = 0;
  std::uint32_t* bits_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  CaptureMethod method_ = CaptureMethod::Auto;
};

// Renders the window (withFrame: its whole window rectangle; otherwise its client area) at
// its current size.  An invalid Capture when the window does not exist or has no area.
// A window DC shows whatever is on screen there: when other programs' windows may cover the
// window (CTest runs tests in parallel), bring it to the top and retry the probe with
// PumpUntil.
Capture CaptureWindow(HWND hwnd, bool withFrame, CaptureMethod method = CaptureMethod::Auto);

// The window (withFrame: its whole window rectangle) as it is on screen now: read from its
// DC with no repaint asked for first, so it shows what the window's own painting left
// there, stale parts included.  Visible windows only.
Capture CaptureAsShown(HWND hwnd, bool withFrame);

// Each channel within `tolerance`.
bool ColorNear(COLORREF a, COLORREF b, int tolerance = 0);
std::string ColorToString(COLORREF color);  // "#RRGGBB"
// A probe whose failure names the point, both colours and the capture method.
::testing::AssertionResult PixelIs(const Capture& capture, int x, int y, COLORREF expected,
                                   int tolerance = 0);

// ---------------------------------------------------------------------------------------
// Message recorder and sequence matcher (message_recorder.cpp, message_match.cpp,
// message_names.cpp)

// Flags of recorded and expected messages.  The first group is recorded; the second only
// steers the matcher.
enum MessageFlag : unsigned {
  Sent = 0x01,     // not taken from the queue: SendMessage from any thread, or a call
                   // the system makes directly
  Posted = 0x02,   // taken from the queue and dispatched (posted, input, WM_PAINT, WM_TIMER)
  Parent = 0x04,   // recorded on a window attached with WindowRole::Parent
  Default = 0x08,  // arrived while guitest::DefProc was running (default processing)
  Nested = 0x10,   // sent while another recorded message was being handled
  Optional = 0x100,
  WParam = 0x200,  // compare wParam
  LParam = 0x400,  // compare lParam
};

struct RecordedMessage {
  HWND hwnd = nullptr;
  UINT message = 0;
  unsigned flags = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// One row of an expected-sequence table: {WM_SIZE, Sent | WParam, SIZE_RESTORED}.
// Sent/Posted are checked when either is given; Parent always; Default and Nested only
// when given.
struct ExpectedMessage {
  UINT message = 0;
  unsigned flags = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

enum class WindowRole { Window, Parent };

// Subclasses windows and records what reaches them, in order.  Lives on the test's stack;
// detaches in reverse order of attaching when it goes out of scope.  Only for windows of
// the thread that creates it.
class MessageRecorder {
 public:
  MessageRecorder();
  ~MessageRecorder();
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  bool Attach(HWND hwnd, WindowRole role = WindowRole::Window);
  void Detach(HWND hwnd);
  void DetachAll();

  void Clear() { messages_.clear(); }
  void SetRecording(bool on) { recording_ = on; }
  // Messages nobody tests and that come and go with the desktop (WM_GETICON,
  // WM_SETCURSOR, mouse moves, timers, IME context, ...) are ignored from the start.
  void Ignore(UINT message) { ignored_[message] = true; }
  void Unignore(UINT message) { ignored_.erase(message); }
  void IgnoreNone() { ignored_.clear(); }

  const std::vector<RecordedMessage>& Messages() const { return messages_; }
  std::vector<RecordedMessage> Take();  // returns the record and clears it
  std::size_t Count(UINT message) const;

  // Called by the subclass procedure.
  void Record(const RecordedMessage& message);
  bool IsIgnored(UINT message) const { return ignored_.count(message) != 0; }

 private:
  std::vector<RecordedMessage> messages_;
  std::vector<HWND> attached_;
  std::map<UINT, bool> ignored_;
  bool recording_ = true;
};

enum class MatchMode {
  Exact,    // every recorded message must be expected (optional rows may be missing)
  InOrder,  // the expected rows appear in this order; other messages may come between
};

::testing::AssertionResult MatchSequence(const std::vector<RecordedMessage>& actual,
                                         const ExpectedMessage* expected, std::size_t count,
                                         MatchMode mode = MatchMode::Exact);
template <std::size_t N>
::testing::AssertionResult MatchSequence(const std::vector<RecordedMessage>& actual,
                                         const ExpectedMessage (&expected)[N],
                                         MatchMode mode = MatchMode::Exact) {
  return MatchSequence(actual, expected, N, mode);
}

// "WM_SIZE" or "0x1234" for messages without a name here; WM_USER+n and WM_APP+n spelled out.
std::string MessageName(UINT message);
std::string FlagsToString(unsigned flags);
std::string FormatSequence(const std::vector<RecordedMessage>& messages);
std::string FormatSequence(const ExpectedMessage* expected, std::size_t count);

// ---------------------------------------------------------------------------------------
// Real input (input.cpp): the display's pointer and keyboard, for tests that hold the
// display_input lock.

void MoveMouse(POINT screen);
void MouseButton(DWORD flags);  // MOUSEEVENTF_LEFTDOWN ...
void ClickAt(POINT screen);     // moves there, then presses and releases the left button
// Presses and releases the key, with `modifier` (VK_MENU, VK_CONTROL ...) held around it.
void PressKey(WORD vk, WORD modifier = 0);

// ---------------------------------------------------------------------------------------
// Launched programs (process.cpp)

// Exit codes that mean "did not end on its own terms": an unhandled exception leaves its
// NTSTATUS code (0xC0000005 ...) on Windows and under Wine alike, abort() and uncaught C++
// exceptions exit 3, and a crash seen from the Unix side of Wine is 5 (0xC0000005 modulo
// 256, with the prefix's crash settings).
constexpr DWORD kExitTimedOut = 0xFFFFFFFFu;
bool LooksLikeCrash(DWORD exitCode);
std::string DescribeExitCode(DWORD exitCode);

// A launched program.  Terminates it (if still running) when it goes out of scope.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool Valid() const { return handle_ != nullptr; }
  HANDLE Handle() const { return handle_; }
  DWORD Id() const { return id_; }
  DWORD MainThreadId() const { return threadId_; }
  bool Running() const;
  // STILL_ACTIVE while running.
  DWORD ExitCode() const;
  void Terminate(UINT exitCode = 0xDEAD);
  // Why the launch failed.
  const std::string& Error() const { return error_; }

 private:
  friend Process LaunchProgram(const std::wstring&, const std::wstring&,
                               const std::vector<std::wstring>&, const std::wstring&);
  void Close();
  HANDLE handle_ = nullptr;
  DWORD id_ = 0;
  DWORD threadId_ = 0;
  std::string error_;
};

// Starts `exePath` (relative paths are below BuildRoot()) with `arguments`, the test's
// environment plus `extraEnvironment` ("NAME=value"; replaces a variable of the same
// name), in `workingDir` (BuildRoot() when empty).  Check Valid(); Error() says why not.
Process LaunchProgram(const std::wstring& exePath, const std::wstring& arguments = L"",
                      const std::vector<std::wstring>& extraEnvironment = {},
                      const std::wstring& workingDir = L"");

// A visible top-level window of the process matching the query (its process id and
// visibility are filled in).  Null on timeout; a test failure, naming the exit code, when the program ends first.
HWND WaitForMainWindow(const Process& process, WindowQuery query,
                       DWORD timeoutMs = kDefaultTimeoutMs);
// The same, where `classOrCaption` matches the class name or the whole caption.
HWND WaitForMainWindow(const Process& process, const std::wstring& classOrCaption,
                       DWORD timeoutMs = kDefaultTimeoutMs);

enum class CrashPolicy { Fail, Allow };
// The exit code.  A timeout is a test failure, terminates the program and returns
// kExitTimedOut; with CrashPolicy::Fail an exit code that LooksLikeCrash is a test failure.
DWORD WaitForExit(Process& process, DWORD timeoutMs = kDefaultTimeoutMs,
                  CrashPolicy policy = CrashPolicy::Fail);

// ---------------------------------------------------------------------------------------
// GUI object counts for leak tests (gui_resources.cpp)

struct GuiObjectCounts {
  DWORD gdi = 0;
  DWORD user = 0;
  bool gdiKnown = false;
  bool userKnown = false;
  std::string source;  // how they were counted, for messages
};

// GetGuiResources where the system implements it.  Wine's is a stub; there, for this
// process only, GDI objects are counted from the process's GDI handle table and USER
// objects are approximated by the number of windows of the process.  Objects a library
// makes once on first use still count: run the code under test once before the "before"
// count.
GuiObjectCounts CountGuiObjects(HANDLE process = GetCurrentProcess());

// ---------------------------------------------------------------------------------------
// Paths and files (paths.cpp, files.cpp)

std::wstring ExeDir();
// The build folder root, where the programs and stand-in servers are built.  From the
// BUILD_ROOT_DIR environment variable, else the folder the build was configured in, else
// the nearest folder above the test executable holding CMakeCache.txt.  Unix paths are
// turned into Wine's drive paths.
std::wstring BuildRoot();
std::wstring BuildPath(const std::wstring& relative);
// Under Wine, a Unix path ("/work/main/build") as a drive path ("Z:\work\main\build");
// empty elsewhere.
std::wstring FromUnixPath(const std::string& path);
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
bool FileExists(const std::wstring& path);
bool DirectoryExists(const std::wstring& path);
std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempDir {
 public:
  explicit TempDir(const std::wstring& prefix = L"guitest");
  ~TempDir();
  TempDir(TempDir&& other) noexcept : path_(std::move(other.path_)) { other.path_.clear(); }
  TempDir& operator=(TempDir&&) = delete;
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  bool Valid() const { return !path_.empty(); }
  const std::wstring& Path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return JoinPath(path_, name); }

 private:
  std::wstring path_;
};

bool RemoveTree(const std::wstring& path);

}  // namespace guitest
