#pragma once

#include <memory>
#include <string>
#include <vector>

#include <boost/asio/io_context.hpp>

#include "DataLinkHost.h"
#include "DialResult.h"
#include "UucpLock.h"

namespace cellctl::cli {

// The modem's data port (often the AT port itself) opened raw for the call:
// AT commands and the dial go out on it, then the open descriptor is handed
// to pppd, then it is taken back for the hang-up. Waiting happens on the
// host's event loop.
class ModemPort {
public:
    struct Answer {
        std::vector<std::string> lines;  // information lines, without the final one
        std::string final;               // the final result line; empty when none came in time
        DialOutcome outcome = DialOutcome::NotFinal;
    };

    // Locks (UUCP) and opens the device raw, 8N1, at `baudRate`. Throws
    // DataLinkError: DeviceBusy when another program holds it, DeviceLost
    // when it cannot be opened.
    ModemPort(boost::asio::io_context& io, DataLinkHost& host, const std::string& path, unsigned baudRate);
    ~ModemPort();
    ModemPort(const ModemPort&) = delete;
    ModemPort& operator=(const ModemPort&) = delete;

    const std::string& path() const { return m_path; }
    // The descriptor pppd gets as its standard input and output.
    int descriptor() const { return m_fd; }

    // Sends `line` and reads until a final result or until `limit`.
    Answer command(const std::string& line, LinkClock::duration limit);
    // Throws away whatever the modem sent and nobody read.
    void discardInput();
    // Drops DTR for `duration` by setting the line speed to 0, then restores it.
    void dropDtr(LinkClock::duration duration);
    // The V.250 escape: a guard time of silence, "+++", a guard time; true
    // when the modem then answers OK.
    bool escapeToCommandMode();

private:
    Answer readAnswer(const std::string& sent, LinkClock::duration limit);
    void pause(LinkClock::duration duration);

    struct Reader;
    boost::asio::io_context& m_io;
    DataLinkHost& m_host;
    std::string m_path;
    UucpLock m_lock;
    int m_fd = -1;
};

}  // namespace cellctl::cli
