#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include <boost/asio/io_context.hpp>
#include <boost/asio/strand.hpp>

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

// Receives each channel event with its description.
using ChannelStatusCallback = std::function<void(ChannelEvent, const std::string&)>;
// Receives each traced line: "> " written, "< " read, "! " channel notes.
using ChannelTraceCallback = std::function<void(const std::string& line)>;
// The strand of the io_context on which a channel does all its work.
using ChannelExecutor = boost::asio::strand<boost::asio::io_context::executor_type>;

}  // namespace cellctl::at
