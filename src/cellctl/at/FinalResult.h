#pragma once

#include <string>

namespace cellctl::at {

// True for a line that ends a command's answer, blanks around it aside: a
// result code of ResultCodes.h (OK, ERROR, +CME ERROR[: <n>|<text>], +CMS ERROR,
// NO CARRIER, BUSY, …), CONNECT [<text>] only while `dialling`.
bool isFinalResult(const std::string& line, bool dialling = false);

// The final result as the library reads it: blanks trimmed, and a
// +CME ERROR given as the verbose text of TS 27.007 turned into its number
// ("+CME ERROR: SIM PUK required" -> "+CME ERROR: 12"). Other texts as they came.
std::string normaliseFinalResult(const std::string& line);

}  // namespace cellctl::at
