// The frame on a real windowed Direct3D 9 device: drawing, a lost device
// handed on, any other failure ending the process.
#include "windows/host/saver_lifecycle.h"
#include "windows/host/saver_state.h"
#include "saver_fixture.h"
#include "step_doubles.h"

namespace {

class FrameTest : public SaverWindowTest {
  protected:
    void StartWithDevice() {
        gSteps.realDevice = true;
        CreatePreview(160, 120);
        KillTimer(window_, kFrameTimerId);
        TakePostedCloses();
        ASSERT_NE(gSaverState.device, nullptr) << "no Direct3D 9 device here";
        gSteps.calls.clear();
    }
};

TEST_F(FrameTest, UsableDeviceBuildsAndDrawsTheVertexArray) {
    StartWithDevice();
    const int before = gSteps.tickUpdates;
    RenderFrame();
    EXPECT_EQ(gSteps.tickUpdates, before + 1);
    const std::vector<std::string> expected = {"BuildFlakeVertices", "DrawFlakes"};
    EXPECT_EQ(gSteps.calls, expected);
    EXPECT_EQ(gSteps.drawnVertices, gSaverState.run.vertices);
}

TEST_F(FrameTest, LostDeviceFromTheDrawingIsHandedOnWithItsCode) {
    StartWithDevice();
    for (HRESULT code : {D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET}) {
        gSteps.calls.clear();
        gSteps.drawResult = code;
        RenderFrame();
        EXPECT_EQ(CountCalls("dhHandleLostDevice"), 1);
        EXPECT_EQ(gSteps.lostDeviceCode, code);
        EXPECT_EQ(CountCalls("ApplyRenderStates"), 0) << "no reset, nothing to restore";
    }
    // A device that was reset gets its states and camera again.
    gSteps.calls.clear();
    gSteps.lostDeviceResult = D3D_OK;
    RenderFrame();
    const std::vector<std::string> reset = {"BuildFlakeVertices", "DrawFlakes",
                                            "dhHandleLostDevice", "ApplyRenderStates",
                                            "SetupCamera"};
    EXPECT_EQ(gSteps.calls, reset);
    gSteps.calls.clear();
    gSteps.drawResult = S_OK;
    RenderFrame();
    EXPECT_EQ(CountCalls("dhHandleLostDevice"), 0);
}

TEST_F(FrameTest, OtherDrawingFailureEndsTheProcessWithStatusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    StartWithDevice();
    gSteps.drawResult = E_FAIL;
    EXPECT_EXIT(RenderFrame(), ::testing::ExitedWithCode(1), "");
}

TEST_F(FrameTest, RestoringTheDeviceStateSetsStatesThenCamera) {
    StartWithDevice();
    RestoreDeviceState();
    const std::vector<std::string> expected = {"ApplyRenderStates", "SetupCamera"};
    EXPECT_EQ(gSteps.calls, expected);
    EXPECT_EQ(gSteps.cameraWidth, 160);
    EXPECT_EQ(gSteps.cameraHeight, 120);
}

TEST_F(FrameTest, DestructionReleasesTheDevice) {
    StartWithDevice();
    DestroyWindow(window_);
    EXPECT_EQ(gSaverState.device, nullptr);
    EXPECT_EQ(gSaverState.direct3d, nullptr);
}

} // namespace
