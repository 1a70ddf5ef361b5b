#pragma once

#include <optional>
#include <string>

// Operator names under the HEX character set travel as two hex digits per
// byte of the GBK name. The channel decodes them for the library and encodes
// the name of a manual selection for the device.

namespace cellctl::at {

// The bytes of a hex-encoded name; nullopt when `hex` is no valid hex text
// (odd length or a character that is no hex digit).
std::optional<std::string> decodeHexName(const std::string& hex);

// Two upper-case hex digits per byte.
std::string encodeHexName(const std::string& bytes);

// `bytes` made fit for a double-quoted field of an answer: a double quote, a
// backslash and bytes below 0x20 become a backslash and two hex digits; every
// other byte (GBK bytes 0x80-0xFF included) stays as it is.
std::string escapeForQuotes(const std::string& bytes);

// The content of a quoted name field as the library should read it: under
// HEX a valid hex name is decoded and escaped; anything else is unchanged.
std::string shapeNameField(const std::string& content, bool hexCharacterSet);

}  // namespace cellctl::at
