// Start-up of quillet, scrivet and parlet beside Wine's own notepad, in one run, watched on
// the X display from outside Wine (a host program: reading the screen through Wine would
// compete with the program starting for the same server and take its turns late):
//  - each program is started as `wine64 <program>` (the notepad by its path in the prefix,
//    ours by their path in the build folder), alternating with the notepad started the same
//    way;
//  - first paint: from just before the start until half the pixels of the program's main
//    window (its largest top-level window on screen, found by the program's window class
//    name on the display) differ from the screen as it was before the start;
//  - settled: from the same instant until the last change of the screen that is followed
//    by 400 ms without any.  A change that fits in a column four pixels wide is a caret
//    blinking and does not count;
//  - median of N starts of each program, each against the median of the notepad starts
//    that alternated with it; one unmeasured start of each comes first.
// Each program is asked to close (WM_DELETE_WINDOW, which Wine turns into the window's
// close command) and ended if it is still there after 10 s; the screen is left to settle
// before the next start.  When the first-run marker is missing it is written for the run
// (a first start would prompt for training) and removed afterwards.
//
// usage (scripts/startup_bench.sh prepares the prefix, the display and Wine):
//   startup_bench <folder of the three programs> [starts]
// with DISPLAY, WINEPREFIX and Wine's locale in the environment; STARTUP_BENCH_EACH=1
// also prints every start's two times.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "bench_timing.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::Ms;

constexpr double kQuietMs = 400;         // no change for this long: settled
constexpr double kStartGuardMs = 30000;  // a start that takes longer is reported as failed
constexpr double kCloseGuardMs = 10000;
constexpr int kCaretWidth = 4;  // a change no wider than this is a caret blinking
constexpr auto kSampleGap = std::chrono::milliseconds(5);  // between two readings of the screen

const char* const kWine = "/usr/lib/wine/wine64";

// A picture of the whole screen, read through shared memory.
class Picture {
public:
    explicit Picture(Display* display) : display_(display) {
        const int s = DefaultScreen(display);
        root_ = RootWindow(display, s);
        width_ = DisplayWidth(display, s);
        height_ = DisplayHeight(display, s);
        image_ = XShmCreateImage(display, DefaultVisual(display, s), DefaultDepth(display, s), ZPixmap, nullptr,
                                 &shm_, width_, height_);
        if (!image_ || image_->bits_per_pixel != 32) return;
        shm_.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image_->bytes_per_line) * height_, IPC_CREAT | 0600);
        if (shm_.shmid < 0) return;
        shm_.shmaddr = image_->data = static_cast<char*>(shmat(shm_.shmid, nullptr, 0));
        shm_.readOnly = False;
        attached_ = XShmAttach(display, &shm_);
        XSync(display, False);
        shmctl(shm_.shmid, IPC_RMID, nullptr);  // freed once both sides detach
        pixels_.resize(static_cast<size_t>(width_) * height_);
    }
    ~Picture() {
        if (attached_) XShmDetach(display_, &shm_);
        if (image_) XDestroyImage(image_);  // not the shared memory: detached below
        if (shm_.shmaddr) shmdt(shm_.shmaddr);
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    bool Ok() const { return attached_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    Window Root() const { return root_; }
    // Reads the screen into this picture.
    void Take() {
        XShmGetImage(display_, root_, image_, 0, 0, AllPlanes);
        for (int y = 0; y < height_; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(image_->data + static_cast<size_t>(y) * image_->bytes_per_line);
            uint32_t* out = &pixels_[static_cast<size_t>(y) * width_];
            for (int x = 0; x < width_; ++x) out[x] = row[x] & 0xFFFFFF;
        }
    }
    uint32_t At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    void CopyFrom(const Picture& other) { pixels_ = other.pixels_; }

private:
    Display* display_;
    Window root_ = 0;
    int width_ = 0, height_ = 0;
    XImage* image_ = nullptr;
    XShmSegmentInfo shm_{};
    bool attached_ = false;
    std::vector<uint32_t> pixels_;
};

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    long long Area() const { return right > left && bottom > top ? static_cast<long long>(right - left) * (bottom - top) : 0; }
};

// Pixels of `area` that differ between two pictures.
long long Changed(const Picture& a, const Picture& b, const Box& area) {
    long long n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (a.At(x, y) != b.At(x, y)) ++n;
    return n;
}

