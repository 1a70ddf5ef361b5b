#pragma once

#include <optional>
#include <string>

namespace cellctl::cli {

// Who holds a serial port, if anyone but this process does: a live UUCP lock
// (`lockDir`/LCK..<name>) or another process with the device open (found
// through /proc/<pid>/fd; processes of other users may stay unseen, so the
// open itself also checks for an exclusive holder). Returns a description
// such as "held open by process 812 (pppd)", or nothing when the port is free.
std::optional<std::string> portHolder(const std::string& devicePath, const std::string& lockDir);

}  // namespace cellctl::cli
