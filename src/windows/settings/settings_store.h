// The user's settings for the whole process, and their store in the registry.
#pragma once

#include "core/settings/settings.h"

// The process-wide record; all zero until the first LoadSettings.
extern Settings gSettings;

// Reads the three values from the per-user key; missing or odd values take
// their defaults. Never fails visibly.
void LoadSettings();
// Writes the three values; a failure is dropped.
void SaveSettings();
