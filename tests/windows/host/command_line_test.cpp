#include "windows/host/command_line.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

struct SkipCase {
    const char* line;
    const char* arguments; // what remains after the program name and blanks
};

TEST(CommandLineArguments, SkipsTheProgramNameAndTheBlanksAfterIt) {
    const SkipCase cases[] = {
        {"saver.scr /s", "/s"},
        {"\"C:\\Program Files\\saver.scr\" /s", "/s"},
        {"\"C:\\My Savers\\saver.scr\"/p 12", "/p 12"},
        {"\"unterminated quote /s", ""},
        {"\"\" /c", "/c"},
        {"saver.scr", ""},
        {"", ""},
        {"saver.scr \t\r\n\x01\x1f s", "s"},
        {"saver.scr\t/c:99", "/c:99"},
        {"   /s", "/s"},            // a line that starts with blanks has an empty program name
        {"sa\xe9ver.scr /s", "/s"}, // characters above 127 belong to the name
        {"saver.scr /s trailing", "/s trailing"},
    };
    for (const SkipCase& c : cases) {
        EXPECT_STREQ(CommandLineArguments(c.line), c.arguments) << "line: " << c.line;
    }
}

TEST(CommandLineArguments, NullLineReadsAsEmpty) {
    EXPECT_STREQ(CommandLineArguments(nullptr), "");
    EXPECT_STREQ(SkipProgramName(nullptr), "");
    EXPECT_STREQ(SkipControlCharacters(nullptr), "");
}

TEST(CommandLineArguments, QuotedNameKeepsBlanksInside) {
    const char* line = "\"a b\"c /s";
    EXPECT_STREQ(SkipProgramName(line), "c /s");
}

TEST(CommandLineArguments, ControlSkippingStopsAtTheFirstPrintable) {
    EXPECT_STREQ(SkipControlCharacters("\x01\x02 \x7f"), "\x7f");
    EXPECT_STREQ(SkipControlCharacters(" !"), "!");
}

struct HandleCase {
    const char* text;
    uint32_t value;
};

TEST(ParseWindowHandle, ReadsLeadingDecimalDigitsWithWrap) {
    const HandleCase cases[] = {
        {"1234", 1234u},
        {"0", 0u},
        {"", 0u},
        {"abc", 0u},
        {" 12", 0u}, // no blank skipping here
        {":1234", 0u},
        {"12ab34", 12u},
        {"4294967295", 4294967295u},
        {"4294967296", 0u}, // 2^32 wraps to 0
        {"4294967297", 1u},
        {"99999999999", 1215752191u}, // 99999999999 mod 2^32
        {"00042", 42u},
        {"-5", 0u},
        {"7/", 7u},
    };
    for (const HandleCase& c : cases) {
        EXPECT_EQ(ParseWindowHandle(c.text), c.value) << "text: " << c.text;
    }
    EXPECT_EQ(ParseWindowHandle(nullptr), 0u);
}

struct SwitchCase {
    const char* arguments;
    SaverCommand command;
    bool handleGiven;
    uint32_t handle;
};

TEST(ParseSaverCommandLine, ChoosesTheModeByTheFirstSwitchLetter) {
    const SwitchCase cases[] = {
        {"", SaverCommand::ConfigureAlone, false, 0},
        {"   ", SaverCommand::ConfigureAlone, false, 0},
        {"/", SaverCommand::ConfigureAlone, false, 0},
        {"/s", SaverCommand::Run, false, 0},
        {"-S", SaverCommand::Run, false, 0},
        {" s", SaverCommand::Run, false, 0},
        {"--//  s", SaverCommand::Run, false, 0},
        {"/save", SaverCommand::Run, false, 0},
        {"/c", SaverCommand::Configure, false, 0},
        {"/C 1234", SaverCommand::Configure, false, 0}, // no colon: the foreground window
        {"/c:1234", SaverCommand::Configure, true, 1234},
        {"/c:", SaverCommand::Configure, true, 0},
        {"/c: 12", SaverCommand::Configure, true, 0},
        {"/p 1234", SaverCommand::Preview, true, 1234},
        {"/P1234", SaverCommand::Preview, true, 1234},
        {"/l   77", SaverCommand::Preview, true, 77},
        {"/p:1234", SaverCommand::Preview, true, 0},
        {"/p", SaverCommand::Preview, true, 0},
        {"/a 55", SaverCommand::ChangePassword, true, 55},
        {"/A", SaverCommand::ChangePassword, true, 0},
        {"/x", SaverCommand::Invalid, false, 0},
        {"s", SaverCommand::Run, false, 0},
        {"\t/s", SaverCommand::Invalid, false, 0}, // a tab is not skipped here
        {":s", SaverCommand::Invalid, false, 0},
        {"1", SaverCommand::Invalid, false, 0},
    };
    for (const SwitchCase& c : cases) {
        SaverCommandLine parsed = ParseSaverCommandLine(c.arguments);
        EXPECT_EQ(parsed.command, c.command) << "arguments: '" << c.arguments << "'";
        EXPECT_EQ(parsed.handleGiven != 0, c.handleGiven) << "arguments: '" << c.arguments << "'";
        EXPECT_EQ(parsed.handle, c.handle) << "arguments: '" << c.arguments << "'";
    }
    EXPECT_EQ(ParseSaverCommandLine(nullptr).command, SaverCommand::ConfigureAlone);
}

TEST(ParseSaverCommandLine, WholeProcessLineEndToEnd) {
    const char* line = "\"C:\\Windows\\Quillfrost.scr\" /p 65552";
    SaverCommandLine parsed = ParseSaverCommandLine(CommandLineArguments(line));
    EXPECT_EQ(parsed.command, SaverCommand::Preview);
    EXPECT_EQ(parsed.handle, 65552u);
}

} // namespace
