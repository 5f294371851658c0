// The user's own folder for application data kept on this machine.
#pragma once

#include <filesystem>

// %LOCALAPPDATA% (C:\Users\<name>\AppData\Local); an empty path when the
// system names none. Natively the same environment variable stands in for it,
// so that the code that uses it runs in the native tests too.
std::filesystem::path PlatformLocalAppData();
