// The configuration dialog run for real: DialogBoxParamA on the test thread
// while a second thread looks at the controls and drives it with keyboard and
// mouse input, against the real per-user settings key.
#include "windows/settings/config_dialog.h"
#include "windows/settings/settings_store.h"
#include "windows/settings/settings_key.h"
#include "support/desktop_input.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "resource_ids.h"

namespace {

constexpr DWORD kPatienceMs = 5000;

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = kPatienceMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

// What the dialog shows, read from its controls.
struct DialogView {
    LRESULT quantity = -1;
    LRESULT speed = -1;
    LRESULT fractalWind = -1;
    LRESULT quantityMin = -1, quantityMax = -1, quantityTicks = -1;
    LRESULT speedMin = -1, speedMax = -1, speedTicks = -1;
    std::string caption;
    int focusId = 0;
};

LRESULT Ask(HWND dialog, int id, UINT message) {
    return SendMessageA(GetDlgItem(dialog, id), message, 0, 0);
}

DialogView Look(HWND dialog) {
    DialogView view;
    view.quantity = Ask(dialog, IDC_QUANTITY, TBM_GETPOS);
    view.speed = Ask(dialog, IDC_SPEED, TBM_GETPOS);
    view.fractalWind = Ask(dialog, IDC_FRACTAL_WIND, BM_GETCHECK);
    view.quantityMin = Ask(dialog, IDC_QUANTITY, TBM_GETRANGEMIN);
    view.quantityMax = Ask(dialog, IDC_QUANTITY, TBM_GETRANGEMAX);
    view.quantityTicks = Ask(dialog, IDC_QUANTITY, TBM_GETNUMTICS);
    view.speedMin = Ask(dialog, IDC_SPEED, TBM_GETRANGEMIN);
    view.speedMax = Ask(dialog, IDC_SPEED, TBM_GETRANGEMAX);
    view.speedTicks = Ask(dialog, IDC_SPEED, TBM_GETNUMTICS);
    char caption[64] = {};
    GetWindowTextA(dialog, caption, sizeof(caption));
    view.caption = caption;
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) &&
        info.hwndFocus != nullptr) {
        view.focusId = GetDlgCtrlID(info.hwndFocus);
    }
    return view;
}

bool BringToFront(HWND dialog) {
    return WaitFor([dialog] {
        if (GetForegroundWindow() == dialog) {
            return true;
        }
        SetForegroundWindow(dialog);
        return false;
    });
}

// A key press as keyboard input to the dialog, once it is in front.
bool PressKey(HWND dialog, WORD key) {
    return BringToFront(dialog) && qf_test::PressKey(key);
}

// A left click with the mouse in the middle of a control.
bool Click(HWND dialog, int id) {
    if (!BringToFront(dialog)) {
        return false;
    }
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    const POINT target = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    // Absolute mouse coordinates run over 0..65535 across the primary screen;
    // every event carries the position so that the press lands where aimed.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input[3] = {};
    for (INPUT& event : input) {
        event.type = INPUT_MOUSE;
        event.mi.dx = (target.x * 65536 + width / 2) / width;
        event.mi.dy = (target.y * 65536 + height / 2) / height;
    }
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP;
    if (SendInput(1, &input[0], sizeof(INPUT)) != 1 || !WaitFor([target] {
            POINT at = {};
            return GetCursorPos(&at) && at.x == target.x && at.y == target.y;
        })) {
        return false;
    }
    return SendInput(2, &input[1], sizeof(INPUT)) == 2;
}

struct DialogRun {
    INT_PTR endCode = -2;
    bool shown = false;
    bool leftOpen = false;
};

// Runs the dialog on this thread; `drive` gets the shown dialog on another
// thread and must end it. A dialog still open 5 s after `drive` returns is
// cancelled and reported.
DialogRun RunDialog(const std::function<void(HWND)>& drive) {
    DialogRun run;
    std::thread driver([&run, &drive] {
        HWND dialog = nullptr;
        run.shown = WaitFor([&dialog] {
            dialog = FindWindowA(reinterpret_cast<LPCSTR>(WC_DIALOG), "Palewisp Setup");
            return dialog != nullptr && IsWindowVisible(dialog);
        });
        if (!run.shown) {
            return;
        }
        drive(dialog);
        if (!WaitFor([dialog] { return !IsWindow(dialog); })) {
            run.leftOpen = true;
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    });
    run.endCode = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CONFIG), nullptr,
                                  ConfigDialogProc, 0);
    driver.join();
    return run;
}

