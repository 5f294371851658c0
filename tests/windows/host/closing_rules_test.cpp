// The rules that end a full-screen run, and what a preview ignores.
#include "windows/host/saver_lifecycle.h"
#include "saver_fixture.h"
#include "step_doubles.h"

namespace {

struct RuleCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool closesFullScreen;
};

const RuleCase kRules[] = {
    {"key", WM_KEYDOWN, 'A', 0, true},
    {"system key", WM_SYSKEYDOWN, VK_MENU, 0, true},
    {"left button", WM_LBUTTONDOWN, MK_LBUTTON, 0, true},
    {"right button", WM_RBUTTONDOWN, MK_RBUTTON, 0, true},
    {"middle button", WM_MBUTTONDOWN, MK_MBUTTON, 0, true},
    {"button up", WM_LBUTTONUP, 0, 0, false},
    {"key up", WM_KEYUP, 'A', 0, false},
    {"activation lost", WM_ACTIVATEAPP, FALSE, 0, true},
    {"activation gained", WM_ACTIVATEAPP, TRUE, 0, false},
    {"critical resume", WM_POWER, 3, 0, true},
    {"power suspend request", WM_POWER, 1, 0, false},
    {"power resume", WM_POWER, 4, 0, false},
    {"query suspend", WM_POWERBROADCAST, 0, 0, true},
    {"query standby", WM_POWERBROADCAST, 1, 0, true},
    {"query suspend failed", WM_POWERBROADCAST, 2, 0, true},
    {"query standby failed", WM_POWERBROADCAST, 3, 0, true},
    {"suspend", WM_POWERBROADCAST, 4, 0, true},
    {"standby", WM_POWERBROADCAST, 5, 0, true},
    {"resume critical", WM_POWERBROADCAST, 6, 0, true},
    {"resume suspend", WM_POWERBROADCAST, 7, 0, true},
    {"resume standby", WM_POWERBROADCAST, 8, 0, true},
    {"resume automatic", WM_POWERBROADCAST, 18, 0, true},
    {"resume critical after failure", WM_POWERBROADCAST, 6, 1, false},
    {"resume suspend after failure", WM_POWERBROADCAST, 7, 1, false},
    {"resume standby after failure", WM_POWERBROADCAST, 8, 3, false},
    {"resume automatic after failure", WM_POWERBROADCAST, 18, 1, false},
    {"resume with other flags", WM_POWERBROADCAST, 7, 2, true},
    {"battery low", WM_POWERBROADCAST, 9, 0, true},
    {"oem event", WM_POWERBROADCAST, 11, 0, true},
    {"power setting change", WM_POWERBROADCAST, 0x8013, 0, true},
    {"show window", WM_SHOWWINDOW, TRUE, 0, false},
};

using ClosingRulesTest = SaverWindowTest;

TEST_F(ClosingRulesTest, FullScreenMessagesEndTheRunByTheRules) {
    CreateFullScreen();
    KillTimer(window_, kFrameTimerId);
    for (const RuleCase& rule : kRules) {
        EXPECT_EQ(ClosesAfter(rule.message, rule.wParam, rule.lParam),
                  rule.closesFullScreen ? 1 : 0)
            << rule.name;
        EXPECT_TRUE(IsWindow(window_)) << rule.name << ": only WM_CLOSE may end the run";
    }
}

TEST_F(ClosingRulesTest, NothingEndsAPreview) {
    CreatePreview();
    KillTimer(window_, kFrameTimerId);
    for (const RuleCase& rule : kRules) {
        EXPECT_EQ(ClosesAfter(rule.message, rule.wParam, rule.lParam), 0) << rule.name;
    }
    EXPECT_EQ(ClosesAfterCursorAt(900, 900), 0);
    EXPECT_EQ(ClosesAfter(WM_SYSCOMMAND, SC_MONITORPOWER, 2), 0);
    EXPECT_TRUE(IsWindow(window_));
}

TEST_F(ClosingRulesTest, PowerStatusChangeEndsTheRunOnlyWhenTheLineStatusChanged) {
    CreateFullScreen();
    SYSTEM_POWER_STATUS power = {};
    const uint8_t now = GetSystemPowerStatus(&power) ? power.ACLineStatus : 255;

    gHostState.acLineStatus = now;
    EXPECT_EQ(ClosesAfter(WM_POWERBROADCAST, 10, 0), 0);

    gHostState.acLineStatus = static_cast<uint8_t>(now + 1);
    EXPECT_EQ(ClosesAfter(WM_POWERBROADCAST, 10, 0), 1);
    EXPECT_EQ(gHostState.acLineStatus, now) << "the new status replaces the stored one";
    EXPECT_EQ(ClosesAfter(WM_POWERBROADCAST, 10, 0), 0);
}

