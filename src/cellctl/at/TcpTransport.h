#pragma once

#include <memory>
#include <string>

#include <cellctl/at/Transport.h>

namespace cellctl::at {

// Connects to HOST:PORT (the part after "tcp:"; an IPv6 host in brackets).
// Blocks while resolving and connecting.
std::unique_ptr<Transport> openTcpTransport(const Transport::Strand& strand, const std::string& hostAndPort);

}  // namespace cellctl::at
