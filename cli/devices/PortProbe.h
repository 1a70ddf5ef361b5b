#pragma once

#include <chrono>
#include <string>

#include "datalink/UucpLock.h"

namespace cellctl::cli {

enum class PortState {
    NotProbed,
    At,       // answers AT with OK
    Silent,   // no answer in time (a diagnostics or GPS port, or a dead one)
    Busy,     // another program holds it: not opened, nothing sent
    Unusable  // cannot be opened (permissions, not a terminal)
};

struct PortProbe {
    PortState state = PortState::NotProbed;
    std::string detail;  // the ATI identity, who holds the port, or why it cannot be opened
};

// "at", "silent", "busy", "unusable", "not-probed": the words of the JSON output.
const char* portStateName(PortState state);

constexpr std::chrono::milliseconds kProbeLimit{1500};

// Asks the port whether it speaks AT, within `limit`: nothing but `AT` (a few
// times, to wake a sleepy port) and then `ATI` for the identity. A port that
// is locked or open in another program is reported Busy and left untouched.
// The port's line settings are restored afterwards.
PortProbe probePort(const std::string& devicePath, std::chrono::milliseconds limit = kProbeLimit,
                    const std::string& lockDir = uucpLockDirectory());

}  // namespace cellctl::cli
