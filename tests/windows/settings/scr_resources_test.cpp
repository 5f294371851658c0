#include "windows/settings/dialog_resources.h"

#include <gtest/gtest.h>

namespace {

class ScrResources : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryExA(QF_SCR_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << QF_SCR_PATH;
    }
    void TearDown() override {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    HMODULE module_ = nullptr;
};

TEST_F(ScrResources, TemplateMatchesTheLayout) {
    ExpectConfigDialogTemplate(module_);
}

TEST_F(ScrResources, DescriptionStringInItsThreeLanguages) {
    ExpectDescriptionStrings(module_);
}

} // namespace
