#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "DataLinkHost.h"

namespace cellctl::cli {

// What a running data session leaves under /run/cellctl/ while its link is
// up, so that other commands can find it: `disconnect` ends it, `status`
// shows it. One file per modem, named after its port, removed when the
// session ends.
struct LinkRecord {
    pid_t pid = 0;
    std::string device;      // the AT port, as the session was given it
    std::string dataDevice;  // the port the call runs on
    LinkDetails link;
    long long upSince = 0;  // seconds since the epoch
};

// $CELLCTL_RUN_DIR when set (tests), else /run/cellctl.
std::string linkRecordDirectory();

// Writes (replaces) the record of `record.device`; false when the folder cannot
// be written (an ordinary user without /run/cellctl).
bool writeLinkRecord(const LinkRecord& record);
void removeLinkRecord(const std::string& device);

// Records whose session still runs; records of ended sessions are removed.
std::vector<LinkRecord> activeLinkRecords();
// The active record for a device (compared as given and as resolved), if any.
std::optional<LinkRecord> activeLinkRecord(const std::string& device);

}  // namespace cellctl::cli
