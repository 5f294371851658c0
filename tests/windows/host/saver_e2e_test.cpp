// Quillfrost.scr started as the system starts a screen saver, watched from
// outside: its windows, its exit codes, and the input that ends a run.
#include <cstdint>
#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "support/desktop_input.h"
#include "support/saver_process.h"

namespace {

using qf_test::ChildProcess;
using qf_test::kExitMinusOne;

constexpr char kClass[] = "WindowsScreenSaverClass";
constexpr char kTitle[] = "Screen Saver";
constexpr DWORD kStartMs = 20000; // Wine may be slow to start a process
constexpr DWORD kEndMs = 15000;
// How long a run must survive input that may not end it.
constexpr DWORD kStaysMs = 1000;

std::string SaverPath() {
    return qf_test::WindowsPath(QF_SAVER_PATH);
}

bool SaverHasDialogResource() {
    HMODULE file = LoadLibraryExA(SaverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!file) {
        return false;
    }
    bool found = FindResourceA(file, MAKEINTRESOURCEA(2003), MAKEINTRESOURCEA(5)) != nullptr;
    FreeLibrary(file);
    return found;
}

class SaverProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        centre_ = {GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
        ASSERT_TRUE(qf_test::MoveCursorTo(centre_.x, centre_.y));
    }

    // Starts a full-screen run and waits for its window to be up and idle.
    HWND StartFullScreen(ChildProcess& saver, const std::string& arguments) {
        EXPECT_TRUE(saver.Start(SaverPath(), arguments)) << arguments;
        HWND window = qf_test::WaitForTopLevelWindow(saver.Id(), kClass, kTitle, kStartMs);
        EXPECT_NE(window, nullptr) << "no saver window for '" << arguments << "'";
        saver.WaitIdle(kStartMs);
        qf_test::PumpFor(200);
        return window;
    }

    void ExpectExitCode(const std::string& arguments, DWORD expected) {
        ChildProcess saver;
        ASSERT_TRUE(saver.Start(SaverPath(), arguments));
        auto code = saver.WaitExit(kStartMs);
        ASSERT_TRUE(code.has_value()) << "'" << arguments << "' did not end";
        EXPECT_EQ(*code, expected) << "'" << arguments << "'";
    }

    POINT centre_ = {};
};

