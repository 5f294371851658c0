// A log file that several processes of one user append to at the same time:
// the preview and the full-screen saver, or two savers.
#pragma once

#include <filesystem>
#include <string>

// The line end of the system's text files: "\r\n" on Windows, "\n" elsewhere.
extern const char kPlatformLineEnd[];

// Appends bytes at the end of file (made when missing) in one write that no
// other writer can cut or overwrite; other processes may read, append to,
// rename or delete the file meanwhile. False when it cannot be opened or the
// write fails.
bool PlatformAppendWhole(const std::filesystem::path& file, const std::string& bytes);

// The lock every writer of the user's log folder holds while it measures the
// log and sets it aside (the named mutex Local\Nubrisk.Quillfrost.log on
// Windows, an flock on the folder natively).
struct PlatformLogLock {
    void* mutex; // Windows: the mutex's handle
    int folder;  // natively: the folder's descriptor, -1 when none
    bool held;
};

// Waits for the lock, at most a few seconds; held is false when it could not
// be had (the caller then leaves the log where it is).
PlatformLogLock PlatformLockLogFolder(const std::filesystem::path& folder);
// Gives the lock back. Safe twice, and on a lock that was never held.
void PlatformUnlockLogFolder(PlatformLogLock& lock);
