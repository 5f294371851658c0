#include "windows/settings/dialog_resources.h"

#include <gtest/gtest.h>

#include "resource_ids.h"

namespace {

// This program carries the dialog resources itself.
TEST(DialogResources, TemplateMatchesTheLayout) {
    ExpectConfigDialogTemplate(GetModuleHandleA(nullptr));
}

TEST(DialogResources, DescriptionStringInItsThreeLanguages) {
    ExpectDescriptionStrings(GetModuleHandleA(nullptr));
}

TEST(DialogTemplateParser, RejectsCutOrForeignBytes) {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(self, MAKEINTRESOURCEA(IDD_CONFIG), MAKEINTRESOURCEA(5));
    ASSERT_NE(resource, nullptr);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(self, resource)));
    const DWORD size = SizeofResource(self, resource);
    ASSERT_TRUE(ParseDialogTemplateEx(data, size).has_value());
    for (DWORD cut : {DWORD{0}, DWORD{3}, DWORD{26}, size / 2, size - 1}) {
        EXPECT_FALSE(ParseDialogTemplateEx(data, cut).has_value()) << cut;
    }
    const BYTE plainTemplate[32] = {0x00, 0x00, 0xC8, 0x80};
    EXPECT_FALSE(ParseDialogTemplateEx(plainTemplate, sizeof(plainTemplate)).has_value());
}

} // namespace