TEST_F(SaverProcessTest, FullScreenSwitchesStartTheRunAndAKeyEndsIt) {
    for (const char* arguments : {"/s", "-S", " s"}) {
        ChildProcess saver;
        HWND window = StartFullScreen(saver, arguments);
        ASSERT_NE(window, nullptr);
        RECT bounds = {};
        GetWindowRect(window, &bounds);
        EXPECT_EQ(bounds.right - bounds.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
        EXPECT_EQ(bounds.bottom - bounds.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
        EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(saver.Running());

        ASSERT_TRUE(qf_test::PressKey(VK_SPACE));
        auto code = saver.WaitExit(kEndMs);
        ASSERT_TRUE(code.has_value()) << arguments << ": a key press did not end the run";
        EXPECT_EQ(*code, 0u) << arguments;
    }
}

TEST_F(SaverProcessTest, InvalidSwitchesAndPreviewsWithoutAParentGiveMinusOne) {
    ASSERT_FALSE(IsWindow(reinterpret_cast<HWND>(1234)));
    for (const char* arguments : {"/p 1234", "/p:1234", "/l 1234", "/x", "/a", "/a 1234"}) {
        ExpectExitCode(arguments, kExitMinusOne);
    }
}

TEST_F(SaverProcessTest, ConfigurationPathShowsTheDialog) {
    if (!SaverHasDialogResource()) {
        GTEST_SKIP() << "the program carries no configuration dialog template yet";
    }
    for (const char* arguments : {"", "/c"}) {
        ChildProcess saver;
        ASSERT_TRUE(saver.Start(SaverPath(), arguments));
        HWND dialog = qf_test::WaitForTopLevelWindow(saver.Id(), "#32770", nullptr, kStartMs);
        ASSERT_NE(dialog, nullptr) << "'" << arguments << "' showed no dialog";
        EXPECT_EQ(qf_test::WaitForTopLevelWindow(saver.Id(), kClass, nullptr, 0), nullptr);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        auto code = saver.WaitExit(kEndMs);
        ASSERT_TRUE(code.has_value()) << "'" << arguments << "' stayed after the dialog closed";
        EXPECT_NE(*code, kExitMinusOne) << "'" << arguments << "'";
    }
}

LRESULT CALLBACK PlainParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreatePreviewParent() {
    WNDCLASSA parentClass = {};
    parentClass.lpfnWndProc = PlainParentProc;
    parentClass.hInstance = GetModuleHandleA(nullptr);
    parentClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    parentClass.lpszClassName = "QuillfrostPreviewParent";
    RegisterClassA(&parentClass);
    return CreateWindowExA(0, parentClass.lpszClassName, "Preview parent",
                           WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 340, 280,
                           nullptr, nullptr, parentClass.hInstance, nullptr);
}

TEST_F(SaverProcessTest, PreviewRunsInsideItsParentUntilTheParentGoes) {
    HWND parent = CreatePreviewParent();
    ASSERT_NE(parent, nullptr);
    qf_test::PumpFor(100);
    ChildProcess saver;
    const std::string arguments = "/p " + std::to_string(reinterpret_cast<uintptr_t>(parent));
    ASSERT_TRUE(saver.Start(SaverPath(), arguments));
    HWND preview = qf_test::WaitForChildWindow(parent, kClass, "Preview", kStartMs);
    ASSERT_NE(preview, nullptr) << "no preview inside the parent";
    saver.WaitIdle(kStartMs);
    RECT parentClient = {};
    RECT previewClient = {};
    GetClientRect(parent, &parentClient);
    GetClientRect(preview, &previewClient);
    EXPECT_EQ(previewClient.right, parentClient.right);
    EXPECT_EQ(previewClient.bottom, parentClient.bottom);

    // Input from the user and straight to the preview window.
    POINT centre = {160, 120};
    ClientToScreen(preview, &centre);
    qf_test::MoveCursorTo(centre.x, centre.y);
    qf_test::ClickLeft();
    qf_test::PressKey(VK_SPACE);
    qf_test::MoveCursorTo(centre.x + 60, centre.y + 50);
    PostMessageA(preview, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(preview, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageA(preview, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    PostMessageA(preview, WM_ACTIVATEAPP, FALSE, 0);
    PostMessageA(preview, WM_POWERBROADCAST, 4, 0);
    EXPECT_FALSE(saver.WaitExit(kStaysMs).has_value()) << "input ended a preview";
    EXPECT_TRUE(IsWindow(preview));

    DestroyWindow(parent);
    auto code = saver.WaitExit(kEndMs);
    ASSERT_TRUE(code.has_value()) << "the preview outlived its parent";
    EXPECT_EQ(*code, 0u);
}

TEST_F(SaverProcessTest, SecondFullScreenStartBringsTheFirstToTheFront) {
    ChildProcess first;
    HWND window = StartFullScreen(first, "/s");
    ASSERT_NE(window, nullptr);

    ChildProcess second;
    ASSERT_TRUE(second.Start(SaverPath(), "/s"));
    auto code = second.WaitExit(kStartMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(qf_test::WaitUntil([window] { return GetForegroundWindow() == window; }, kEndMs));

    qf_test::PressKey(VK_ESCAPE);
    code = first.WaitExit(kEndMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
}

TEST_F(SaverProcessTest, CursorWithinFourPixelsKeepsTheRunAndFiveEndsIt) {
    const int x = centre_.x;
    const int y = centre_.y;
    ChildProcess saver;
    ASSERT_NE(StartFullScreen(saver, "/s"), nullptr);

    // |dx| + |dy| of 1, 3, 4, 4 and 4 from where the run started.
    const POINT nearby[] = {{x + 1, y}, {x + 2, y + 1}, {x + 2, y + 2}, {x - 2, y - 2}, {x, y + 4}};
    for (const POINT& p : nearby) {
        ASSERT_TRUE(qf_test::MoveCursorTo(p.x, p.y));
    }
    EXPECT_FALSE(saver.WaitExit(kStaysMs).has_value()) << "a move of 4 pixels ended the run";

    ASSERT_TRUE(qf_test::MoveCursorTo(x + 3, y + 2)); // |3| + |2| = 5
    auto code = saver.WaitExit(kEndMs);
    ASSERT_TRUE(code.has_value()) << "a move of 5 pixels did not end the run";
    EXPECT_EQ(*code, 0u);
}

} // namespace
