// Reading the command line by which the system starts a screen saver. Plain
// text handling, shared by the Windows entry and the native tests.
#pragma once

#include <cstdint>

// The program name at the start of a command line: a quoted name up to and
// including its closing quote (or to the end), else every character above the
// blank. Returns the first character after it. A null line reads as empty.
const char* SkipProgramName(const char* line);

// Skips every character from 1 to 32 (the blank and the control characters).
const char* SkipControlCharacters(const char* text);

// What follows the program name and the blanks after it.
const char* CommandLineArguments(const char* line);

// Decimal digits from the start of the text, value * 10 + digit in unsigned
// 32-bit arithmetic (overflow wraps); no digits give 0. A null text gives 0.
uint32_t ParseWindowHandle(const char* text);

enum class SaverCommand {
    ConfigureAlone, // empty command line: the dialog without a parent
    Configure,      // "C": the dialog over the given window or the foreground one
    Run,            // "S": full screen
    Preview,        // "P" or "L": inside the given parent window
    ChangePassword, // "A": the password dialog over the given window
    Invalid,        // anything else
};

struct SaverCommandLine {
    SaverCommand command;
    uint8_t handleGiven; // a window handle was read (after "C:", "P", "L" or "A")
    uint32_t handle;     // 0 when none was read
};

// The switch table: blanks, "-" and "/" are skipped, the first other character
// chooses the mode (letters in either case).
SaverCommandLine ParseSaverCommandLine(const char* arguments);
