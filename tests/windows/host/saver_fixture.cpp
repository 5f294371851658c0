#include "saver_fixture.h"

#include "windows/host/saver_state.h"
#include "step_doubles.h"

UINT gParentMessage = 0;
WPARAM gParentWParam = 0;
LPARAM gParentLParam = 0;

namespace {

constexpr char kParentClass[] = "QuillfrostTestParent";

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HELP || message == WM_CONTEXTMENU) {
        gParentMessage = message;
        gParentWParam = wParam;
        gParentLParam = lParam;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

HWND CreateTestParent(int width, int height) {
    WNDCLASSA parentClass = {};
    parentClass.lpfnWndProc = ParentProc;
    parentClass.hInstance = GetModuleHandleA(nullptr);
    parentClass.lpszClassName = kParentClass;
    RegisterClassA(&parentClass); // fails harmlessly when already registered
    // A popup, so that the client area is exactly the size asked for, even
    // one larger than the screen.
    return CreateWindowExA(0, kParentClass, "Test parent", WS_POPUP | WS_VISIBLE, 10, 10, width,
                           height, nullptr, nullptr, parentClass.hInstance, nullptr);
}

void SaverWindowTest::SetUp() {
    gHostState = HostState{};
    gHostState.steps = DoubleSteps();
    gHostState.instance = GetModuleHandleA(nullptr);
    gSaverState = SaverState{};
    gSteps = StepDoubles{};
    gParentMessage = 0;
    SetCursorPos(400, 300);
}

void SaverWindowTest::TearDown() {
    if (window_ && IsWindow(window_)) {
        DestroyWindow(window_);
    }
    if (parent_ && IsWindow(parent_)) {
        DestroyWindow(parent_);
    }
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    UnregisterClassA(kSaverClassName, gHostState.instance);
}

HWND SaverWindowTest::CreateFullScreen(bool oldSystem) {
    gHostState.oldSystem = oldSystem ? 1 : 0;
    SaverWindowPlan plan = {};
    EXPECT_TRUE(PrepareSaverWindow(nullptr, plan));
    window_ = CreateSaverWindow(plan);
    EXPECT_NE(window_, nullptr);
    TakePostedCloses();
    return window_;
}

HWND SaverWindowTest::CreatePreview(int width, int height) {
    parent_ = CreateTestParent(width, height);
    EXPECT_NE(parent_, nullptr);
    SaverWindowPlan plan = {};
    EXPECT_TRUE(PrepareSaverWindow(parent_, plan));
    window_ = CreateSaverWindow(plan);
    EXPECT_NE(window_, nullptr);
    TakePostedCloses();
    return window_;
}

int SaverWindowTest::TakePostedCloses() {
    int closes = 0;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_CLOSE && message.hwnd == window_) {
            ++closes;
        } else if (message.message != WM_QUIT) {
            DispatchMessageA(&message);
        }
    }
    return closes;
}

int SaverWindowTest::ClosesAfter(UINT message, WPARAM wParam, LPARAM lParam) {
    TakePostedCloses();
    SendMessageA(window_, message, wParam, lParam);
    return TakePostedCloses();
}

int SaverWindowTest::ClosesAfterCursorAt(int x, int y) {
    TakePostedCloses();
    SetCursorPos(x, y);
    int closes = TakePostedCloses();
    SendMessageA(window_, WM_MOUSEMOVE, 0, 0);
    return closes + TakePostedCloses();
}
