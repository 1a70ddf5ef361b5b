#pragma once

#include <string>

#include <cellctl/cellctl.h>

#include "CommandContext.h"

namespace cellctl::cli {

// The access point and PPP credentials a connection uses.
struct AccessPoint {
    std::string apn;
    std::string user;
    std::string password;
    std::string auth;  // "pap", "chap" or "" (whatever the network asks)
};

// --apn and the credentials as given; without --apn, the provider database's
// entry for the SIM's home network (AT+CIMI), falling back to the registered
// operator. --user/--password override the database's. No entry: NoApn.
AccessPoint chooseAccessPoint(CommandContext& c, const CCopsInfo& registered);

}  // namespace cellctl::cli
