// The switch table of SaverMain for the modes that return at once.
#include <cstdint>
#include <string>

#include "saver_fixture.h"
#include "step_doubles.h"

namespace {

HINSTANCE Instance() {
    return GetModuleHandleA(nullptr);
}

using SaverMainTest = SaverWindowTest;

TEST_F(SaverMainTest, InvalidSwitchesAndMissingParentsGiveMinusOne) {
    for (const char* line : {"/x", "/p 0", "/p:1234", "/l", "/p 4294967295", "/a 0", "/A"}) {
        EXPECT_EQ(SaverMain(Instance(), nullptr, line, SW_SHOW), -1) << line;
    }
    EXPECT_EQ(gSteps.dialogs, 0);
    EXPECT_EQ(FindWindowA(kSaverClassName, nullptr), nullptr);
}

TEST_F(SaverMainTest, ConfigurationOpensTheDialogOverTheRightParent) {
    parent_ = CreateTestParent(200, 100);
    ASSERT_NE(parent_, nullptr);
    const std::string withParent = "/c:" + std::to_string(reinterpret_cast<uintptr_t>(parent_));

    EXPECT_EQ(SaverMain(Instance(), nullptr, withParent.c_str(), SW_SHOW), 42);
    EXPECT_EQ(gSteps.dialogParent, parent_);

    EXPECT_EQ(SaverMain(Instance(), nullptr, "", SW_SHOW), 42);
    EXPECT_EQ(gSteps.dialogParent, nullptr);

    // Without a colon, or with no window behind the number: the foreground one.
    SetForegroundWindow(parent_);
    for (const char* line : {"/c", "/C 1234", "/c:0"}) {
        HWND foreground = GetForegroundWindow();
        gSteps.dialogParent = reinterpret_cast<HWND>(1);
        EXPECT_EQ(SaverMain(Instance(), nullptr, line, SW_SHOW), 42) << line;
        EXPECT_EQ(gSteps.dialogParent, foreground) << line;
    }
    EXPECT_EQ(gSteps.dialogs, 5);
    EXPECT_EQ(CountCalls("RegisterDialogHook"), 5);
}

} // namespace
