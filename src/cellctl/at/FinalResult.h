#pragma once

#include <string>

namespace cellctl::at {

// True for a line that ends a command's answer (ITU-T V.250, 3GPP TS 27.007,
// and the vendor forms firmware uses): OK, ERROR, +CME ERROR[: <n>|<text>],
// +CMS ERROR: <n>, NO CARRIER, NO DIALTONE, BUSY, NO ANSWER, MODEM ERROR: <n>,
// COMMAND NOT SUPPORT, and, while `dialling`, CONNECT [<text>].
bool isFinalResult(const std::string& line, bool dialling = false);

// The final result as the library reads it: blanks trimmed, and a
// +CME ERROR given as the verbose text of TS 27.007 turned into its number
// ("+CME ERROR: SIM PUK required" -> "+CME ERROR: 12"). Other texts as they came.
std::string normaliseFinalResult(const std::string& line);

}  // namespace cellctl::at
