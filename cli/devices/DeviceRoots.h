#pragma once

#include <cstdlib>
#include <string>

#include "datalink/UucpLock.h"

namespace cellctl::cli {

// Where device discovery looks. Defaults are the running system's; tests point
// them at a tree of their own.
struct DeviceRoots {
    std::string sysfs = "/sys";
    std::string dev = "/dev";
    std::string lockDir = uucpLockDirectory();
};

// The running system's roots, or the test trees that $CELLCTL_SYSFS_ROOT and
// $CELLCTL_DEV_ROOT name.
inline DeviceRoots deviceRootsFromEnvironment()
{
    DeviceRoots roots;
    if (const char* sysfs = std::getenv("CELLCTL_SYSFS_ROOT"))
        roots.sysfs = sysfs;
    if (const char* dev = std::getenv("CELLCTL_DEV_ROOT"))
        roots.dev = dev;
    return roots;
}

}  // namespace cellctl::cli
