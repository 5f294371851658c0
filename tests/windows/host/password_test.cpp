// The Windows 95-family paths: the saver password, the re-check window and
// QueryCancelAutoPlay, with the old-system flag and a test verifier.
#include "windows/host/saver_lifecycle.h"
#include "saver_fixture.h"
#include "step_doubles.h"

namespace {

int gVerifierCalls = 0;
BOOL gVerifierAnswer = FALSE;
int gClosesPostedDuringCheck = 0;
int gTimersPendingDuringCheck = 0;

// Stands in for PASSWORD.CPL: while it asks, the user presses keys and moves
// the mouse, as in a real password prompt.
BOOL WINAPI TestVerifier(HWND window) {
    ++gVerifierCalls;
    SendMessageA(window, WM_KEYDOWN, 'X', 0);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    MSG pending;
    while (PeekMessageA(&pending, window, WM_CLOSE, WM_CLOSE, PM_REMOVE)) {
        ++gClosesPostedDuringCheck;
    }
    while (PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE)) {
        ++gTimersPendingDuringCheck;
    }
    return gVerifierAnswer;
}

class PasswordTest : public SaverWindowTest {
  protected:
    void SetUp() override {
        SaverWindowTest::SetUp();
        gVerifierCalls = 0;
        gVerifierAnswer = FALSE;
        gClosesPostedDuringCheck = 0;
        gTimersPendingDuringCheck = 0;
    }
    void StartWithVerifier() {
        CreateFullScreen(true);
        KillTimer(window_, kFrameTimerId);
        gHostState.verifyPassword = TestVerifier;
    }
};

