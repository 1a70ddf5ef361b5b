#pragma once

#include <memory>
#include <optional>
#include <string>

#include <boost/asio/io_context.hpp>

#include "DataLinkError.h"
#include "DataLinkHost.h"
#include "DataLinkOptions.h"

namespace cellctl::cli {

class ModemPort;
class PppdProcess;

// A packet-data call from dial to hang-up, independent of any user interface:
// dials the PDP context, hands the line to pppd, waits for an address, then
// supervises the link until the host asks it to stop; when the link drops it
// says why and redials with a growing pause (2 s, 4 s, … up to a minute).
// Every end goes through the same hang-up: pppd stopped (SIGTERM, then
// SIGKILL), DTR dropped, the +++ escape and ATH if the modem still is in data
// mode, and AT answered OK before the port is given back.
class DataSession {
public:
    DataSession(boost::asio::io_context& io, DataLinkHost& host, DataLinkOptions options);
    ~DataSession();
    DataSession(const DataSession&) = delete;
    DataSession& operator=(const DataSession&) = delete;

    // Runs until the host asks to stop (returns normally) or the link cannot be
    // had or kept (throws DataLinkError). The first connection must succeed:
    // its failure is thrown at once; later ones count against the redials.
    void run();

    // The link as it was last up, and for how long the current link has been up.
    const LinkDetails& details() const { return m_details; }
    bool everUp() const { return m_everUp; }
    bool up() const { return m_up; }
    LinkClock::duration upFor() const;
    LinkCounters counters() const;
    // Over every link of the session, redials included.
    LinkClock::duration totalUpFor() const { return m_totalUp + upFor(); }
    LinkCounters totalCounters() const;
    int redials() const { return m_redials; }

private:
    // One call: dial, pppd, supervise. Returns why it ended when the link went
    // down by itself; empty when the host asked to stop.
    std::string callOnce(bool firstCall);
    std::string superviseLink();
    void waitForAddress();
    void writeResolvConf() const;
    void hangUp();
    [[noreturn]] void failFromPppd(bool firstCall);

    boost::asio::io_context& m_io;
    DataLinkHost& m_host;
    DataLinkOptions m_options;
    std::unique_ptr<ModemPort> m_port;
    std::unique_ptr<PppdProcess> m_pppd;
    LinkDetails m_details;
    LinkClock::time_point m_upSince{};
    LinkCounters m_lastCounters;
    LinkClock::duration m_totalUp{};  // of the links before the current one
    LinkCounters m_totalCounters;     // of the links before the current one
    bool m_up = false;
    bool m_everUp = false;
    std::optional<DataLinkError> m_hangUpFailure;  // the modem lost or not back in command mode
    int m_redials = 0;
};

// The counters of a network interface (/sys/class/net/<name>/statistics);
// empty once the interface is gone.
std::optional<LinkCounters> readInterfaceCounters(const std::string& interface);

}  // namespace cellctl::cli
