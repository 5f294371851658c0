// The registry store behind LoadSettings and SaveSettings, with the key as a
// parameter so that tests can point it at a scratch key or one that cannot be
// written. The program itself only uses the per-user key below.
#pragma once

#include <windows.h>

// The settings key under HKEY_CURRENT_USER.
constexpr const char kSettingsKeyPath[] = "Software\\Nubrisk\\Quillfrost";

// Fills gSettings from the key root\path, or from the defaults for the key or
// any value that cannot be read. Never creates the key.
void LoadSettingsFromKey(HKEY root, const char* path);

// Writes gSettings to root\path as three REG_DWORD values, creating the key
// when it is absent. A key that cannot be created or opened drops the save.
void SaveSettingsToKey(HKEY root, const char* path);
