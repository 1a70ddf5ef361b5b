#pragma once

#include <optional>

#include <termios.h>

// The serial line speeds a modem port can be set to, with their termios
// constants. Header only, so that the command line's data link, which opens
// the modem port itself for the call, sets the speed by the same table as the
// AT channel.

namespace cellctl::at {

struct BaudRate {
    unsigned rate;
    speed_t constant;
};

inline constexpr BaudRate kBaudRates[] = {
    {1200, B1200},     {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},
    {38400, B38400},   {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},
    {921600, B921600}, {1000000, B1000000}, {2000000, B2000000}, {3000000, B3000000}, {4000000, B4000000},
};

// The termios constant of `rate` bits per second; nothing for a rate the table lacks.
inline std::optional<speed_t> speedConstant(unsigned rate)
{
    for (const BaudRate& baud : kBaudRates) {
        if (baud.rate == rate)
            return baud.constant;
    }
    return std::nullopt;
}

}  // namespace cellctl::at
