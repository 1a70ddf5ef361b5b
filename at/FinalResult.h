#pragma once

#include <string>

namespace cellctl::at {

// True for a line that ends a command's answer: OK, ERROR, +CME ERROR: <n>,
// +CMS ERROR: <n>, NO CARRIER, NO DIALTONE, BUSY, NO ANSWER.
bool isFinalResult(const std::string& line);

}  // namespace cellctl::at
