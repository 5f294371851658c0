// Quillfrost.scr's settings from outside: the configuration dialog driven
// with real mouse and keyboard input, the values it stores read back with
// reg.exe, and the next full-screen runs drawing as many flakes as were stored.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "dialog_driver.h"
#include "reg_query.h"
#include "windows/settings/settings_key.h"
#include "snow_picture.h"
#include "support/desktop_input.h"
#include "support/saver_process.h"

namespace {

using qf_test::ChildProcess;

constexpr char kKey[] = "Software\\Nubrisk\\Quillfrost";
constexpr DWORD kStartMs = 30000; // Wine may be slow to start a process
constexpr DWORD kInputMs = 5000;
constexpr DWORD kEndMs = 20000;
// A full-screen run is watched until its snow shows, and at most the longer
// time: the flakes drift in over tens of seconds, and a capture may catch a
// frame only partly on the screen, so what counts is the most spots of any
// capture. A count that must not be passed is judged only once every flake
// is out: one is released every 200 ms of a 100-flake run.
constexpr DWORD kAllOfFewReleasedMs = 21000;
constexpr DWORD kWatchLimitMs = 180000;
constexpr DWORD kCaptureEveryMs = 2000;

// Quantity 0 means 100 flakes; a few may touch and merge into one spot, none
// draws as two.
constexpr int kMostSpotsOfFewFlakes = 110;
constexpr int kSpotsShowingSnow = 10;
constexpr int kSpotsOfManyFlakes = 300;

std::string SaverPath() {
    return qf_test::WindowsPath(QF_SAVER_PATH);
}

std::string Counts(const std::vector<int>& counts) {
    std::string text;
    for (int count : counts) {
        text += std::to_string(count) + " ";
    }
    return text;
}

// Every test starts without the settings key; whatever was stored before is
// put back afterwards, however the test ends.
class SettingsEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(SettingsKeyExists());
        const RegQueryResult before = RunRegQuery(kKey);
        ASSERT_TRUE(before.ran) << "reg.exe could not be run";
        ASSERT_NE(before.exitCode, 0u) << "reg.exe finds a key that was removed:\n"
                                       << before.output;
    }

    // Starts "Quillfrost.scr /c" and waits for its dialog.
    ConfigDialogWindow OpenDialog(ChildProcess& saver) {
        EXPECT_TRUE(qf_test::MoveCursorTo(8, 8));
        EXPECT_TRUE(saver.Start(SaverPath(), "/c"));
        ConfigDialogWindow window = WaitForConfigDialog(saver.Id(), kStartMs);
        EXPECT_NE(window.dialog, nullptr) << "no \"Palewisp Setup\" dialog";
        saver.WaitIdle(kStartMs);
        return window;
    }

    // The dialog with the particles track bar set by Home or End and
    // accepted with Enter; the exit code of the dialog's process.
    void StoreParticlesThroughDialog(WORD key, LRESULT position) {
        ChildProcess saver;
        ConfigDialogWindow window = OpenDialog(saver);
        ASSERT_NE(window.dialog, nullptr);
        ASSERT_TRUE(FocusTrackBar(window.particles, kInputMs));
        ASSERT_TRUE(PressKeyUntilPosition(window.particles, key, position, kInputMs))
            << "particles at " << TrackBarPosition(window.particles).value_or(-1);
        ASSERT_TRUE(qf_test::PressKey(VK_RETURN));
        auto code = saver.WaitExit(kEndMs);
        ASSERT_TRUE(code.has_value()) << "Enter did not close the dialog";
        EXPECT_EQ(*code, 1u) << "OK ends the dialog with TRUE";
    }

    // Watches a full-screen run: captures the screen every few seconds for
    // at least minimumMs and until `enough` holds of the most spots seen (or
    // the limit); ends the run with a key. Returns every count seen.
    template <typename Enough>
    std::vector<int> WatchFullScreenRun(const char* pictureName, DWORD minimumMs, Enough enough) {
        std::vector<int> counts;
        EXPECT_TRUE(qf_test::MoveCursorTo(640, 512));
        ChildProcess saver;
        EXPECT_TRUE(saver.Start(SaverPath(), "/s"));
        HWND window = qf_test::WaitForTopLevelWindow(saver.Id(), "WindowsScreenSaverClass",
                                                     "Screen Saver", kStartMs);
        EXPECT_NE(window, nullptr) << "no full-screen window";
        if (!window) {
            return counts;
        }
        const int width = GetSystemMetrics(SM_CXSCREEN);
        const int height = GetSystemMetrics(SM_CYSCREEN);
        const DWORD start = GetTickCount();
        std::vector<int> grey;
        for (;;) {
            qf_test::PumpFor(kCaptureEveryMs);
            if (!saver.Running()) {
                ADD_FAILURE() << "the run ended by itself";
                return counts;
            }
            grey = CaptureScreen(0, 0, width, height);
            EXPECT_FALSE(grey.empty());
            counts.push_back(Analyse(grey, width, height).spots);
            const DWORD elapsed = GetTickCount() - start;
            const int most = *std::max_element(counts.begin(), counts.end());
            if ((elapsed >= minimumMs && enough(most)) || elapsed >= kWatchLimitMs) {
                break;
            }
        }
        SavePicture(pictureName, grey, width, height);
        std::printf("%s: spots every %lu ms: %s\n", pictureName,
                    static_cast<unsigned long>(kCaptureEveryMs), Counts(counts).c_str());
        EXPECT_TRUE(qf_test::PressKey(VK_SPACE));
        auto code = saver.WaitExit(kEndMs);
        EXPECT_TRUE(code.has_value()) << "a key press did not end the run";
        EXPECT_EQ(code.value_or(99), 0u);
        return counts;
    }

    SettingsKeyGuard guard_;
};