TEST_F(PasswordTest, RefusedPasswordKeepsTheSaverAndResetsTheRememberedCursor) {
    SetCursorPos(400, 300);
    StartWithVerifier();
    SetCursorPos(600, 500);
    TakePostedCloses();
    const int ticks = gSteps.tickUpdates;
    PostMessageA(window_, WM_TIMER, kFrameTimerId, 0);
    PostMessageA(window_, WM_TIMER, kFrameTimerId, 0);
    EXPECT_EQ(SendMessageA(window_, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_EQ(gVerifierCalls, 1);
    EXPECT_EQ(gHostState.closing, 0);
    EXPECT_EQ(gHostState.checkingPassword, 0);
    EXPECT_EQ(gClosesPostedDuringCheck, 0) << "input under the prompt must not close";
    EXPECT_EQ(gTimersPendingDuringCheck, 0) << "no frame may run under the prompt";
    EXPECT_EQ(gSteps.tickUpdates, ticks);
    EXPECT_EQ(gHostState.cursor.x, 600);
    EXPECT_EQ(gHostState.cursor.y, 500);
    EXPECT_NE(gHostState.lastPasswordCheck, kNoPasswordCheckYet);
    // The run goes on: frames and the closing rules work again.
    SendMessageA(window_, WM_TIMER, kFrameTimerId, 0);
    EXPECT_EQ(gSteps.tickUpdates, ticks + 1);
    EXPECT_EQ(ClosesAfter(WM_KEYDOWN, 'A', 0), 1);
}

TEST_F(PasswordTest, NoSecondPromptWithin200Milliseconds) {
    StartWithVerifier();
    SendMessageA(window_, WM_CLOSE, 0, 0);
    ASSERT_EQ(gVerifierCalls, 1);
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(gVerifierCalls, 1);
    EXPECT_TRUE(IsWindow(window_));

    // Once the window has passed, the next close asks again.
    DWORD start = GetTickCount();
    while (GetTickCount() - gHostState.lastPasswordCheck < kPasswordRecheckMs &&
           GetTickCount() - start < 2000) {
        Sleep(20);
    }
    gVerifierAnswer = TRUE;
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(gVerifierCalls, 2);
    EXPECT_EQ(gHostState.closing, 1);
    EXPECT_FALSE(IsWindow(window_));
}

TEST_F(PasswordTest, AcceptedPasswordEndsTheRun) {
    StartWithVerifier();
    gVerifierAnswer = TRUE;
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(gVerifierCalls, 1);
    EXPECT_FALSE(IsWindow(window_));
}

TEST_F(PasswordTest, WithoutAVerifierCloseEndsTheRunAndSetsTheClosingFlag) {
    CreateFullScreen(true);
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(gHostState.closing, 1);
    EXPECT_FALSE(IsWindow(window_));
}

TEST_F(PasswordTest, VerifierMessageAsksTheLoadedVerifierOrAnswersOne) {
    CreateFullScreen(true);
    EXPECT_EQ(SendMessageA(window_, kVerifyPasswordMessage, 0, 0), 1);
    gHostState.verifyPassword = TestVerifier;
    gVerifierAnswer = FALSE;
    EXPECT_EQ(SendMessageA(window_, kVerifyPasswordMessage, 0, 0), 0);
    EXPECT_EQ(gVerifierCalls, 1);
}

TEST_F(PasswordTest, NewerSystemsNeverAskForThePassword) {
    CreateFullScreen(false);
    gHostState.verifyPassword = TestVerifier;
    EXPECT_EQ(SendMessageA(window_, kVerifyPasswordMessage, 0, 0), 0);
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(gVerifierCalls, 0);
    EXPECT_FALSE(IsWindow(window_));
}

TEST_F(PasswordTest, QueryCancelAutoPlayClosesAndCancelsOnlyWithAPassword) {
    CreateFullScreen(true);
    const UINT autoPlay = RegisterWindowMessageA("QueryCancelAutoPlay");
    ASSERT_EQ(gHostState.queryCancelAutoPlay, autoPlay);
    TakePostedCloses();
    EXPECT_EQ(SendMessageA(window_, autoPlay, 0, 0), 0);
    EXPECT_EQ(TakePostedCloses(), 1);

    gHostState.verifyPassword = TestVerifier;
    EXPECT_EQ(SendMessageA(window_, autoPlay, 0, 0), 1);
    EXPECT_EQ(TakePostedCloses(), 1);
    EXPECT_EQ(gVerifierCalls, 0);
}

TEST_F(PasswordTest, QueryCancelAutoPlayIsNotWatchedOnNewerSystems) {
    CreateFullScreen(false);
    const UINT autoPlay = RegisterWindowMessageA("QueryCancelAutoPlay");
    EXPECT_EQ(ClosesAfter(autoPlay), 0);
}

// The user asked for a saver password, but this system has no PASSWORD.CPL:
// the step is skipped and the run ends without a prompt.
TEST_F(PasswordTest, MissingPasswordLibraryIsSkippedSilently) {
    if (HMODULE library = LoadLibraryExA("PASSWORD.CPL", nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        FreeLibrary(library);
        GTEST_SKIP() << "this system has PASSWORD.CPL";
    }
    HKEY desktop = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                              KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &desktop, nullptr),
              ERROR_SUCCESS);
    DWORD old = 0;
    DWORD size = sizeof(old);
    const bool hadValue = RegQueryValueExA(desktop, "ScreenSaveUsePassword", nullptr, nullptr,
                                           reinterpret_cast<BYTE*>(&old), &size) == ERROR_SUCCESS;
    const DWORD on = 1;
    RegSetValueExA(desktop, "ScreenSaveUsePassword", 0, REG_DWORD,
                   reinterpret_cast<const BYTE*>(&on), sizeof(on));

    CreateFullScreen(true);
    EXPECT_EQ(gHostState.passwordLibrary, nullptr);
    EXPECT_EQ(gHostState.verifyPassword, nullptr);
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window_));

    if (hadValue) {
        RegSetValueExA(desktop, "ScreenSaveUsePassword", 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&old), sizeof(old));
    } else {
        RegDeleteValueA(desktop, "ScreenSaveUsePassword");
    }
    RegCloseKey(desktop);
}

TEST_F(PasswordTest, UnloadingClearsTheVerifierAndIsSafeTwice) {
    CreateFullScreen(true);
    gHostState.verifyPassword = TestVerifier;
    UnloadPasswordVerifier();
    EXPECT_EQ(gHostState.verifyPassword, nullptr);
    EXPECT_EQ(gHostState.passwordLibrary, nullptr);
    UnloadPasswordVerifier();
    EXPECT_EQ(gHostState.verifyPassword, nullptr);
}

} // namespace
