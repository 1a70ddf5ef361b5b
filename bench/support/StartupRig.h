#pragma once

#include <cstdint>

#include <cellctl/cellctl.h>
#include <cellctl/power/CPowerAssistorHsdpa.h>

namespace bench {

// What the host's callbacks saw. Every callback counts itself and keeps the
// value a benchmark checks, so no result can be optimised away unseen.
struct HostTally {
    std::uint64_t callbacks = 0;
    int signalLevel = -1;
    int registration = -1;
    std::size_t availableOperators = 0;
    std::size_t preferredEntries = 0;
    int currentOperatorTech = -1;
    int modeType = -1;
    bool powerOn = false;
};

// The library as a host sets it up at start-up: the SIM, operator and mode
// assistors, the HSDPA power assistor over them, and the packet-data pair,
// all attached to one PhoneLine, with a host callback on every result kind.
// Every helper therefore sees every answer the line delivers.
class StartupRig {
public:
    explicit StartupRig(PhoneLine& line);
    // Detaches every helper, as a host does before it lets the line go.
    ~StartupRig();
    StartupRig(const StartupRig&) = delete;
    StartupRig& operator=(const StartupRig&) = delete;

    CPowerAssistorHsdpa& power() { return m_power; }
    CCopsAssistor& cops() { return m_cops; }
    CModeAssistor& mode() { return m_mode; }
    CUsimAssistor& usim() { return m_usim; }
    const HostTally& tally() const { return m_tally; }

private:
    void connectPowerCallbacks();
    void connectUsimCallbacks();
    void connectCopsCallbacks();
    void connectModeCallbacks();
    void connectConnectionCallbacks();

    HostTally m_tally;
    CUsimAssistor m_usim;
    CCopsAssistor m_cops;
    CModeAssistor m_mode;
    CPowerAssistorHsdpa m_power;
    CConnectionHelper m_connectionHelper;
    CConnectionAssistor m_connection;
};

}  // namespace bench
