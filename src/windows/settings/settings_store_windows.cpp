#include "windows/settings/settings_registry.h"
#include "windows/settings/settings_store.h"

Settings gSettings = {};

namespace {

// One stored integer. The bytes are read little-endian into a zero-filled
// 4-byte buffer, so data shorter than 4 bytes gives the low-order bytes and
// zeros above them. Fails (and leaves *value alone) when the value is absent,
// empty, or longer than 4 bytes. The stored type is not examined.
bool QueryStoredInteger(HKEY key, const char* name, uint32_t* value) {
    BYTE data[4] = {0, 0, 0, 0};
    DWORD type = 0;
    DWORD size = sizeof(data);
    if (RegQueryValueExA(key, name, nullptr, &type, data, &size) != ERROR_SUCCESS) {
        return false;
    }
    if (size == 0 || size > sizeof(data)) {
        return false;
    }
    *value = static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
             static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
    return true;
}

// A failed write is ignored; the remaining values are still written.
void StoreInteger(HKEY key, const char* name, uint32_t value) {
    const DWORD data = value;
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
}

} // namespace

void LoadSettingsFromKey(HKEY root, const char* path) {
    uint32_t quantity = kDefaultPercent;
    uint32_t speed = kDefaultPercent;
    uint32_t fractalWind = 1;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        QueryStoredInteger(key, "Quantity", &quantity);
        QueryStoredInteger(key, "Speed", &speed);
        QueryStoredInteger(key, "FractalWind", &fractalWind);
        RegCloseKey(key);
    }
    gSettings.Quantity = PercentToFraction(ClampStoredPercent(quantity));
    gSettings.Speed = PercentToFraction(ClampStoredPercent(speed));
    gSettings.FractalWind = StoredFlagToBool(fractalWind);
}

void SaveSettingsToKey(HKEY root, const char* path) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key, &disposition) != ERROR_SUCCESS) {
        return;
    }
    StoreInteger(key, "Quantity", FractionToPercent(gSettings.Quantity));
    StoreInteger(key, "Speed", FractionToPercent(gSettings.Speed));
    StoreInteger(key, "FractalWind", gSettings.FractalWind ? 1u : 0u);
    RegCloseKey(key);
}

void LoadSettings() {
    LoadSettingsFromKey(HKEY_CURRENT_USER, kSettingsKeyPath);
}

void SaveSettings() {
    SaveSettingsToKey(HKEY_CURRENT_USER, kSettingsKeyPath);
}
