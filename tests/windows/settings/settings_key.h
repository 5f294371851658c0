// Test helpers around the real per-user settings key: a guard that sets the
// key aside for the length of a test and puts it back afterwards, and plain
// reads and writes of its values.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// On construction the key Software\Nubrisk\Quillfrost (and Software\Nubrisk
// when it had nothing else) is copied aside and deleted; on destruction
// whatever the test left is deleted and the copy is written back.
class SettingsKeyGuard {
  public:
    SettingsKeyGuard();
    ~SettingsKeyGuard();
    SettingsKeyGuard(const SettingsKeyGuard&) = delete;
    SettingsKeyGuard& operator=(const SettingsKeyGuard&) = delete;

  private:
    struct Value {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    bool hadKey_ = false;
    bool hadVendorKey_ = false;
    std::vector<Value> values_;
};

bool SettingsKeyExists();
bool VendorKeyExists();
void DeleteSettingsKey();

// Writes one value of any type and size, creating the key.
void StoreRawValue(const char* name, DWORD type, const void* data, DWORD size);
void StoreDword(const char* name, uint32_t value);

// A value read back only when it is a REG_DWORD of exactly 4 bytes.
std::optional<uint32_t> ReadStoredDword(const char* name);

// The number of values under the key (0 when the key is absent).
DWORD CountStoredValues();

// Fires when any value of the existing key is set or removed.
class SettingsKeyWatch {
  public:
    SettingsKeyWatch();
    ~SettingsKeyWatch();
    SettingsKeyWatch(const SettingsKeyWatch&) = delete;
    SettingsKeyWatch& operator=(const SettingsKeyWatch&) = delete;
    bool Armed() const { return event_ != nullptr; }
    bool Fired() const;

  private:
    HKEY key_ = nullptr;
    HANDLE event_ = nullptr;
};
