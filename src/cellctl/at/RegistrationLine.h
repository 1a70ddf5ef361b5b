#pragma once

#include <optional>
#include <string>

// +CREG: and +CGREG: lines in the forms devices send them (3GPP TS 27.007
// +CREG, +CGREG): the answer to a read, "<n>,<stat>[,<lac>,<ci>[,<act>]]", and
// the unsolicited report, "<stat>[,<lac>,<ci>[,<act>]]". Firmware sends either
// form either way, pads the stat ("001"), and quotes lac and ci, or not, or
// only half. The two forms are told apart by the second field: a short bare
// number is a stat (so the first field was <n>); anything else (quoted, hex,
// four digits or more) is a lac.

namespace cellctl::at {

// The text the library reads from the line's body (the part after the
// prefix): "<stat>[,"<lac>","<ci>"[,<more>...]]" with the stat a plain
// number. nullopt when the body holds no status.
std::optional<std::string> registrationStatus(const std::string& body);

}  // namespace cellctl::at
