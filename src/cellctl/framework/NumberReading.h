#pragma once

#include <cstdint>
#include <string>

namespace cellctl {

// Number reading with defined arithmetic on any input. Devices are untrusted,
// so a long digit string must never overflow a signed integer: values wrap
// modulo 2^32 as a 32-bit register does.

// The int whose two's-complement bits are `bits`.
inline int wrapToInt(std::uint32_t bits)
{
    return bits <= 0x7fffffffu ? static_cast<int>(bits) : -static_cast<int>(~bits) - 1;
}

// Reads the leading decimal integer of `text` as the C library's atoi does
// (leading white space, one optional sign, then digits; 0 when there is no
// number), but wraps instead of overflowing. Results agree with atoi for every
// text whose number fits an int.
int readLeadingInt(const std::string& text);

}  // namespace cellctl
