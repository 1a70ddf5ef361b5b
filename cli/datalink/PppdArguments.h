#pragma once

#include <string>
#include <vector>

#include "DataLinkOptions.h"

namespace cellctl::cli {

// The descriptors pppd finds open when it starts: the serial line on its
// standard input and output, its log and the options file holding the secrets.
constexpr int kPppdLogFd = 3;
constexpr int kPppdSecretsFd = 4;

// pppd's command line. Every choice that matters is made explicitly, so that
// whatever the system's /etc/ppp/options says (Debian's sets auth, crtscts,
// lock and modem) is overridden. No secret is on it: user and password come
// from the options file on kPppdSecretsFd.
std::vector<std::string> pppdArguments(const DataLinkOptions& options);

// The options file read through /dev/fd/<kPppdSecretsFd>; empty without a user.
std::string pppdSecretOptions(const DataLinkOptions& options);

// Options that contradict each other; empty when they fit together.
std::string dataLinkOptionsProblem(const DataLinkOptions& options);

}  // namespace cellctl::cli
