#include "windows/settings/settings_key.h"

#include "windows/settings/settings_registry.h"

namespace {

constexpr const char kVendorKeyPath[] = "Software\\Nubrisk";

bool KeyExists(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

} // namespace

bool SettingsKeyExists() {
    return KeyExists(kSettingsKeyPath);
}

bool VendorKeyExists() {
    return KeyExists(kVendorKeyPath);
}

void DeleteSettingsKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKeyPath);
}

SettingsKeyGuard::SettingsKeyGuard() {
    hadVendorKey_ = VendorKeyExists();
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        hadKey_ = true;
        for (DWORD index = 0;; ++index) {
            char name[256];
            DWORD nameSize = sizeof(name);
            BYTE data[1024];
            DWORD dataSize = sizeof(data);
            DWORD type = 0;
            if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &dataSize) !=
                ERROR_SUCCESS) {
                break;
            }
            values_.push_back(
                {std::string(name, nameSize), type, std::vector<BYTE>(data, data + dataSize)});
        }
        RegCloseKey(key);
    }
    DeleteSettingsKey();
}

SettingsKeyGuard::~SettingsKeyGuard() {
    DeleteSettingsKey();
    if (hadKey_) {
        for (const Value& value : values_) {
            StoreRawValue(value.name.c_str(), value.type, value.data.data(),
                          static_cast<DWORD>(value.data.size()));
        }
        if (values_.empty()) {
            HKEY key = nullptr;
            if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr,
                                REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                                nullptr) == ERROR_SUCCESS) {
                RegCloseKey(key);
            }
        }
    } else if (!hadVendorKey_) {
        // Only removes the vendor key when nothing else was put under it.
        RegDeleteKeyA(HKEY_CURRENT_USER, kVendorKeyPath);
    }
}

void StoreRawValue(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void StoreDword(const char* name, uint32_t value) {
    const DWORD data = value;
    StoreRawValue(name, REG_DWORD, &data, sizeof(data));
}

std::optional<uint32_t> ReadStoredDword(const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    BYTE data[8] = {};
    DWORD size = sizeof(data);
    DWORD type = 0;
    const LONG result = RegQueryValueExA(key, name, nullptr, &type, data, &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_DWORD || size != 4) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
           static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
}

DWORD CountStoredValues() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return 0;
    }
    DWORD count = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return count;
}

SettingsKeyWatch::SettingsKeyWatch() {
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_NOTIFY, &key_) != ERROR_SUCCESS) {
        key_ = nullptr;
        return;
    }
    event_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (event_ != nullptr &&
        RegNotifyChangeKeyValue(key_, FALSE, REG_NOTIFY_CHANGE_LAST_SET | REG_NOTIFY_CHANGE_NAME,
                                event_, TRUE) != ERROR_SUCCESS) {
        CloseHandle(event_);
        event_ = nullptr;
    }
}

SettingsKeyWatch::~SettingsKeyWatch() {
    if (key_ != nullptr) {
        RegCloseKey(key_);
    }
    if (event_ != nullptr) {
        CloseHandle(event_);
    }
}

bool SettingsKeyWatch::Fired() const {
    return event_ != nullptr && WaitForSingleObject(event_, 0) == WAIT_OBJECT_0;
}
