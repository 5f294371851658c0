// The settings key as reg.exe shows it: the program run as a separate process
// and its printed values parsed.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

struct PrintedRegValue {
    std::string type; // "REG_DWORD", "REG_SZ", ...
    std::string data; // as printed, "0x32" for a REG_DWORD
};

struct RegQueryResult {
    bool ran = false; // the program could be started and ended in time
    unsigned long exitCode = 0;
    std::string output;
    std::map<std::string, PrintedRegValue> values;
};

// Runs reg.exe query on the key under HKEY_CURRENT_USER.
RegQueryResult RunRegQuery(const std::string& keyUnderCurrentUser);

// Lines "    Name    REG_TYPE    data" of reg.exe's output.
std::map<std::string, PrintedRegValue> ParseRegQueryOutput(const std::string& output);

// The number of a REG_DWORD value, nothing for another type or missing value.
std::optional<uint32_t> DwordOf(const RegQueryResult& result, const std::string& name);
