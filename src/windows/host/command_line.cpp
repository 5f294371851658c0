#include "windows/host/command_line.h"

namespace {

bool IsSwitchFiller(char c) {
    return c == ' ' || c == '-' || c == '/';
}

const char* SkipSpaces(const char* text) {
    while (*text == ' ') {
        ++text;
    }
    return text;
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

const char* SkipProgramName(const char* line) {
    if (!line) {
        return "";
    }
    const unsigned char* p = reinterpret_cast<const unsigned char*>(line);
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"') {
            ++p;
        }
        if (*p == '"') {
            ++p;
        }
    } else {
        while (*p > ' ') {
            ++p;
        }
    }
    return reinterpret_cast<const char*>(p);
}

const char* SkipControlCharacters(const char* text) {
    if (!text) {
        return "";
    }
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p >= 1 && *p <= ' ') {
        ++p;
    }
    return reinterpret_cast<const char*>(p);
}

const char* CommandLineArguments(const char* line) {
    return SkipControlCharacters(SkipProgramName(line));
}

uint32_t ParseWindowHandle(const char* text) {
    uint32_t value = 0;
    if (!text) {
        return value;
    }
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10u + static_cast<uint32_t>(*text - '0');
    }
    return value;
}

SaverCommandLine ParseSaverCommandLine(const char* arguments) {
    const char* p = arguments ? arguments : "";
    while (IsSwitchFiller(*p)) {
        ++p;
    }
    switch (Upper(*p)) {
    case '\0':
        return {SaverCommand::ConfigureAlone, 0, 0};
    case 'S':
        return {SaverCommand::Run, 0, 0};
    case 'C':
        if (p[1] == ':') {
            return {SaverCommand::Configure, 1, ParseWindowHandle(p + 2)};
        }
        return {SaverCommand::Configure, 0, 0};
    case 'P':
    case 'L':
        return {SaverCommand::Preview, 1, ParseWindowHandle(SkipSpaces(p + 1))};
    case 'A':
        return {SaverCommand::ChangePassword, 1, ParseWindowHandle(SkipSpaces(p + 1))};
    default:
        return {SaverCommand::Invalid, 0, 0};
    }
}
