// Shared by the tests that use the stand-in word processor (its own tests and scrivet's):
// reaching the running stand-in through its test-only members, ending every running
// stand-in so that each test starts from none, and taking its registration away for a
// test of a missing word processor.  Those tests share one stand-in per prefix: they hold
// the CTest resource lock first_run_marker.
#pragma once
#include <windows.h>

#include <string>

#include "ComObj.h"

namespace wordtest {

// The running stand-in's application object, or an empty dispatch when none runs.
OleDispatch RunningApplication();
bool StandinRunning();
// The active document's text; raises when no stand-in runs.
std::wstring StandinText();
DWORD StandinProcessId();
int StandinDocumentCount();
// The stand-in's window (class WordStandinWindow) in that process, and its text box.
HWND StandinWindow(DWORD processId);
std::wstring StandinWindowText(DWORD processId);
// Asks every running stand-in to quit and waits until its process has ended.
bool QuitStandins();

// Under Wine the RPC service keeps the class registrations of a server process that
// crashed: creating that server answers RPC_S_SERVER_UNAVAILABLE, in this test and in every
// later one of the prefix, until the service restarts.  A test that kills the stand-in
// holds one of these; when it goes out of scope it stops the service, which starts again
// on the next call that needs it.  Nothing to do on Windows.
class CrashedServerCleanup {
public:
    CrashedServerCleanup() = default;
    ~CrashedServerCleanup();
    CrashedServerCleanup(const CrashedServerCleanup&) = delete;
    CrashedServerCleanup& operator=(const CrashedServerCleanup&) = delete;
};

// Stops a stand-in's process as a person stopping it would (under Wine the process gets
// SIGSTOP, as from `kill -STOP`; on Windows its threads are suspended): it answers no call
// until it goes on, at Continue or at the end of scope.  Nothing may call it meanwhile, the
// test included: such a call would wait for it.
class Stopped {
public:
    explicit Stopped(DWORD processId);
    ~Stopped() { Continue(); }
    Stopped(const Stopped&) = delete;
    Stopped& operator=(const Stopped&) = delete;
    void Continue();
    bool ok = false;

private:
    DWORD processId_;
    int unixProcessId_ = 0;
    bool stopping_ = false;
};

// Removes the stand-in's registration for its lifetime (the word processor is then not
// installed as far as clients can tell) and puts it back afterwards.
class Unregistered {
public:
    Unregistered();
    ~Unregistered();
    bool ok = false;
};

}  // namespace wordtest
