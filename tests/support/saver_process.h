// Starting Quillfrost.scr (or any program) as a separate process and waiting
// for its windows and its exit, pumping this thread's messages meanwhile so
// that windows of the test program stay responsive.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <windows.h>

namespace qf_test {

// A path of the build machine as Wine sees it (drive Z: maps /).
std::string WindowsPath(const std::string& unixPath);

// Handles this thread's messages for up to the given time.
void PumpFor(DWORD milliseconds);

// Polls until the condition holds or the time is up, pumping messages.
template <typename Condition> bool WaitUntil(Condition condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs) {
            return condition();
        }
        PumpFor(20);
    }
    return true;
}

class ChildProcess {
  public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess(); // ends a process that is still running

    // Starts "program" arguments, its standard output going to the given
    // inheritable handle when there is one. False when the process could not
    // be made.
    bool Start(const std::string& program, const std::string& arguments,
               HANDLE standardOutput = nullptr);
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    bool Running() const;
    // The exit code once the process has ended within the time, else nothing.
    std::optional<DWORD> WaitExit(DWORD timeoutMs);
    // Waits until the process is idle for input (after its start-up).
    void WaitIdle(DWORD timeoutMs) const;
    void Terminate();

  private:
    PROCESS_INFORMATION info_ = {};
};

// A visible top-level window of the process with the class and title (either
// may be null to match any); waits up to the time.
HWND WaitForTopLevelWindow(DWORD processId, const char* className, const char* title,
                           DWORD timeoutMs);
// A child window of parent with the class and title.
HWND WaitForChildWindow(HWND parent, const char* className, const char* title, DWORD timeoutMs);

// Exit code -1 as GetExitCodeProcess reads it.
constexpr DWORD kExitMinusOne = 0xFFFFFFFFu;

} // namespace qf_test