// The columns between which two pictures differ; left > right when they are the same.
Box ChangedColumns(const Picture& a, const Picture& b) {
    Box box{a.Width(), 0, -1, 0};
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.At(x, y) != b.At(x, y)) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
            }
    return box;
}

struct ShownWindow {
    Window window;
    XWindowAttributes attributes;
};

// The top-level windows on screen whose class name is `name` (Wine names its windows' X
// class after the program's file name).
std::vector<ShownWindow> WindowsOf(Display* display, const Picture& screen, const std::string& name) {
    std::vector<ShownWindow> found;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, screen.Root(), &root, &parent, &children, &count)) return found;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes) || attributes.map_state != IsViewable) continue;
        XClassHint hint{};
        if (!XGetClassHint(display, children[i], &hint)) continue;
        const bool ours = hint.res_name && strcasecmp(hint.res_name, name.c_str()) == 0;
        if (hint.res_name) XFree(hint.res_name);
        if (hint.res_class) XFree(hint.res_class);
        if (ours) found.push_back({children[i], attributes});
    }
    if (children) XFree(children);
    return found;
}

// The largest of them, clipped to the screen.
Box MainWindowOf(Display* display, const Picture& screen, const std::string& name) {
    Box best;
    for (const ShownWindow& shown : WindowsOf(display, screen, name)) {
        const XWindowAttributes& a = shown.attributes;
        const Box box{std::max(a.x, 0), std::max(a.y, 0), std::min(a.x + a.width, screen.Width()),
                      std::min(a.y + a.height, screen.Height())};
        if (box.Area() > best.Area()) best = box;
    }
    return best;
}

// Asks every top-level window of the program to close, as a window manager's close would.
void AskToClose(Display* display, const Picture& screen, const std::string& name) {
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    for (const ShownWindow& shown : WindowsOf(display, screen, name)) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = shown.window;
        event.xclient.message_type = protocols;
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(deleteWindow);
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, shown.window, False, NoEventMask, &event);
    }
    XFlush(display);
}

// Waits until the screen has not changed for kQuietMs and leaves it in `shot`.
void WaitForQuietScreen(Picture& shot, Picture& previous) {
    shot.Take();
    Clock::time_point lastChange = Clock::now();
    const Clock::time_point guard = lastChange;
    while (Ms(lastChange, Clock::now()) < kQuietMs && Ms(guard, Clock::now()) < kStartGuardMs) {
        std::this_thread::sleep_for(kSampleGap);
        previous.CopyFrom(shot);
        shot.Take();
        const Box columns = ChangedColumns(shot, previous);
        if (columns.right >= columns.left) lastChange = Clock::now();
    }
}

