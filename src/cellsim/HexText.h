#pragma once

#include <optional>
#include <string>

namespace cellsim {

// The HEX character set of +CSCS: every byte as two upper-case hex digits.
std::string hexEncode(const std::string& bytes);
// The bytes of a HEX text; empty when the text is not valid hex.
std::optional<std::string> hexDecode(const std::string& text);

}  // namespace cellsim
