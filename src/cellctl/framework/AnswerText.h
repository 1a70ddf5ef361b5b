#pragma once

#include <string>

namespace cellctl {

// A set command succeeded when its answer carries the two characters "OK"
// anywhere (case-sensitive); an error text or an empty answer is a failure.
inline bool containsOk(const std::string& answer) { return answer.find("OK") != std::string::npos; }

}  // namespace cellctl