TEST_F(ClosingRulesTest, CursorDistanceCountsFromTheRememberedPosition) {
    SetCursorPos(400, 300);
    CreateFullScreen();
    ASSERT_EQ(gHostState.cursor.x, 400);
    ASSERT_EQ(gHostState.cursor.y, 300);

    // A slow drift: each step is small, the sum from the remembered point counts.
    const POINT drift[] = {{401, 300}, {402, 301}, {402, 302}, {398, 300}, {403, 301}};
    for (const POINT& p : drift) {
        EXPECT_EQ(ClosesAfterCursorAt(p.x, p.y), 0) << p.x << "," << p.y;
    }
    EXPECT_EQ(ClosesAfterCursorAt(403, 302), 1); // |3| + |2| = 5
    EXPECT_EQ(gHostState.cursor.x, 403);
    EXPECT_EQ(gHostState.cursor.y, 302);
    // The new position is the reference from now on.
    EXPECT_EQ(ClosesAfterCursorAt(403, 302), 0);
    EXPECT_EQ(ClosesAfterCursorAt(403, 297), 1);
}

TEST_F(ClosingRulesTest, MonitorPowerClosesButWindowSwitchingAndScreenSaveAreSwallowed) {
    CreateFullScreen();
    KillTimer(window_, kFrameTimerId);
    for (WPARAM command : {WPARAM(SC_NEXTWINDOW), WPARAM(SC_PREVWINDOW), WPARAM(SC_SCREENSAVE),
                           WPARAM(SC_SCREENSAVE | 2)}) {
        TakePostedCloses();
        EXPECT_EQ(SendMessageA(window_, WM_SYSCOMMAND, command, 0), 0);
        EXPECT_EQ(TakePostedCloses(), 0) << command;
        EXPECT_TRUE(IsWindow(window_));
    }
    EXPECT_EQ(ClosesAfter(WM_SYSCOMMAND, SC_MONITORPOWER, 2), 1);
    // Other commands get the default handling: SC_CLOSE closes the window.
    SendMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(window_));
}

TEST_F(ClosingRulesTest, TitleNeverChanges) {
    CreateFullScreen();
    EXPECT_EQ(SendMessageA(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Other")), 0);
    char title[64] = {};
    GetWindowTextA(window_, title, sizeof(title));
    EXPECT_STREQ(title, "Screen Saver");
}

TEST_F(ClosingRulesTest, SetCursorIsAnsweredInFullScreen) {
    CreateFullScreen();
    EXPECT_EQ(SendMessageA(window_, WM_SETCURSOR, reinterpret_cast<WPARAM>(window_),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
}

TEST_F(ClosingRulesTest, PreviewForwardsContextMenuToItsParent) {
    CreatePreview();
    EXPECT_EQ(SendMessageA(window_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window_), 0x00420017),
              1);
    TakePostedCloses(); // dispatches what was posted to the parent
    EXPECT_EQ(gParentMessage, UINT(WM_CONTEXTMENU));
    EXPECT_EQ(gParentWParam, reinterpret_cast<WPARAM>(parent_));
    EXPECT_EQ(gParentLParam, 0x00420017);
}

TEST_F(ClosingRulesTest, PreviewAnswersHelpItself) {
    CreatePreview();
    HELPINFO help = {};
    help.cbSize = sizeof(help);
    EXPECT_EQ(SendMessageA(window_, WM_HELP, 0, reinterpret_cast<LPARAM>(&help)), 1);
    TakePostedCloses();
    EXPECT_TRUE(IsWindow(window_));
}

TEST_F(ClosingRulesTest, FullScreenDoesNotForwardHelp) {
    CreateFullScreen();
    gParentMessage = 0;
    SendMessageA(window_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window_), 0);
    TakePostedCloses();
    EXPECT_EQ(gParentMessage, 0u);
}

TEST_F(ClosingRulesTest, WithTheClosingFlagInputIsIgnoredAndTimerTicksAreDropped) {
    CreateFullScreen();
    KillTimer(window_, kFrameTimerId);
    TakePostedCloses();
    const int before = gSteps.tickUpdates;
    SendMessageA(window_, WM_TIMER, kFrameTimerId, 0);
    EXPECT_EQ(gSteps.tickUpdates, before + 1);

    gHostState.closing = 1;
    EXPECT_EQ(SendMessageA(window_, WM_TIMER, kFrameTimerId, 0), 0);
    EXPECT_EQ(gSteps.tickUpdates, before + 1);
    for (UINT message : {UINT(WM_KEYDOWN), UINT(WM_LBUTTONDOWN), UINT(WM_ACTIVATEAPP)}) {
        EXPECT_EQ(ClosesAfter(message), 0) << message;
    }
    EXPECT_EQ(ClosesAfterCursorAt(900, 900), 0);
    // WM_CLOSE now goes straight to the default handling.
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window_));
}

TEST_F(ClosingRulesTest, CloseEndsTheRunOnNewerSystems) {
    CreateFullScreen(false);
    EXPECT_EQ(gHostState.queryCancelAutoPlay, 0u);
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window_));
}

} // namespace
