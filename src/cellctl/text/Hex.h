#pragma once

#include <optional>
#include <string>
#include <string_view>

// Hex digits as AT answers use them: in backslash escapes of quoted fields and
// for every byte of a text under the HEX character set (3GPP TS 27.007 +CSCS).

namespace cellctl::text {

// 0-9 for '0'-'9', 10-15 for 'A'-'F' and 'a'-'f', otherwise -1.
int hexDigitValue(char c);

// Appends `byte` as two upper-case hex digits.
void appendHexByte(std::string& out, unsigned char byte);

// Every byte of `bytes` as two upper-case hex digits.
std::string hexEncode(std::string_view bytes);

// The bytes two hex digits each stand for (either case); nullopt for an odd
// length or a character that is no hex digit.
std::optional<std::string> hexDecode(std::string_view text);

}  // namespace cellctl::text