TEST_F(SettingsEndToEnd, FirstDialogShowsDefaultsAndStoresWhatRealInputSets) {
    ChildProcess saver;
    ConfigDialogWindow window = OpenDialog(saver);
    ASSERT_NE(window.dialog, nullptr);
    ASSERT_NE(window.particles, nullptr);
    ASSERT_NE(window.wind, nullptr);
    ASSERT_NE(window.fractalWind, nullptr);
    ASSERT_NE(window.ok, nullptr);
    EXPECT_EQ(TrackBarPosition(window.particles), 50);
    EXPECT_EQ(TrackBarPosition(window.wind), 50);
    EXPECT_EQ(CheckState(window.fractalWind), BST_CHECKED);
    EXPECT_FALSE(SettingsKeyExists()) << "opening the dialog stores nothing";

    // Particles: Home, then seven steps right.
    ASSERT_TRUE(FocusTrackBar(window.particles, kInputMs));
    ASSERT_TRUE(PressKeyUntilPosition(window.particles, VK_HOME, 0, kInputMs));
    for (LRESULT position = 1; position <= 7; ++position) {
        ASSERT_TRUE(PressKeyUntilPosition(window.particles, VK_RIGHT, position, kInputMs))
            << "particles at " << TrackBarPosition(window.particles).value_or(-1) << ", expected "
            << position;
    }
    // Wind: End, then two steps left.
    ASSERT_TRUE(FocusTrackBar(window.wind, kInputMs));
    ASSERT_TRUE(PressKeyUntilPosition(window.wind, VK_END, 100, kInputMs));
    ASSERT_TRUE(PressKeyUntilPosition(window.wind, VK_LEFT, 99, kInputMs));
    ASSERT_TRUE(PressKeyUntilPosition(window.wind, VK_LEFT, 98, kInputMs));
    EXPECT_EQ(TrackBarPosition(window.particles), 7) << "the wind keys moved the particles";
    // "Fractal Wind" off with a click on its box.
    RECT box = {};
    GetClientRect(window.fractalWind, &box);
    ASSERT_TRUE(ClickControlAt(window.fractalWind, 6, box.bottom / 2));
    ASSERT_TRUE(qf_test::WaitUntil([&] { return CheckState(window.fractalWind) == BST_UNCHECKED; },
                                   kInputMs));
    EXPECT_FALSE(SettingsKeyExists()) << "moving the controls stores nothing";

    ASSERT_TRUE(ClickControl(window.ok));
    auto code = saver.WaitExit(kEndMs);
    ASSERT_TRUE(code.has_value()) << "a click on OK did not close the dialog";
    EXPECT_EQ(*code, 1u) << "OK ends the dialog with TRUE";

    const RegQueryResult stored = RunRegQuery(kKey);
    ASSERT_TRUE(stored.ran);
    ASSERT_EQ(stored.exitCode, 0u) << stored.output;
    EXPECT_NE(stored.output.find("HKEY_CURRENT_USER\\Software\\Nubrisk\\Quillfrost"),
              std::string::npos)
        << stored.output;
    EXPECT_EQ(stored.values.size(), 3u) << stored.output;
    EXPECT_EQ(DwordOf(stored, "Quantity"), 7u) << stored.output;
    EXPECT_EQ(DwordOf(stored, "Speed"), 98u) << stored.output;
    EXPECT_EQ(DwordOf(stored, "FractalWind"), 0u) << stored.output;
    // The same through the registry calls themselves.
    EXPECT_EQ(ReadStoredDword("Quantity"), 7u);
    EXPECT_EQ(ReadStoredDword("Speed"), 98u);
    EXPECT_EQ(ReadStoredDword("FractalWind"), 0u);

    // The next opening shows what was stored.
    ChildProcess again;
    ConfigDialogWindow reopened = OpenDialog(again);
    ASSERT_NE(reopened.dialog, nullptr);
    EXPECT_EQ(TrackBarPosition(reopened.particles), 7);
    EXPECT_EQ(TrackBarPosition(reopened.wind), 98);
    EXPECT_EQ(CheckState(reopened.fractalWind), BST_UNCHECKED);
    PostMessageA(reopened.dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(again.WaitExit(kEndMs), 0u);
}

TEST_F(SettingsEndToEnd, TheNextFullScreenRunDrawsAsManyFlakesAsStored) {
    // Fewest particles: 100 flakes.
    StoreParticlesThroughDialog(VK_HOME, 0);
    if (HasFatalFailure()) {
        return;
    }
    const RegQueryResult few = RunRegQuery(kKey);
    ASSERT_EQ(DwordOf(few, "Quantity"), 0u) << few.output;
    const std::vector<int> fewCounts =
        WatchFullScreenRun("settings_few_flakes.pgm", kAllOfFewReleasedMs,
                           [](int spots) { return spots >= kSpotsShowingSnow; });
    ASSERT_FALSE(fewCounts.empty());
    const int mostFew = *std::max_element(fewCounts.begin(), fewCounts.end());
    EXPECT_GE(mostFew, kSpotsShowingSnow) << "spots seen: " << Counts(fewCounts);
    EXPECT_LE(mostFew, kMostSpotsOfFewFlakes) << "spots seen: " << Counts(fewCounts);

    // Most particles: 5000 flakes.
    StoreParticlesThroughDialog(VK_END, 100);
    if (HasFatalFailure()) {
        return;
    }
    const RegQueryResult many = RunRegQuery(kKey);
    ASSERT_EQ(DwordOf(many, "Quantity"), 100u) << many.output;
    const std::vector<int> manyCounts = WatchFullScreenRun(
        "settings_many_flakes.pgm", 0, [](int spots) { return spots > kSpotsOfManyFlakes; });
    ASSERT_FALSE(manyCounts.empty());
    const int mostMany = *std::max_element(manyCounts.begin(), manyCounts.end());
    EXPECT_GT(mostMany, kSpotsOfManyFlakes) << "spots seen: " << Counts(manyCounts);
    EXPECT_GT(mostMany, 3 * mostFew);
}

// What a short full-screen run writes to its standard output.
std::string OutputOfAShortRun() {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    const char* path = "saver_output.txt";
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    ChildProcess saver;
    EXPECT_TRUE(qf_test::MoveCursorTo(640, 512));
    EXPECT_TRUE(saver.Start(SaverPath(), "/s", file));
    EXPECT_NE(qf_test::WaitForTopLevelWindow(saver.Id(), "WindowsScreenSaverClass", "Screen Saver",
                                             kStartMs),
              nullptr);
    qf_test::PumpFor(2000);
    EXPECT_TRUE(qf_test::PressKey(VK_SPACE));
    EXPECT_EQ(saver.WaitExit(kEndMs).value_or(99), 0u);
    CloseHandle(file);
    std::string text;
    if (FILE* in = std::fopen(path, "rb")) {
        char chunk[256];
        size_t got = 0;
        while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0) {
            text.append(chunk, got);
        }
        std::fclose(in);
    }
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

TEST_F(SettingsEndToEnd, AFractalWindRunReadsOneOfTheStoredTables) {
    StoreDword("Quantity", 0);
    StoreDword("FractalWind", 1);
    // The parser's report of a whole 16 x 16 x 16 x 16 table.
    EXPECT_EQ(OutputOfAShortRun(), "[16 16 16 16] (65563) 65562\n65563\n");
    StoreDword("FractalWind", 0);
    EXPECT_EQ(OutputOfAShortRun(), "");
}

TEST_F(SettingsEndToEnd, EscapeClosesTheDialogAndStoresNothing) {
    ChildProcess saver;
    ConfigDialogWindow window = OpenDialog(saver);
    ASSERT_NE(window.dialog, nullptr);
    ASSERT_TRUE(FocusTrackBar(window.particles, kInputMs));
    ASSERT_TRUE(PressKeyUntilPosition(window.particles, VK_HOME, 0, kInputMs));
    ASSERT_TRUE(qf_test::PressKey(VK_ESCAPE));
    auto code = saver.WaitExit(kEndMs);
    ASSERT_TRUE(code.has_value()) << "Esc did not close the dialog";
    EXPECT_EQ(*code, 0u) << "Cancel ends the dialog with FALSE";

    EXPECT_FALSE(SettingsKeyExists());
    const RegQueryResult after = RunRegQuery(kKey);
    ASSERT_TRUE(after.ran);
    EXPECT_NE(after.exitCode, 0u) << after.output;
    EXPECT_TRUE(after.values.empty()) << after.output;
}

} // namespace
