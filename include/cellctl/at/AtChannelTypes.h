#pragma once

#include <cstddef>

#include <cellctl/framework/Export.h>

namespace cellctl::at {

// How an AtPhoneLine talks to its device.
struct AtPhoneLineOptions {
    // Serial devices only (ignored for TCP): line speed, and RTS/CTS flow
    // control. The line is always 8 data bits, no parity, one stop bit, with
    // software flow control off.
    unsigned baudRate = 115200;
    bool hardwareFlowControl = false;
    // Multiplies every command timeout (3 s for most commands, minutes for a
    // network scan or an attach). Tests use a small value.
    double timeoutScale = 1.0;
    // Longest device line kept; a longer line is dropped (and traced) so that
    // memory stays bounded whatever the device sends.
    std::size_t maxLineLength = 4096;
};

// Events of the channel itself, reported on AtPhoneLine's status signal with
// a short description (the target, the timed-out command, the error).
enum class ChannelEvent {
    Opened,      // open() succeeded
    Timeout,     // a command got no final result in time; it was answered ERROR
    DeviceLost,  // the device went away; every pending command was answered ERROR
    Reopened,    // reopen() succeeded
    Closed       // close() ran; every pending command was answered ERROR
};

CELLCTL_EXPORT const char* toString(ChannelEvent event);

}  // namespace cellctl::at
