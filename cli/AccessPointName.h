#pragma once

#include <string>

namespace cellctl::cli {

// Why `apn` is not an access point name as 3GPP TS 23.003 defines one (labels
// of letters, digits and hyphens, separated by dots, at most 100 octets in
// all), or empty when it is one. The name goes to the modem inside quotes on
// an AT command line, so anything else could change the command. The message
// never quotes the name: it may hold control characters.
std::string accessPointNameProblem(const std::string& apn);

}  // namespace cellctl::cli
