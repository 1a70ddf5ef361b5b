#pragma once

#include <memory>
#include <string>

#include <cellctl/at/Transport.h>

namespace cellctl::at {

// Opens a serial device or a pty slave: exclusively (TIOCEXCL and an
// advisory lock, so a second program gets EBUSY), raw, 8N1, at the baud rate
// of the options, RTS/CTS as the options say, software flow control off.
std::unique_ptr<Transport> openSerialTransport(const Transport::Strand& strand, const std::string& path,
                                               const AtPhoneLineOptions& options);

}  // namespace cellctl::at