void ExpectStored(uint32_t quantity, uint32_t speed, uint32_t fractalWind) {
    EXPECT_EQ(ReadStoredDword("Quantity"), quantity);
    EXPECT_EQ(ReadStoredDword("Speed"), speed);
    EXPECT_EQ(ReadStoredDword("FractalWind"), fractalWind);
}

class ConfigDialog : public ::testing::Test {
  protected:
    SettingsKeyGuard guard_;
};

TEST_F(ConfigDialog, HookRegistersNothingAndAgrees) {
    EXPECT_EQ(RegisterDialogHook(GetModuleHandleA(nullptr)), TRUE);
}

TEST_F(ConfigDialog, FirstRunShowsTheDefaultsAndEscCancels) {
    DialogView view;
    bool escaped = false;
    const DialogRun run = RunDialog([&](HWND dialog) {
        view = Look(dialog);
        escaped = PressKey(dialog, VK_ESCAPE);
    });
    ASSERT_TRUE(run.shown);
    EXPECT_TRUE(escaped);
    EXPECT_FALSE(run.leftOpen);
    EXPECT_EQ(run.endCode, FALSE);
    EXPECT_EQ(view.caption, "Palewisp Setup");
    EXPECT_EQ(view.quantity, 50);
    EXPECT_EQ(view.speed, 50);
    EXPECT_EQ(view.fractalWind, BST_CHECKED);
    EXPECT_EQ(view.quantityMin, 0);
    EXPECT_EQ(view.quantityMax, 100);
    EXPECT_EQ(view.quantityTicks, 11);
    EXPECT_EQ(view.speedMin, 0);
    EXPECT_EQ(view.speedMax, 100);
    EXPECT_EQ(view.speedTicks, 11);
    EXPECT_EQ(view.focusId, IDOK);
    EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(ConfigDialog, StoredValuesShowAndEnterStoresThemAgain) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        // Stored as 4-byte binary values, so that the rewrite as REG_DWORD
        // shows that OK really wrote the unchanged percentages.
        const BYTE quantity[4] = {53, 0, 0, 0};
        const BYTE speed[4] = {29, 0, 0, 0};
        const BYTE off[4] = {0, 0, 0, 0};
        StoreRawValue("Quantity", REG_BINARY, quantity, 4);
        StoreRawValue("Speed", REG_BINARY, speed, 4);
        StoreRawValue("FractalWind", REG_BINARY, off, 4);
        SettingsKeyWatch watch;
        ASSERT_TRUE(watch.Armed());
        DialogView view;
        bool entered = false;
        const DialogRun run = RunDialog([&](HWND dialog) {
            view = Look(dialog);
            entered = PressKey(dialog, VK_RETURN);
        });
        ASSERT_TRUE(run.shown);
        EXPECT_TRUE(entered);
        EXPECT_FALSE(run.leftOpen);
        EXPECT_EQ(run.endCode, TRUE);
        EXPECT_EQ(view.quantity, 53);
        EXPECT_EQ(view.speed, 29);
        EXPECT_EQ(view.fractalWind, BST_UNCHECKED);
        EXPECT_TRUE(watch.Fired());
        ExpectStored(53, 29, 0);
    }
}

