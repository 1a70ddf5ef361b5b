#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Number reading with defined arithmetic on any input. Devices are untrusted,
// so a long digit string must never overflow a signed integer: the readers
// either wrap as a fixed-width register does or refuse the field.

namespace cellctl::text {

// The int whose two's-complement bits are `bits`.
inline int wrapToInt(std::uint32_t bits)
{
    return bits <= 0x7fffffffu ? static_cast<int>(bits) : -static_cast<int>(~bits) - 1;
}

// Reads the leading decimal integer of `text` as the C library's atoi does
// (leading white space, one optional sign, then digits; 0 when there is no
// number), but wraps modulo 2^32 instead of overflowing. Results agree with
// atoi for every text whose number fits an int.
int readLeadingInt(std::string_view text);

// Skips blanks and commas from `pos`, then reads digits in 8 bits (modulo
// 256) and returns the value as a signed 8-bit number; `pos` ends after the
// digits.
signed char readSmallNumber(std::string_view text, unsigned& pos);

// True when `text` is one or more decimal digits and nothing else.
bool isDigits(std::string_view text);

// The value of a field of decimal digits (blanks around it allowed), whatever
// its zero padding; nullopt for anything else or a value above 999999.
std::optional<int> readNumberField(std::string_view field);

// The values of the comma-separated number fields (as readNumberField reads
// them) at the start of `fields`, up to the first field that is none.
std::vector<int> readNumberList(std::string_view fields);

}  // namespace cellctl::text
