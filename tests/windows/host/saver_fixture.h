// A real saver window made through the host's own class and procedures, in
// the test program, with the host state reset around every test.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include "windows/host/saver_host.h"

class SaverWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Full screen over the virtual screen, or a preview inside parent_.
    HWND CreateFullScreen(bool oldSystem = false);
    HWND CreatePreview(int width = 320, int height = 240);

    // Handles every queued message except WM_CLOSE for the saver window (and
    // WM_QUIT), which are removed and counted instead.
    int TakePostedCloses();
    // Sends one message and reports how many WM_CLOSE it posted.
    int ClosesAfter(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Puts the cursor there and reports the WM_CLOSE messages posted by the
    // mouse moves that follow (the system's own and one sent).
    int ClosesAfterCursorAt(int x, int y);

    HWND window_ = nullptr;
    HWND parent_ = nullptr;
};

// A plain top-level window to hold previews; records what is posted to it.
HWND CreateTestParent(int width, int height);
extern UINT gParentMessage;
extern WPARAM gParentWParam;
extern LPARAM gParentLParam;