TEST_F(ConfigDialog, ResetThenCancelStoresNothing) {
    StoreDword("Quantity", 53);
    StoreDword("Speed", 29);
    StoreDword("FractalWind", 0);
    SettingsKeyWatch watch;
    ASSERT_TRUE(watch.Armed());
    DialogView reset;
    bool acted = false;
    const DialogRun run = RunDialog([&](HWND dialog) {
        acted = Click(dialog, IDC_RESET) &&
                WaitFor([dialog] { return Ask(dialog, IDC_QUANTITY, TBM_GETPOS) == 50; });
        reset = Look(dialog);
        acted = PressKey(dialog, VK_ESCAPE) && acted;
    });
    ASSERT_TRUE(run.shown);
    EXPECT_TRUE(acted);
    EXPECT_EQ(run.endCode, FALSE);
    EXPECT_EQ(reset.quantity, 50);
    EXPECT_EQ(reset.speed, 50);
    EXPECT_EQ(reset.fractalWind, BST_CHECKED);
    EXPECT_FALSE(watch.Fired());
    ExpectStored(53, 29, 0);

    // The next opening shows the stored values; the close box cancels too.
    DialogView next;
    const DialogRun again = RunDialog([&](HWND dialog) {
        next = Look(dialog);
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    ASSERT_TRUE(again.shown);
    EXPECT_FALSE(again.leftOpen);
    EXPECT_EQ(again.endCode, FALSE);
    EXPECT_EQ(next.quantity, 53);
    EXPECT_EQ(next.speed, 29);
    EXPECT_EQ(next.fractalWind, BST_UNCHECKED);
    EXPECT_FALSE(watch.Fired());
}

TEST_F(ConfigDialog, ResetThenOkStoresTheDefaults) {
    StoreDword("Quantity", 53);
    StoreDword("Speed", 29);
    StoreDword("FractalWind", 0);
    bool acted = false;
    const DialogRun run = RunDialog([&](HWND dialog) {
        acted = Click(dialog, IDC_RESET) &&
                WaitFor([dialog] { return Ask(dialog, IDC_SPEED, TBM_GETPOS) == 50; }) &&
                Click(dialog, IDOK);
    });
    ASSERT_TRUE(run.shown);
    EXPECT_TRUE(acted);
    EXPECT_FALSE(run.leftOpen);
    EXPECT_EQ(run.endCode, TRUE);
    ExpectStored(50, 50, 1);
    EXPECT_EQ(gSettings.Quantity, 0.5f);
    EXPECT_EQ(gSettings.Speed, 0.5f);
    EXPECT_EQ(gSettings.FractalWind, 1);
}

TEST_F(ConfigDialog, UncheckingFractalWindAndOkStoresZero) {
    bool acted = false;
    const DialogRun run = RunDialog([&](HWND dialog) {
        acted = Click(dialog, IDC_FRACTAL_WIND) && WaitFor([dialog] {
                    return Ask(dialog, IDC_FRACTAL_WIND, BM_GETCHECK) == BST_UNCHECKED;
                }) &&
                Click(dialog, IDOK);
    });
    ASSERT_TRUE(run.shown);
    EXPECT_TRUE(acted);
    EXPECT_EQ(run.endCode, TRUE);
    ExpectStored(50, 50, 0);
}

TEST_F(ConfigDialog, UncheckingThenCancelChangesOnlyTheRecordInMemory) {
    StoreDword("Quantity", 53);
    StoreDword("Speed", 29);
    StoreDword("FractalWind", 1);
    SettingsKeyWatch watch;
    ASSERT_TRUE(watch.Armed());
    bool acted = false;
    const DialogRun run = RunDialog([&](HWND dialog) {
        acted = Click(dialog, IDC_FRACTAL_WIND) && WaitFor([dialog] {
                    return Ask(dialog, IDC_FRACTAL_WIND, BM_GETCHECK) == BST_UNCHECKED;
                }) &&
                Click(dialog, IDCANCEL);
    });
    ASSERT_TRUE(run.shown);
    EXPECT_TRUE(acted);
    EXPECT_EQ(run.endCode, FALSE);
    EXPECT_EQ(gSettings.FractalWind, 0);
    EXPECT_FALSE(watch.Fired());
    ExpectStored(53, 29, 1);
}

TEST_F(ConfigDialog, TrackBarMovesReachTheSettingsOnlyOnOk) {
    bool acted = false;
    DialogView moved;
    bool keyStillAbsent = false;
    const DialogRun run = RunDialog([&](HWND dialog) {
        // Tab from OK past Cancel to the Particles track bar.
        acted = PressKey(dialog, VK_TAB) && PressKey(dialog, VK_TAB) &&
                WaitFor([dialog] { return Look(dialog).focusId == IDC_QUANTITY; });
        for (int step = 0; step < 3 && acted; ++step) {
            acted = PressKey(dialog, VK_RIGHT);
        }
        acted = acted && WaitFor([dialog] { return Ask(dialog, IDC_QUANTITY, TBM_GETPOS) == 53; });
        moved = Look(dialog);
        keyStillAbsent = !SettingsKeyExists();
        acted = PressKey(dialog, VK_RETURN) && acted;
    });
    ASSERT_TRUE(run.shown);
    EXPECT_TRUE(acted);
    EXPECT_EQ(moved.quantity, 53);
    EXPECT_EQ(moved.speed, 50);
    EXPECT_TRUE(keyStillAbsent);
    EXPECT_EQ(run.endCode, TRUE);
    ExpectStored(53, 50, 1);
    EXPECT_EQ(gSettings.Quantity, 0.53f);
}

TEST_F(ConfigDialog, UnrelatedCommandsAreNotHandled) {
    EXPECT_EQ(ConfigDialogProc(nullptr, WM_COMMAND, MAKEWPARAM(IDC_FEW, 0), 0), FALSE);
    EXPECT_EQ(ConfigDialogProc(nullptr, WM_TIMER, 1, 0), FALSE);
    EXPECT_FALSE(SettingsKeyExists());
}

} // namespace
