// The saver wired to the real device, drawing and simulation, started as the
// system starts it: snow on the screen in a full-screen run.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "support/desktop_input.h"
#include "snow_picture.h"
#include "support/saver_process.h"

namespace {

using qf_test::ChildProcess;

constexpr DWORD kStartMs = 20000;
constexpr DWORD kEndMs = 15000;

std::string SaverPath() {
    return qf_test::WindowsPath(QF_SAVER_PATH);
}

TEST(SnowEndToEnd, AFullScreenRunShowsSnowAndEndsOnAKey) {
    ASSERT_TRUE(qf_test::MoveCursorTo(640, 512));
    ChildProcess saver;
    ASSERT_TRUE(saver.Start(SaverPath(), "/s"));
    HWND window = qf_test::WaitForTopLevelWindow(saver.Id(), "WindowsScreenSaverClass",
                                                 "Screen Saver", kStartMs);
    ASSERT_NE(window, nullptr);
    // Every 2 s for as long as a slow machine needs for the flakes to drift
    // in (up to two minutes): the capture with the most spots counts.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    std::vector<int> grey;
    SnowPicture picture = {0, 0.0, 0};
    for (int capture = 0; capture < 60 && picture.spots < 50; ++capture) {
        qf_test::PumpFor(2000);
        ASSERT_TRUE(saver.Running());
        std::vector<int> next = CaptureScreen(0, 0, width, height);
        ASSERT_FALSE(next.empty());
        const SnowPicture analysed = Analyse(next, width, height);
        if (analysed.spots >= picture.spots) {
            picture = analysed;
            grey.swap(next);
        }
    }
    SavePicture("snow_full_screen.pgm", grey, width, height);
    EXPECT_GE(picture.spots, 50) << "bright spots";
    EXPECT_GT(picture.blackShare, 0.5);
    EXPECT_GT(picture.softPixels, picture.spots * 4) << "spots should glow softly";

    ASSERT_TRUE(qf_test::PressKey(VK_SPACE));
    auto code = saver.WaitExit(kEndMs);
    ASSERT_TRUE(code.has_value()) << "a key press did not end the run";
    EXPECT_EQ(*code, 0u);
}

} // namespace
