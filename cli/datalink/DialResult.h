#pragma once

#include <string>

namespace cellctl::cli {

// The final result of a dial command (ITU-T V.250 result codes, and the
// +CME ERROR of 3GPP TS 27.007), or that a line is none.
enum class DialOutcome {
    NotFinal,   // an information or unrelated line: keep reading
    Connected,  // CONNECT [<speed>]
    NoCarrier,
    Busy,
    NoAnswer,
    NoDialtone,
    Error,  // ERROR, +CME ERROR: …, or a vendor's error line
    Ok      // OK: the command was taken without a call (voice dial forms)
};

DialOutcome classifyDialLine(const std::string& line);

// The dial string of a packet-data call on a PDP context: *99***<cid>#.
std::string packetDialCommand(int contextId);

}  // namespace cellctl::cli
