#include "windows/diag/log.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "platform/local_app_data.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {

// A log past this size is set aside as log.old.txt and a new one begins: a
// device that stays lost adds megabytes a day.
constexpr std::uintmax_t kLogLimitBytes = 1024 * 1024;

// log.txt of folder becomes log.old.txt (replacing an older one) once it has
// passed the limit. A log that cannot be measured or moved is kept as it is.
void SetAsideFullLog(const fs::path& folder) {
    std::error_code error;
    const fs::path log = folder / "log.txt";
    const std::uintmax_t size = fs::file_size(log, error);
    if (!error && size > kLogLimitBytes) {
        fs::rename(log, folder / "log.old.txt", error);
    }
}

// Appends the line to log.txt in folder (the current directory when empty);
// false when the file cannot be opened. Text mode: on Windows every "\n"
// reaches the disk as "\r\n". Opened and closed on every call so other
// processes may read or delete the file.
bool AppendLine(const fs::path& folder, const std::string& line) {
    SetAsideFullLog(folder);
    std::ofstream file(folder / "log.txt", std::ios::out | std::ios::app);
    if (!file.is_open()) {
        return false;
    }
    file << line;
    file.close();
    return true;
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
    line += '\n';

    // The debugger channel first, so the line survives whatever the file does.
    PlatformDebugOutput(line.c_str());

    // The current directory first, for whoever starts the saver from a folder
    // of their own. Windows starts a saver in System32, which a standard user
    // cannot write: the line then goes to the user's own folder.
    if (AppendLine(fs::path(), line)) {
        return;
    }
    const fs::path userFolder = UserLogFolder();
    if (userFolder.empty() || !AppendLine(userFolder, line)) {
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
