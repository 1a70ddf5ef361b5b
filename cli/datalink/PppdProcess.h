#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>

#include <boost/asio/io_context.hpp>

#include "DataLinkHost.h"
#include "DataLinkOptions.h"
#include "PppdLog.h"

namespace cellctl::cli {

// One run of pppd on the modem's open descriptor: started with the options of
// pppdArguments(), its log read line by line as it comes, its end noticed on
// the event loop. Stopping it is SIGTERM, then SIGKILL if it lingers; the
// destructor makes sure no pppd outlives the object.
class PppdProcess {
public:
    // Throws DataLinkError: PppdMissing when there is no pppd to run,
    // PppdNotPermitted when this user may not run it.
    PppdProcess(boost::asio::io_context& io, DataLinkHost& host, const DataLinkOptions& options, int ttyFd);
    ~PppdProcess();
    PppdProcess(const PppdProcess&) = delete;
    PppdProcess& operator=(const PppdProcess&) = delete;

    pid_t pid() const { return m_pid; }
    const LinkDetails& details() const { return m_details; }
    // The interface is named, addressed, and pppd has reported the peer.
    bool linkUp() const { return !m_details.localAddress.empty() && !m_details.peerAddress.empty(); }
    bool authFailed() const { return m_authFailed; }

    // pppd's exit status once it has ended (128 + signal when killed).
    std::optional<int> exitStatus() const { return m_exitStatus; }
    // pppd's last log lines, for a failure message.
    std::string lastWords() const;

    // SIGTERM, waiting up to `grace` before SIGKILL; returns once pppd has ended.
    void stop(LinkClock::duration grace);

private:
    void readLog();
    void awaitExit();
    void takeLogLine(const std::string& line);
    void reap();

    struct Watch;
    DataLinkHost& m_host;
    pid_t m_pid = -1;
    std::unique_ptr<Watch> m_watch;
    std::string m_partialLine;
    std::deque<std::string> m_recentLines;
    LinkDetails m_details;
    bool m_authFailed = false;

    std::optional<int> m_exitStatus;
};

}  // namespace cellctl::cli
