#include "core/settings/settings.h"

#include <gtest/gtest.h>

TEST(SettingsValues, EveryPercentageRoundTrips) {
    for (uint32_t p = 0; p <= 100; ++p) {
        EXPECT_EQ(FractionToPercent(PercentToFraction(p)), p) << p;
    }
}

TEST(SettingsValues, FractionIsNearestFloatToPercentOverHundred) {
    EXPECT_EQ(PercentToFraction(50), 0.5f);
    EXPECT_EQ(PercentToFraction(100), 1.0f);
    EXPECT_EQ(PercentToFraction(0), 0.0f);
    EXPECT_EQ(PercentToFraction(53), 0.53f);
    EXPECT_EQ(PercentToFraction(29), 0.29f);
}

TEST(SettingsValues, StoredPercentAboveHundredTakesTheDefault) {
    EXPECT_EQ(ClampStoredPercent(0), 0u);
    EXPECT_EQ(ClampStoredPercent(100), 100u);
    EXPECT_EQ(ClampStoredPercent(101), 50u);
    EXPECT_EQ(ClampStoredPercent(4294967295u), 50u);
}

TEST(SettingsValues, FractalWindReadsTheLowestByte) {
    EXPECT_EQ(StoredFlagToBool(0), 0);
    EXPECT_EQ(StoredFlagToBool(1), 1);
    EXPECT_EQ(StoredFlagToBool(2), 1);
    EXPECT_EQ(StoredFlagToBool(256), 0);
}
