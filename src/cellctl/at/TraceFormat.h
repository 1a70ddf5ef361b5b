#pragma once

#include <string>

// What the trace shows of a line: secrets masked, control bytes visible.

namespace cellctl::at {

// Masks the arguments of PIN, lock and password commands (+CPIN=, +CLCK=,
// +CPWD=) in a command line, whoever wrote it (the channel, or the device
// echoing it): AT+CPIN="1234" -> AT+CPIN=***; AT+CLCK="SC",1,"1234" ->
// AT+CLCK="SC",***. Other lines are unchanged.
std::string maskSecrets(const std::string& line);

// Control bytes (below 0x20, and 0x7F) as \xNN so a traced line stays one line.
std::string printable(const std::string& bytes);

}  // namespace cellctl::at
