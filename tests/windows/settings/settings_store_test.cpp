#include "windows/settings/settings_store.h"
#include "windows/settings/settings_key.h"
#include "windows/settings/settings_registry.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Every test starts without the settings key and leaves the key as it was.
class SettingsStore : public ::testing::Test {
  protected:
    void SetUp() override { gSettings = {0.25f, 0.75f, 0}; }
    SettingsKeyGuard guard_;
};

void ExpectSettings(float quantity, float speed, uint8_t fractalWind) {
    EXPECT_EQ(gSettings.Quantity, quantity);
    EXPECT_EQ(gSettings.Speed, speed);
    EXPECT_EQ(gSettings.FractalWind, fractalWind);
}

TEST_F(SettingsStore, NoKeyGivesTheDefaultsAndCreatesNothing) {
    ASSERT_FALSE(SettingsKeyExists());
    LoadSettings();
    ExpectSettings(0.5f, 0.5f, 1);
    EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(SettingsStore, EmptyKeyGivesTheDefaults) {
    StoreDword("Unrelated", 7);
    LoadSettings();
    ExpectSettings(0.5f, 0.5f, 1);
}

TEST_F(SettingsStore, PercentagesAboveHundredTakeTheDefault) {
    const struct {
        uint32_t stored;
        float expected;
    } cases[] = {{100, 1.0f}, {0, 0.0f}, {101, 0.5f}, {4294967295u, 0.5f}, {53, 0.53f}};
    for (const auto& c : cases) {
        StoreDword("Quantity", c.stored);
        StoreDword("Speed", c.stored);
        LoadSettings();
        EXPECT_EQ(gSettings.Quantity, c.expected) << c.stored;
        EXPECT_EQ(gSettings.Speed, c.expected) << c.stored;
    }
}

TEST_F(SettingsStore, FractalWindIsOnWhenItsLowestByteIsNonZero) {
    const struct {
        uint32_t stored;
        uint8_t expected;
    } cases[] = {{0, 0}, {1, 1}, {2, 1}, {256, 0}, {0x1FF, 1}};
    for (const auto& c : cases) {
        StoreDword("FractalWind", c.stored);
        LoadSettings();
        EXPECT_EQ(gSettings.FractalWind, c.expected) << c.stored;
    }
}

TEST_F(SettingsStore, EachMissingValueTakesItsOwnDefault) {
    StoreDword("Speed", 7);
    LoadSettings();
    ExpectSettings(0.5f, 0.07f, 1);

    DeleteSettingsKey();
    StoreDword("Quantity", 12);
    StoreDword("FractalWind", 0);
    LoadSettings();
    ExpectSettings(0.12f, 0.5f, 0);
}

TEST_F(SettingsStore, FourBytesOfAnyTypeAreTakenAsTheInteger) {
    const BYTE quantity[4] = {33, 0, 0, 0};
    const BYTE fractalWind[4] = {0, 1, 0, 0}; // 256
    StoreRawValue("Quantity", REG_BINARY, quantity, sizeof(quantity));
    StoreRawValue("Speed", REG_DWORD_BIG_ENDIAN, quantity, sizeof(quantity));
    StoreRawValue("FractalWind", REG_BINARY, fractalWind, sizeof(fractalWind));
    LoadSettings();
    ExpectSettings(0.33f, 0.33f, 0);
}

TEST_F(SettingsStore, ValuesLongerThanFourBytesTakeTheirDefaults) {
    const BYTE eight[8] = {10, 0, 0, 0, 0, 0, 0, 0};
    const char text[] = "0000000";
    StoreRawValue("Quantity", REG_BINARY, eight, sizeof(eight));
    StoreRawValue("Speed", REG_QWORD, eight, sizeof(eight));
    StoreRawValue("FractalWind", REG_SZ, text, sizeof(text));
    LoadSettings();
    ExpectSettings(0.5f, 0.5f, 1);
}

TEST_F(SettingsStore, ShorterValuesFillTheMissingHighBytesWithZero) {
    const BYTE one[1] = {30};
    const BYTE two[2] = {77, 0};
    const BYTE off[1] = {0};
    StoreRawValue("Quantity", REG_BINARY, one, sizeof(one));
    StoreRawValue("Speed", REG_BINARY, two, sizeof(two));
    StoreRawValue("FractalWind", REG_BINARY, off, sizeof(off));
    LoadSettings();
    ExpectSettings(0.30f, 0.77f, 0);

    const BYTE wide[3] = {0x2C, 0x01, 0}; // 300, still clamped
    StoreRawValue("Quantity", REG_BINARY, wide, sizeof(wide));
    LoadSettings();
    EXPECT_EQ(gSettings.Quantity, 0.5f);
}

TEST_F(SettingsStore, EmptyValuesTakeTheirDefaults) {
    StoreRawValue("Quantity", REG_BINARY, nullptr, 0);
    StoreRawValue("Speed", REG_DWORD, nullptr, 0);
    StoreRawValue("FractalWind", REG_BINARY, nullptr, 0);
    LoadSettings();
    ExpectSettings(0.5f, 0.5f, 1);
}

TEST_F(SettingsStore, SaveAfterLoadWritesBackEveryPercentageUnchanged) {
    for (uint32_t percent = 0; percent <= 100; ++percent) {
        StoreDword("Quantity", percent);
        StoreDword("Speed", 100 - percent);
        StoreDword("FractalWind", percent % 2);
        LoadSettings();
        SaveSettings();
        EXPECT_EQ(ReadStoredDword("Quantity"), percent);
        EXPECT_EQ(ReadStoredDword("Speed"), 100 - percent);
        EXPECT_EQ(ReadStoredDword("FractalWind"), percent % 2);
    }
}

TEST_F(SettingsStore, SaveCreatesTheKeyWithExactlyThreeDwordValues) {
    gSettings = {0.53f, 0.29f, 1};
    SaveSettings();
    EXPECT_EQ(ReadStoredDword("Quantity"), 53u);
    EXPECT_EQ(ReadStoredDword("Speed"), 29u);
    EXPECT_EQ(ReadStoredDword("FractalWind"), 1u);
    EXPECT_EQ(CountStoredValues(), 3u);

    gSettings = {1.0f, 0.0f, 0};
    SaveSettings();
    EXPECT_EQ(ReadStoredDword("Quantity"), 100u);
    EXPECT_EQ(ReadStoredDword("Speed"), 0u);
    EXPECT_EQ(ReadStoredDword("FractalWind"), 0u);
}

TEST_F(SettingsStore, FractalWindOnIsWrittenAsExactlyOne) {
    gSettings = {0.5f, 0.5f, 2};
    SaveSettings();
    EXPECT_EQ(ReadStoredDword("FractalWind"), 1u);
}

TEST_F(SettingsStore, SaveThenLoadRestoresTheRecord) {
    gSettings = {0.07f, 0.93f, 0};
    SaveSettings();
    gSettings = {};
    LoadSettings();
    ExpectSettings(0.07f, 0.93f, 0);
}

// A key that cannot be written: a non-volatile key cannot live under a
// volatile one, so creating it there fails.
class UnwritableKey : public SettingsStore {
  protected:
    void SetUp() override {
        SettingsStore::SetUp();
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Nubrisk", 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &vendor_,
                                  nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegCreateKeyExA(vendor_, kScratch, 0, nullptr, REG_OPTION_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &volatileKey_, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        if (volatileKey_ != nullptr) {
            RegCloseKey(volatileKey_);
            RegDeleteTreeA(vendor_, kScratch);
        }
        if (vendor_ != nullptr) {
            RegCloseKey(vendor_);
        }
    }
    static constexpr const char* kScratch = "QuillfrostVolatileScratch";
    HKEY vendor_ = nullptr;
    HKEY volatileKey_ = nullptr;
};

TEST_F(UnwritableKey, SaveIsDroppedAndTheRecordKeepsTheChoice) {
    gSettings = {0.61f, 0.17f, 0};
    SaveSettingsToKey(volatileKey_, "Quillfrost");
    HKEY created = nullptr;
    EXPECT_NE(RegOpenKeyExA(volatileKey_, "Quillfrost", 0, KEY_QUERY_VALUE, &created),
              ERROR_SUCCESS);
    ExpectSettings(0.61f, 0.17f, 0);

    // The real key still works afterwards.
    SaveSettings();
    EXPECT_EQ(ReadStoredDword("Quantity"), 61u);
    gSettings = {};
    LoadSettings();
    ExpectSettings(0.61f, 0.17f, 0);
}

TEST_F(SettingsStore, LoadFromAKeyThatCannotBeOpenedGivesTheDefaults) {
    StoreDword("Quantity", 10);
    LoadSettingsFromKey(HKEY_CURRENT_USER, "Software\\Nubrisk\\NoSuchKey");
    ExpectSettings(0.5f, 0.5f, 1);
}

} // namespace
