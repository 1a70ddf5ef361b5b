#pragma once

#include "AccessPoint.h"
#include "CommandContext.h"
#include "datalink/DataLinkOptions.h"

namespace cellctl::cli {

// What is wrong with the data-link arguments before the modem is touched (a
// data call over --tcp, a password without a user, …); empty when nothing.
std::string dataLinkArgumentsProblem(const CommandArgs& args, const GlobalOptions& global);

// The data session's options from the command line and the chosen access point.
DataLinkOptions dataLinkOptions(const CommandContext& c, const AccessPoint& accessPoint, int contextId);

// A UNIX 98 pseudo-terminal slave (a simulated modem), which has no modem
// control lines.
bool isPseudoTerminal(const std::string& path);

}  // namespace cellctl::cli
