#include "reg_query.h"

#include <cstdlib>
#include <sstream>
#include <vector>

#include <windows.h>

namespace {

constexpr DWORD kRegQueryMs = 30000;

} // namespace

RegQueryResult RunRegQuery(const std::string& keyUnderCurrentUser) {
    RegQueryResult result;
    SECURITY_ATTRIBUTES inheritable = {};
    inheritable.nLength = sizeof(inheritable);
    inheritable.bInheritHandle = TRUE;
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
        return result;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    std::string line = "reg.exe query \"HKCU\\" + keyUnderCurrentUser + "\"";
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd); // the child holds the only write end now
    if (!started) {
        CloseHandle(readEnd);
        return result;
    }
    char chunk[512];
    DWORD got = 0;
    while (ReadFile(readEnd, chunk, sizeof(chunk), &got, nullptr) && got > 0) {
        result.output.append(chunk, got);
    }
    CloseHandle(readEnd);
    if (WaitForSingleObject(process.hProcess, kRegQueryMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        result.exitCode = code;
        result.ran = true;
    } else {
        TerminateProcess(process.hProcess, 99);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    result.values = ParseRegQueryOutput(result.output);
    return result;
}

std::map<std::string, PrintedRegValue> ParseRegQueryOutput(const std::string& output) {
    std::map<std::string, PrintedRegValue> values;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string name;
        std::string type;
        std::string data;
        if (words >> name >> type >> data && type.rfind("REG_", 0) == 0) {
            values[name] = {type, data};
        }
    }
    return values;
}

std::optional<uint32_t> DwordOf(const RegQueryResult& result, const std::string& name) {
    auto found = result.values.find(name);
    if (found == result.values.end() || found->second.type != "REG_DWORD") {
        return std::nullopt;
    }
    const std::string& data = found->second.data;
    char* end = nullptr;
    const unsigned long value = std::strtoul(data.c_str(), &end, 16);
    if (data.rfind("0x", 0) != 0 || end == data.c_str() || *end != '\0') {
        return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}
