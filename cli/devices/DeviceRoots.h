#pragma once

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

}  // namespace cellctl::cli
