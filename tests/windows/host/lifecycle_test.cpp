// Creation, frames and teardown of a saver run, driven through a real saver
// window with counting doubles for the steps.
#include <string>
#include <vector>

#include "windows/host/saver_lifecycle.h"
#include "windows/host/saver_state.h"
#include "windows/settings/settings_store.h"
#include "saver_fixture.h"
#include "step_doubles.h"

namespace {

using Calls = std::vector<std::string>;

const Calls kCreationSteps = {
    "LoadSettings",   "dhCreateDirect3D",  "dhChooseBackBufferFormat", "dhFillPresentParameters",
    "dhCreateDevice", "LoadSpriteTexture", "ApplyRenderStates",        "SetupCamera",
    "StartSnowRun",
};

using SaverLifecycleTest = SaverWindowTest;

TEST_F(SaverLifecycleTest, FullScreenCreationRunsEveryStepInOrderAndStartsTheTimer) {
    gSteps.settings = Settings{0.25f, 0.75f, 0};
    CreateFullScreen();
    EXPECT_EQ(gSteps.calls, kCreationSteps);
    // The settings read once; the run starts from that copy, over the window.
    gSettings = Settings{};
    EXPECT_EQ(gSaverState.settings.Quantity, 0.25f);
    EXPECT_EQ(gSteps.runChoice.settings.Quantity, 0.25f);
    EXPECT_EQ(gSteps.runChoice.settings.Speed, 0.75f);
    EXPECT_EQ(gSteps.runChoice.settings.FractalWind, 0);
    EXPECT_EQ(gSteps.runChoice.seedGiven, 0) << "the clock seeds a saver run";
    EXPECT_EQ(gSteps.runChoice.viewWidth, gSaverState.clientWidth);
    EXPECT_EQ(gSaverState.clientWidth, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(gSaverState.clientHeight, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    EXPECT_EQ(gSteps.presentWidth, gSaverState.clientWidth);
    EXPECT_EQ(gSteps.cameraHeight, gSaverState.clientHeight);
    HDC context = GetDC(window_);
    EXPECT_EQ(gSteps.colourDepth, static_cast<uint8_t>(GetDeviceCaps(context, BITSPIXEL)));
    ReleaseDC(window_, context);
    EXPECT_NE(gSaverState.run.tickClock, nullptr);
    EXPECT_NE(gSaverState.run.flakeScene, nullptr);
    EXPECT_NE(gSaverState.run.vertices, nullptr);
    EXPECT_TRUE(KillTimer(window_, kFrameTimerId)) << "the frame timer was not started";
}

TEST_F(SaverLifecycleTest, PreviewRunsWindowedWithTheParentsClientSize) {
    CreatePreview(320, 240);
    EXPECT_EQ(gSteps.fullScreen, 0);
    EXPECT_EQ(gSaverState.clientWidth, 320);
    EXPECT_EQ(gSaverState.clientHeight, 240);
    EXPECT_EQ(gSteps.cameraWidth, 320);
    EXPECT_TRUE(KillTimer(window_, kFrameTimerId));
}

// The run is full screen when the client area is at least the screen's
// full-screen client area; a preview parent gives any client size.
TEST_F(SaverLifecycleTest, FullScreenFlagComesFromTheFullScreenClientArea) {
    const int fullWidth = GetSystemMetrics(SM_CXFULLSCREEN);
    const int fullHeight = GetSystemMetrics(SM_CYFULLSCREEN);
    struct SizeCase {
        int width;
        int height;
        uint8_t fullScreen;
    };
    const SizeCase cases[] = {
        {fullWidth, fullHeight, 1},
        {fullWidth + 3, fullHeight + 1, 1},
        {fullWidth - 1, fullHeight, 0},
        {fullWidth, fullHeight - 1, 0},
        {200, 150, 0},
    };
    for (const SizeCase& c : cases) {
        SetUp();
        CreatePreview(c.width, c.height);
        ASSERT_EQ(gSaverState.clientWidth, c.width);
        ASSERT_EQ(gSaverState.clientHeight, c.height);
        EXPECT_EQ(gSteps.fullScreen, c.fullScreen) << c.width << " x " << c.height;
        TearDown();
    }
}

TEST_F(SaverLifecycleTest, FailedSpriteLeavesABlackWindowWithoutTimerOrFrames) {
    gSteps.spriteResult = E_FAIL;
    CreateFullScreen();
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_EQ(CountCalls("StartSnowRun"), 0);
    EXPECT_EQ(CountCalls("dhReleaseDevice"), 1);
    EXPECT_FALSE(KillTimer(window_, kFrameTimerId));
    SendMessageA(window_, WM_TIMER, kFrameTimerId, 0);
    EXPECT_EQ(gSteps.tickUpdates, 0);

    DestroyWindow(window_);
    EXPECT_EQ(gSaverState.run.vertices, nullptr);
}

TEST_F(SaverLifecycleTest, VertexArrayThatCannotBeAllocatedEndsTheRunCleanly) {
    gSteps.startRunResult = kSnowRunNoMemoryForVertices;
    CreateFullScreen();
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_EQ(CountCalls("dhReleaseDevice"), 1);
    EXPECT_FALSE(KillTimer(window_, kFrameTimerId));
    DestroyWindow(window_);
    // The scene made before the failure is released with the window.
    EXPECT_EQ(CountCalls("EndSnowRun"), 1);
    EXPECT_EQ(gSaverState.run.flakeScene, nullptr);
    EXPECT_EQ(gSaverState.run.tickClock, nullptr);
}

TEST_F(SaverLifecycleTest, AnyTimerMessageRunsOneFrameWithTheStepInMicroseconds) {
    CreateFullScreen();
    KillTimer(window_, kFrameTimerId);
    TakePostedCloses();
    const int before = gSteps.tickUpdates;
    gSteps.stepMs = 700; // a frame 700 ms late moves the flakes by 700 ms
    SendMessageA(window_, WM_TIMER, kFrameTimerId, 0);
    EXPECT_EQ(gSteps.lastStepMicroseconds, 700000u);
    gSteps.stepMs = 40000;
    SendMessageA(window_, WM_TIMER, 77, 0);
    EXPECT_EQ(gSteps.tickUpdates, before + 2);
    EXPECT_EQ(gSteps.lastStepMicroseconds, 40000000u);
    gSteps.stepMs = 1;
    SendMessageA(window_, WM_TIMER, kFrameTimerId, 0);
    EXPECT_EQ(gSteps.tickUpdates, before + 3);
    EXPECT_EQ(gSteps.lastStepMicroseconds, 1000u);
    // No device is held: the device test and the drawing are skipped.
    EXPECT_EQ(CountCalls("BuildFlakeVertices"), 0);
    EXPECT_EQ(CountCalls("DrawFlakes"), 0);
}

TEST_F(SaverLifecycleTest, TimerFramesArriveEveryTenMilliseconds) {
    CreateFullScreen();
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 1000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        TakePostedCloses();
    }
    // About a hundred frames in a second; a 20 ms period gives at most 50.
    EXPECT_GE(gSteps.tickUpdates, 60);
    EXPECT_LE(gSteps.tickUpdates, 110);
}

TEST_F(SaverLifecycleTest, DestructionReleasesInOrderAndPostsQuit) {
    CreateFullScreen();
    gSteps.calls.clear();
    DestroyWindow(window_);
    const Calls expected = {"EndSnowRun", "dhReleaseDevice"};
    EXPECT_EQ(gSteps.calls, expected);
    EXPECT_EQ(gSaverState.run.tickClock, nullptr);
    EXPECT_EQ(gSaverState.run.flakeScene, nullptr);
    EXPECT_EQ(gSaverState.run.vertices, nullptr);
    EXPECT_EQ(gSaverState.spriteTexture, nullptr);
    MSG quit = {};
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
    // Teardown steps are safe once everything is gone.
    ReleaseSpriteTexture();
    EndSnowRun(gSaverState.run);
    EXPECT_EQ(CountCalls("EndSnowRun"), 1);
}

TEST_F(SaverLifecycleTest, OtherMessagesReachTheDefaultHandling) {
    CreateFullScreen();
    // WM_NCHITTEST of the default handling: the client area of a popup.
    LRESULT hit = SaverWindowProc(window_, WM_NCHITTEST, 0, MAKELPARAM(100, 100));
    EXPECT_EQ(hit, HTCLIENT);
    EXPECT_EQ(ClosesAfter(WM_KEYDOWN, 'A', 0), 1);
}

TEST_F(SaverLifecycleTest, MissingDirect3DEndsTheProcessWithStatusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    gSteps.createDirect3DResult = E_FAIL;
    EXPECT_EXIT(CreateFullScreen(), ::testing::ExitedWithCode(1), "");
}

TEST_F(SaverLifecycleTest, ASceneWithoutMemoryEndsTheProcessWithMinusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    gSteps.startRunResult = kSnowRunNoMemoryForTheScene;
    EXPECT_EXIT(CreateFullScreen(), ::testing::ExitedWithCode(-1), "");
}

TEST_F(SaverLifecycleTest, MissingDeviceEndsTheProcessWithStatusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    gSteps.createDeviceResult = D3DERR_NOTAVAILABLE;
    EXPECT_EXIT(
        {
            CreateFullScreen();
            exit(2); // a run that goes on without a device
        },
        ::testing::ExitedWithCode(1), "");
}

} // namespace
