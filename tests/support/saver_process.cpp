#include "support/saver_process.h"

#include <vector>

namespace qf_test {

std::string WindowsPath(const std::string& unixPath) {
    if (unixPath.size() > 1 && unixPath[1] == ':') {
        return unixPath; // already a Windows path
    }
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) {
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

ChildProcess::~ChildProcess() {
    if (info_.hProcess) {
        if (Running()) {
            Terminate();
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

bool ChildProcess::Start(const std::string& program, const std::string& arguments,
                         HANDLE standardOutput) {
    std::string line = "\"" + program + "\" " + arguments;
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (standardOutput) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = standardOutput;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    }
    return CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, standardOutput ? TRUE : FALSE,
                          0, nullptr, nullptr, &startup, &info_) != FALSE;
}

bool ChildProcess::Running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::WaitExit(DWORD timeoutMs) {
    if (!info_.hProcess || !WaitUntil([this] { return !Running(); }, timeoutMs)) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void ChildProcess::WaitIdle(DWORD timeoutMs) const {
    if (info_.hProcess) {
        WaitForInputIdle(info_.hProcess, timeoutMs);
    }
}

void ChildProcess::Terminate() {
    if (info_.hProcess) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
}

namespace {

bool Matches(HWND window, const char* className, const char* title) {
    char text[256] = {};
    if (className) {
        GetClassNameA(window, text, sizeof(text));
        if (lstrcmpA(text, className) != 0) {
            return false;
        }
    }
    if (title) {
        text[0] = '\0';
        GetWindowTextA(window, text, sizeof(text));
        if (lstrcmpA(text, title) != 0) {
            return false;
        }
    }
    return true;
}

struct Search {
    DWORD processId;
    const char* className;
    const char* title;
    HWND found;
};

BOOL CALLBACK VisitTopLevel(HWND window, LPARAM data) {
    Search& search = *reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && IsWindowVisible(window) &&
        Matches(window, search.className, search.title)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND WaitForTopLevelWindow(DWORD processId, const char* className, const char* title,
                           DWORD timeoutMs) {
    Search search = {processId, className, title, nullptr};
    WaitUntil(
        [&search] {
            EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

HWND WaitForChildWindow(HWND parent, const char* className, const char* title, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindWindowExA(parent, nullptr, className, title);
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

} // namespace qf_test
