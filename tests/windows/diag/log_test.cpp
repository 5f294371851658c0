#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "windows/diag/log.h"
#include "platform/local_app_data.h"

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
const char* const kNewline = "\r\n";
const char* const kQuiet = " 2>NUL"; // the debugger lines of a started writer
#else
const char* const kNewline = "\n";
const char* const kQuiet = " 2>/dev/null";
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
    static std::string Bytes(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static std::string FileBytes() { return Bytes("log.txt"); }
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

TEST_F(LogFileTest, ALogThatCannotBeOpenedHereGoesToTheUsersOwnFolder) {
    // A directory in the way of the file makes every open here fail.
    fs::create_directory("log.txt");
#ifndef _WIN32
    // Natively a folder of the test's stands in for %LOCALAPPDATA%.
    setenv("LOCALAPPDATA", (dir_ / "AppData").string().c_str(), 1);
#endif
    const fs::path appData = PlatformLocalAppData();
    ASSERT_FALSE(appData.empty()) << "no %LOCALAPPDATA%";
    const fs::path userLog = appData / "Nubrisk" / "Quillfrost" / "log.txt";
    const std::string earlier = Bytes(userLog);
    LogMessage("dhHandleLostDevice ", kDeviceLost);
    EXPECT_TRUE(fs::is_directory("log.txt"));
    const std::string written = Bytes(userLog);
#ifdef _WIN32
    // Wine's own folder: what was there before stays.
    if (earlier.empty()) {
        fs::remove(userLog);
    } else {
        std::ofstream(userLog, std::ios::binary) << earlier;
    }
#endif
    EXPECT_EQ(written, earlier + "dhHandleLostDevice  : D3DERR_DEVICELOST" + kNewline);

#ifndef _WIN32
    // With no folder of the user's either, the line reaches only the debugger.
    unsetenv("LOCALAPPDATA");
    ::testing::internal::CaptureStderr();
    LogMessage("dhHandleLostDevice ", kDeviceLost);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "dhHandleLostDevice  : D3DERR_DEVICELOST\nError writing to log file\n");
#endif
    // The next call writes here again once the way is clear.
    fs::remove("log.txt");
    LogMessage("after", 0);
    EXPECT_EQ(FileBytes(), std::string("after") + kNewline);
}

TEST_F(LogFileTest, ALogHereIsOnlyAppendedToHoweverLarge) {
    // Another program's log.txt in the folder the saver was started from.
    const std::string earlier(1024 * 1024 + 1, 'x');
    std::ofstream("log.old.txt", std::ios::binary) << "theirs";
    std::ofstream("log.txt", std::ios::binary) << earlier;
    LogMessage("past it", 0);
    EXPECT_EQ(Bytes("log.old.txt"), "theirs");
    EXPECT_EQ(FileBytes(), earlier + "past it" + kNewline);
}

// Several savers log at once into the user's own folder, starting just under
// 1 MiB: the full log is set aside once, and every line is there whole and
// exactly once, in log.old.txt or log.txt.
TEST_F(LogFileTest, SeveralWritersInTheUsersFolderLoseAndCutNoLine) {
    fs::create_directory("log.txt"); // the lines go to the user's folder
#ifndef _WIN32
    setenv("LOCALAPPDATA", (dir_ / "AppData").string().c_str(), 1);
#endif
    const fs::path folder = PlatformLocalAppData() / "Nubrisk" / "Quillfrost";
    fs::create_directories(folder);
    // Wine's own folder: what is there now is put back afterwards.
    const std::string keptLog = Bytes(folder / "log.txt");
    const std::string keptOld = Bytes(folder / "log.old.txt");
    const std::string first = std::string(1024 * 1024 - 4096, 'x') + kNewline;
    std::ofstream(folder / "log.txt", std::ios::binary) << first;
    fs::remove(folder / "log.old.txt");

    constexpr int kWriters = 4;
    constexpr int kLines = 1500;
    std::string writer = QF_LOG_WRITER;
#ifdef _WIN32
    // Built on this machine: its folder as Wine's drive Z: shows it.
    writer = "Z:" + writer;
    std::replace(writer.begin(), writer.end(), '/', '\\');
#endif
    std::vector<std::thread> writers;
    std::vector<int> status(kWriters, -1);
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([&, w] {
            status[w] = std::system(
                ('"' + writer + "\" " + std::to_string(w) + " " + std::to_string(kLines) + kQuiet)
                    .c_str());
        });
    }
    for (std::thread& t : writers) {
        t.join();
    }
    const std::string old = Bytes(folder / "log.old.txt");
    const std::string all = old + Bytes(folder / "log.txt");
    for (const auto& [name, kept] : {std::pair{"log.txt", keptLog}, {"log.old.txt", keptOld}}) {
        fs::remove(folder / name);
        if (!kept.empty()) {
            std::ofstream(folder / name, std::ios::binary) << kept;
        }
    }

    EXPECT_EQ(status, std::vector<int>(kWriters, 0));
    ASSERT_EQ(old.compare(0, first.size(), first), 0) << "the first megabyte is not set aside";
    std::vector<std::vector<int>> seen(kWriters, std::vector<int>(kLines, 0));
    std::istringstream lines(all.substr(first.size()));
    std::string line;
    int broken = 0;
    const bool crlf = std::string(kNewline) == "\r\n";
    while (std::getline(lines, line)) {
        int w = -1;
        int i = -1;
        const bool ended = !crlf || (!line.empty() && line.back() == '\r');
        if (crlf && ended) {
            line.pop_back();
        }
        if (ended &&
            std::sscanf(line.c_str(), "dhHandleLostDevice writer %d line %d", &w, &i) == 2 &&
            w >= 0 && w < kWriters && i >= 0 && i < kLines &&
            line == "dhHandleLostDevice writer " + std::to_string(w) + " line " +
                        std::to_string(i) + " : D3DERR_DEVICELOST") {
            ++seen[w][i];
        } else {
            ++broken;
        }
    }
    EXPECT_EQ(broken, 0) << "lines cut or run together";
    int missing = 0;
    int twice = 0;
    for (const auto& writerLines : seen) {
        for (int count : writerLines) {
            missing += count == 0;
            twice += count > 1;
        }
    }
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(twice, 0);
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
