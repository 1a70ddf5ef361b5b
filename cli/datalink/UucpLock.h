#pragma once

#include <string>

namespace cellctl::cli {

// A UUCP lock on a serial device, /var/lock/LCK..<name> holding the owner's pid
// in ten characters, as pppd, minicom and the other serial tools take it. A
// lock left by a process that no longer runs is taken over. Released when
// destroyed. A lock this very process holds already (the session's, when the
// data call opens the port again) is left alone: `held()` is false and the
// first holder releases it.
class UucpLock {
public:
    // Throws DataLinkError (DeviceBusy) when a live process holds the device.
    // Where the lock folder cannot be written (an ordinary user without the
    // lock group), the device goes unlocked and `held()` says so.
    explicit UucpLock(const std::string& devicePath);
    ~UucpLock();
    UucpLock(const UucpLock&) = delete;
    UucpLock& operator=(const UucpLock&) = delete;

    bool held() const { return !m_path.empty(); }

private:
    std::string m_path;
};

// The lock folder: $CELLCTL_LOCK_DIR when set (tests), else /var/lock.
std::string uucpLockDirectory();

}  // namespace cellctl::cli
