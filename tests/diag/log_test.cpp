#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "diag/log.h"

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
const char* const kNewline = "\r\n";
#else
const char* const kNewline = "\n";
#endif

const int32_t kDeviceLost = static_cast<int32_t>(0x88760868u);
const int32_t kDeviceNotReset = static_cast<int32_t>(0x88760869u);

// Each test runs in a directory of its own, so "log.txt" starts missing.
class LogFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = fs::current_path();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / (std::string("qf_log_") + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }
    static std::string FileBytes() {
        std::ifstream in("log.txt", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    fs::path previous_;
    fs::path dir_;
};

TEST_F(LogFileTest, LinesAreWrittenAsSpecifiedForEachKindOfCode) {
    LogMessage("dhFind16BitMode failed to find a usable mode", 0);
    LogMessage("dhHandleLostDevice ", kDeviceLost);
    LogMessage("dhHandleLostDevice ", kDeviceNotReset);
    LogMessage("odd", 0x12345678);
    const std::string n = kNewline;
    EXPECT_EQ(FileBytes(), "dhFind16BitMode failed to find a usable mode" + n +
                               "dhHandleLostDevice  : D3DERR_DEVICELOST" + n +
                               "dhHandleLostDevice  : D3DERR_DEVICENOTRESET" + n + "odd : Unknown" +
                               n);
}

TEST_F(LogFileTest, AppendsToAnExistingFileWithoutTruncating) {
    {
        std::ofstream earlier("log.txt", std::ios::binary);
        earlier << "earlier contents" << kNewline;
    }
    LogMessage("first", 0);
    LogMessage("second", 0);
    const std::string n = kNewline;
    EXPECT_EQ(FileBytes(), "earlier contents" + n + "first" + n + "second" + n);
}

TEST_F(LogFileTest, AFileThatCannotBeOpenedIsSurvived) {
    // A directory in the way of the file makes every open fail.
    fs::create_directory("log.txt");
#ifndef _WIN32
    ::testing::internal::CaptureStderr();
#endif
    LogMessage("dhHandleLostDevice ", kDeviceLost);
#ifndef _WIN32
    const std::string debugger = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(debugger, "dhHandleLostDevice  : D3DERR_DEVICELOST\nError writing to log file\n");
#endif
    EXPECT_TRUE(fs::is_directory("log.txt"));
    // The next call still works once the way is clear.
    fs::remove("log.txt");
    LogMessage("after", 0);
    EXPECT_EQ(FileBytes(), std::string("after") + kNewline);
}

#ifndef _WIN32
TEST_F(LogFileTest, TheDebuggerChannelGetsTheSameLine) {
    ::testing::internal::CaptureStderr();
    LogMessage("message", kDeviceLost);
    LogMessage("plain", 0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "message : D3DERR_DEVICELOST\nplain\n");
}
#endif

TEST(ResultCodeName, NamesTheCodesThisProgramPasses) {
    EXPECT_STREQ(ResultCodeName(kDeviceLost), "D3DERR_DEVICELOST");
    EXPECT_STREQ(ResultCodeName(kDeviceNotReset), "D3DERR_DEVICENOTRESET");
    EXPECT_STREQ(ResultCodeName(static_cast<int32_t>(0x8876086Cu)), "D3DERR_INVALIDCALL");
}

TEST(ResultCodeName, JoinsTheNamesOfOneValue) {
    const std::string outOfMemory = ResultCodeName(static_cast<int32_t>(0x8007000Eu));
    EXPECT_NE(outOfMemory.find("E_OUTOFMEMORY"), std::string::npos);
    EXPECT_NE(outOfMemory.find("DDERR_OUTOFMEMORY"), std::string::npos);
    EXPECT_NE(outOfMemory.find(" & "), std::string::npos);
    const std::string fail = ResultCodeName(static_cast<int32_t>(0x80004005u));
    EXPECT_EQ(fail.rfind("E_FAIL & ", 0), 0u);
}

TEST(ResultCodeName, CoversWin32DirectXAndComCodes) {
    // ERROR_FILE_NOT_FOUND in its result-code form.
    EXPECT_NE(
        std::string(ResultCodeName(static_cast<int32_t>(0x80070002u))).find("ERROR_FILE_NOT_FOUND"),
        std::string::npos);
    EXPECT_STREQ(ResultCodeName(static_cast<int32_t>(0x88780078u)), "DSERR_NODRIVER");
    EXPECT_STREQ(ResultCodeName(static_cast<int32_t>(0x887601C2u)), "DDERR_SURFACELOST");
    EXPECT_STREQ(ResultCodeName(static_cast<int32_t>(0x88760B59u)), "D3DXERR_INVALIDDATA");
    EXPECT_STREQ(ResultCodeName(static_cast<int32_t>(0x0876086Fu)), "D3DOK_NOAUTOGEN");
    EXPECT_STREQ(ResultCodeName(static_cast<int32_t>(0x800401F0u)),
                 "CO_E_NOTINITIALIZED & DDERR_NOTINITIALIZED");
}

TEST(ResultCodeName, CodesWithoutANameAreUnknown) {
    EXPECT_STREQ(ResultCodeName(0x12345678), "Unknown");
    EXPECT_STREQ(ResultCodeName(static_cast<int32_t>(0xFFFFFFFFu)), "Unknown");
    EXPECT_STREQ(ResultCodeName(static_cast<int32_t>(0x88760867u + 0x1000u)), "Unknown");
}

} // namespace
