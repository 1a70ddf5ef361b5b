#pragma once

#include <string>
#include <string_view>

// Double-quoted fields of AT commands and answers. Inside the quotes of an
// answer a backslash and two hex digits stand for one byte (3GPP TS 27.007,
// as for string parameters of V.250).

namespace cellctl::text {

// `text` between double quotes, exactly as given (nothing escaped).
std::string inQuotes(std::string_view text);

// True when `field` (blanks trimmed) is enclosed in double quotes.
bool isQuoted(std::string_view field);
// The field without blanks and without its enclosing double quotes.
std::string unquote(std::string_view field);

// The content of the next double-quoted field from `pos`, with backslash-hex
// escapes decoded; `pos` ends after the closing quote. No quote: empty, `pos`
// at the end. Lenient: a backslash before one hex digit stands for that
// digit's value, before anything else it is kept, and at the very end of the
// text it is dropped.
std::string extractQuoted(std::string_view text, unsigned& pos);

// `bytes` made fit for a double-quoted answer field: a double quote, a
// backslash and bytes below 0x20 become a backslash and two hex digits; every
// other byte (GBK bytes 0x80-0xFF included) stays as it is. extractQuoted
// gives the bytes back.
std::string escapeForQuotes(std::string_view bytes);

}  // namespace cellctl::text
