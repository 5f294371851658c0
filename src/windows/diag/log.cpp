#include "windows/diag/log.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/local_app_data.h"
#include "platform/log_file.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {

// A log past this size is set aside as log.old.txt and a new one begins: a
// device that stays lost adds megabytes a day.
constexpr std::uintmax_t kLogLimitBytes = 1024 * 1024;

// Appends the line to log.txt of the user's own folder. Under the lock that
// every writer of the folder takes, a log past the limit first becomes
// log.old.txt (replacing an older one): no two writers set a log aside at
// once, nor one a log that another has just begun. Without the lock the log
// stays where it is and the line is appended all the same.
bool AppendLineToUserLog(const fs::path& folder, const std::string& line) {
    const fs::path log = folder / "log.txt";
    PlatformLogLock lock = PlatformLockLogFolder(folder);
    if (lock.held) {
        std::error_code error;
        const std::uintmax_t size = fs::file_size(log, error);
        if (!error && size > kLogLimitBytes) {
            fs::rename(log, folder / "log.old.txt", error);
        }
    }
    const bool appended = PlatformAppendWhole(log, line);
    PlatformUnlockLogFolder(lock);
    return appended;
}

// %LOCALAPPDATA%\Nubrisk\Quillfrost, made when missing; empty when the system
// names no such folder.
fs::path UserLogFolder() {
    const fs::path base = PlatformLocalAppData();
    if (base.empty()) {
        return {};
    }
    const fs::path folder = base / "Nubrisk" / "Quillfrost";
    std::error_code error;
    fs::create_directories(folder, error);
    return folder;
}

void WriteLogLine(const char* message, int32_t code) {
    std::string line = message ? message : "";
    if (code != 0) {
        line += " : ";
        line += ResultCodeName(code);
    }

    // The debugger channel first, so the line survives whatever the file does.
    PlatformDebugOutput((line + '\n').c_str());

    // The whole line with its end goes to the file in one write.
    line += kPlatformLineEnd;
    // The current directory first, for whoever starts the saver from a folder
    // of their own. Windows starts a saver in System32, which a standard user
    // cannot write: the line then goes to the user's own folder.
    if (PlatformAppendWhole("log.txt", line)) {
        return;
    }
    const fs::path userFolder = UserLogFolder();
    if (userFolder.empty() || !AppendLineToUserLog(userFolder, line)) {
        PlatformDebugOutput("Error writing to log file\n");
    }
}

} // namespace

void LogMessage(const char* message, int32_t code) {
    // The log never stops the program: a line that cannot even be formed (no
    // memory left) costs only the failure notice.
    try {
        WriteLogLine(message, code);
    } catch (...) {
        PlatformDebugOutput("Error writing to log file\n");
    }
}
