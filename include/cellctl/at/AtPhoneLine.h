#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include <boost/asio/io_context.hpp>
#include <boost/asio/strand.hpp>

#include <cellctl/at/AtChannelTypes.h>
#include <cellctl/framework/Export.h>
#include <cellctl/framework/PhoneLine.h>

namespace cellctl::at {

class Channel;

// A PhoneLine that speaks AT to a real device: a serial port, a pseudo-terminal
// slave, or a TCP port. Command codes become AT command lines by the channel's
// dialect table (docs/at-dialect.md); the device's answers are shaped into the
// texts the library's helpers read and delivered on the two result signals.
//
// One command is on the wire at a time; commands wait in FIFO order, each with
// a timeout fitting the command. Every query/modify gets exactly one answer,
// in order: a command that times out, is refused, or is pending when the
// device goes away or the line is closed is answered "ERROR". Unsolicited
// reports the dialect knows arrive on the modify-result signal with their codes.
//
// Threading:
// - query() and modify() may be called from any thread. They never run the
//   command in the caller: they post it to the channel's executor (a strand of
//   the io_context), so no answer is ever delivered inside the call.
// - Answers, reports, status events and trace lines are delivered on a thread
//   that runs the io_context, inside the channel's strand. One io_context can
//   serve many AtPhoneLines.
// - open(), reopen(), close(), setTrace(), connectStatus() and the PhoneLine
//   connect/disconnect operations must not overlap with the channel's own
//   work: call them before the io_context runs, from a callback of this line,
//   or from a handler posted to executor(). With a single thread running the
//   io_context, any handler on that thread will do.
// - Destroy the AtPhoneLine in the same way, and before its io_context.
class CELLCTL_EXPORT AtPhoneLine : public PhoneLine {
public:
    using StatusCallback = ChannelStatusCallback;
    using TraceCallback = ChannelTraceCallback;
    using Executor = ChannelExecutor;

    explicit AtPhoneLine(boost::asio::io_context& io, AtPhoneLineOptions options = {});
    ~AtPhoneLine() override;

    AtPhoneLine(const AtPhoneLine&) = delete;
    AtPhoneLine& operator=(const AtPhoneLine&) = delete;

    // Opens the target and switches echo off (ATE0). The target is a serial
    // device path ("/dev/ttyUSB0"), a pty slave path (opened like a serial
    // device), or "tcp:HOST:PORT". Serial devices are opened exclusively.
    // Throws std::system_error keeping errno: ENOENT when the target does not
    // exist, EBUSY when another program holds the port, ENOTTY when the path is
    // no terminal, EINVAL for an unsupported baud rate or a malformed target.
    // An open line is closed first (its pending commands answered ERROR).
    void open(const std::string& target);
    // Closes and opens the last target again; throws as open() does.
    void reopen();
    // Closes the device; pending commands are answered ERROR. Commands sent
    // while the line is closed are answered ERROR.
    void close();
    bool isOpen() const;
    // Aborts the command on the wire as V.250 provides (a character sent
    // while a command runs ends it on most modems), so a long command such as
    // a network scan does not keep the modem busy after the host gave up on
    // it. The command is answered with the final result the modem then sends,
    // or ERROR when none comes within `grace`. Nothing happens when no command
    // is on the wire. Call it as open() and close() are called.
    void abortCommand(std::chrono::milliseconds grace = std::chrono::seconds(2));

    void query(QueryType code) override;
    void modify(QueryType code, const std::string& text) override;

    // Channel events (opened, timeout, device lost, reopened, closed).
    boost::signals2::connection connectStatus(StatusCallback callback);
    // One call per traced line: "> " written, "< " read, "! " channel notes.
    // PINs, PUKs and passwords are masked. An empty callback switches tracing off.
    void setTrace(TraceCallback callback);

    // Host commands queued or on the wire. Safe from any thread.
    std::size_t pendingCommands() const;

    Executor executor() const;

private:
    std::shared_ptr<Channel> m_channel;
};

}  // namespace cellctl::at
