#pragma once

#include <string_view>

// Comparisons as AT commands make them: where case is ignored, it is ignored
// for ASCII letters only.

namespace cellctl::text {

bool startsWith(std::string_view text, std::string_view prefix);
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace cellctl::text
