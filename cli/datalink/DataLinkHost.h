#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cellctl::cli {

using LinkClock = std::chrono::steady_clock;

// What the link carried so far, from the interface's counters.
struct LinkCounters {
    std::uint64_t bytesIn = 0;
    std::uint64_t bytesOut = 0;
};

// The link as pppd reported it.
struct LinkDetails {
    std::string interface;
    std::string localAddress;
    std::string peerAddress;
    std::vector<std::string> dnsServers;
};

// What a data session needs from the program hosting it, and what it tells
// that program as it goes. The session runs on the host's event loop: it waits
// only through runLoop(), so the host keeps serving its other work (signals,
// an AT port it monitors) meanwhile.
class DataLinkHost {
public:
    virtual ~DataLinkHost() = default;

    // Runs the event loop until `done` holds (true) or `limit` has passed (false).
    virtual bool runLoop(const std::function<bool()>& done, LinkClock::duration limit) = 0;
    // The user or the service asked the link to end.
    virtual bool stopRequested() const = 0;

    // The modem port is the AT port: the host lets go of it before dialling and
    // takes it back after hang-up.
    virtual void releaseCommandPort() {}
    virtual void reclaimCommandPort() {}
    // Before a redial: make sure the modem is registered and attached again.
    // Throws DataLinkError (or the host's own error) when it cannot be.
    virtual void prepareRedial() {}

    virtual void dialling(const std::string& command) { (void)command; }
    // The dial's final result: CONNECT … or the refusal.
    virtual void dialed(const std::string& result) { (void)result; }
    virtual void negotiating(const std::string& interface) { (void)interface; }
    virtual void linkUp(const LinkDetails& details) { (void)details; }
    virtual void online(const LinkCounters& counters, LinkClock::duration upFor) { (void)counters, (void)upFor; }
    virtual void linkDown(const std::string& reason) { (void)reason; }
    virtual void redialling(LinkClock::duration delay, int redial) { (void)delay, (void)redial; }
    virtual void hangingUp() {}
    virtual void hungUp() {}
    // Something worth a line: pppd's complaints, a skipped step.
    virtual void notice(const std::string& text) { (void)text; }
};

}  // namespace cellctl::cli
