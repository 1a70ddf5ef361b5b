#pragma once

#include <optional>
#include <string>

// Operator names under the HEX character set travel as two hex digits per
// byte of the GBK name; under UCS2 as four hex digits per UTF-16 code unit
// (3GPP TS 27.007 +CSCS). The channel decodes them for the library and encodes
// the name of a manual selection for the device.

namespace cellctl::at {

// How alphanumeric operator names travel, by the character set the device
// accepted last.
enum class NameEncoding {
    Plain,  // as bytes (IRA, GSM, GBK, ...)
    Hex,    // "HEX": two hex digits per byte
    Ucs2    // "UCS2": four hex digits per UTF-16 code unit
};

// The encoding a character set name (as in AT+CSCS="<name>") implies.
NameEncoding nameEncodingOf(const std::string& characterSet);

// The UTF-8 text of a UCS2 name (hex of UTF-16, surrogate pairs joined);
// nullopt when `hex` is no whole number of code units or no valid hex.
std::optional<std::string> decodeUcs2Name(const std::string& hex);
// The UCS2 hex of a UTF-8 name; bytes that are no valid UTF-8 are taken as
// Latin-1 characters.
std::string encodeUcs2Name(const std::string& utf8);

// The name as the device expects it under `encoding`.
std::string encodeName(const std::string& name, NameEncoding encoding);

// The content of a quoted name field as the library should read it: under
// HEX a valid hex name is decoded to its bytes, under UCS2 to UTF-8 for
// display, and escaped; anything else is unchanged.
std::string shapeNameField(const std::string& content, NameEncoding encoding);

}  // namespace cellctl::at