pid_t Launch(const std::string& program) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, 0);
            dup2(null, 1);
            dup2(null, 2);
        }
        execl(kWine, "wine64", program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

bool WaitForExit(pid_t pid, double guardMs) {
    const Clock::time_point start = Clock::now();
    for (;;) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return true;
        if (Ms(start, Clock::now()) > guardMs) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Closes the program and waits until its windows are gone.  `wine64` may hand the program
// to a process of its own, so the windows are what is waited for.
void Close(Display* display, Picture& screen, const std::string& name, pid_t pid) {
    AskToClose(display, screen, name);
    const Clock::time_point start = Clock::now();
    while (MainWindowOf(display, screen, name).Area() > 0 && Ms(start, Clock::now()) < kCloseGuardMs)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (MainWindowOf(display, screen, name).Area() > 0)
        std::fprintf(stderr, "%s did not close within %.0f ms\n", name.c_str(), kCloseGuardMs);
    if (!WaitForExit(pid, kCloseGuardMs)) {
        std::fprintf(stderr, "%s: the launcher did not end; ended\n", name.c_str());
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

struct Start {
    bool ok = false;
    double firstPaint = 0, settled = 0;
};

std::string FileName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

Start Measure(Display* display, const std::string& program, Picture& before, Picture& shot, Picture& previous) {
    Start result;
    const std::string name = FileName(program);
    WaitForQuietScreen(before, previous);
    const Clock::time_point t0 = Clock::now();
    const pid_t pid = Launch(program);
    if (pid < 0) {
        std::perror("fork");
        return result;
    }
    bool painted = false;
    Clock::time_point lastChange = t0;
    shot.CopyFrom(before);
    for (;;) {
        std::this_thread::sleep_for(kSampleGap);
        previous.CopyFrom(shot);
        shot.Take();
        const Clock::time_point now = Clock::now();
        const double elapsed = Ms(t0, now);
        if (elapsed > kStartGuardMs) {
            std::fprintf(stderr, "%s: %s within %.0f ms\n", name.c_str(),
                         painted ? "the screen did not settle" : "no main window was painted", kStartGuardMs);
            break;
        }
        const Box columns = ChangedColumns(shot, previous);
        if (columns.right - columns.left >= kCaretWidth) lastChange = now;
        if (!painted) {
            const Box main = MainWindowOf(display, shot, name);
            if (main.Area() > 0 && 2 * Changed(shot, before, main) >= main.Area()) {
                painted = true;
                result.firstPaint = elapsed;
                lastChange = std::max(lastChange, now);
            }
        }
        if (painted && Ms(lastChange, now) >= kQuietMs) {
            result.settled = Ms(t0, lastChange);
            result.ok = true;
            break;
        }
    }
    Close(display, shot, name, pid);
    return result;
}

// Windows come and go between listing them and asking about them: such a request fails
// harmlessly and the window is skipped.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

struct Program {
    std::string name, path;
    std::vector<double> firstPaint, settled, notepadFirstPaint, notepadSettled;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <Windows build folder> [starts]\n", argv[0]);
        return 2;
    }
    const std::string build = argv[1];
    const int starts = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const char* prefix = std::getenv("WINEPREFIX");
    if (!prefix) {
        std::fprintf(stderr, "WINEPREFIX is not set\n");
        return 2;
    }
    const std::string system = std::string(prefix) + "/drive_c/windows/system32";
    const std::string notepad = "C:\\windows\\system32\\notepad.exe";
    std::vector<Program> programs{{"quillet", build + "/quillet.exe", {}, {}, {}, {}},
                                  {"scrivet", build + "/scrivet.exe", {}, {}, {}, {}},
                                  {"parlet", build + "/parlet.exe", {}, {}, {}, {}}};
    for (const Program& p : programs)
        if (!Exists(p.path)) {
            std::fprintf(stderr, "%s not found\n", p.path.c_str());
            return 2;
        }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreXError);
    const std::string marker = system + "/tallowmere.ini";
    bool markerWritten = false;
    if (!Exists(marker)) {
        if (FILE* f = std::fopen(marker.c_str(), "wb")) {
            std::fputs("Memo1\r\n", f);
            std::fclose(f);
            markerWritten = true;
        }
    }
    int code = 0;
    {
        Picture before(display), shot(display), previous(display);
        if (!before.Ok() || !shot.Ok() || !previous.Ok()) {
            std::fprintf(stderr, "cannot read the screen through shared memory\n");
            code = 2;
        }
        bool failed = code != 0;
        auto run = [&](const std::string& program, std::vector<double>* firstPaint, std::vector<double>* settled) {
            if (failed) return;
            const Start s = Measure(display, program, before, shot, previous);
            if (!s.ok) {
                failed = true;
                return;
            }
            if (std::getenv("STARTUP_BENCH_EACH"))
                std::fprintf(stderr, "%-40s %6.0f %6.0f\n", program.c_str(), s.firstPaint, s.settled);
            if (firstPaint) firstPaint->push_back(s.firstPaint);
            if (settled) settled->push_back(s.settled);
        };
        run(notepad, nullptr, nullptr);
        for (Program& p : programs) run(p.path, nullptr, nullptr);
        for (int i = 0; i < starts; ++i)
            for (Program& p : programs) {
                run(notepad, &p.notepadFirstPaint, &p.notepadSettled);
                run(p.path, &p.firstPaint, &p.settled);
            }
        if (failed && code == 0) code = 1;
        if (code == 0) {
            std::printf("start-up, median of %d starts, ms from process start (ratio to the notepad starts beside it)\n",
                        starts);
            std::printf("%-8s %12s %12s %14s %16s\n", "program", "first paint", "settled", "notepad paint",
                        "notepad settled");
            for (const Program& p : programs) {
                const double fp = Median(p.firstPaint), st = Median(p.settled);
                const double nfp = Median(p.notepadFirstPaint), nst = Median(p.notepadSettled);
                std::printf("%-8s %6.0f %4.2fx %6.0f %4.2fx %14.0f %16.0f\n", p.name.c_str(), fp, fp / nfp, st,
                            st / nst, nfp, nst);
            }
        }
    }
    if (markerWritten) std::remove(marker.c_str());
    XCloseDisplay(display);
    return code;
}
