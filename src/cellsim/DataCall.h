#pragma once

#include <functional>
#include <memory>
#include <string>

#include <cellsim/EscapeSequence.h>
#include <cellsim/NetworkSide.h>
#include <cellsim/Scheduler.h>

namespace cellsim {

// One data call of a port, from CONNECT to its end. Online, the host's bytes
// go to the network side (nowhere, without one) unless they are the "+++"
// escape, and the network's bytes go to the host unchanged. After the escape
// (online command state) the network's bytes are dropped until resume().
class DataCall {
public:
    struct Events {
        std::function<void(const std::string&)> toHost;
        std::function<void()> escaped;
        // The network side went away; the receiver may destroy the call in it.
        std::function<void(const std::string& reason)> ended;
    };

    DataCall(Scheduler& scheduler, const NetworkSideFactory& network, long bitRate, Events events);
    DataCall(const DataCall&) = delete;
    DataCall& operator=(const DataCall&) = delete;

    long bitRate() const { return m_bitRate; }
    bool online() const { return m_online; }

    // The host's bytes while online.
    void fromHost(const std::string& bytes);
    // Back online after the escape (ATO).
    void resume();

private:
    Events m_events;
    long m_bitRate;
    bool m_online = true;
    EscapeSequence m_escape;
    std::unique_ptr<NetworkSide> m_network;
};

}  // namespace cellsim
