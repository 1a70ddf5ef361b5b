#pragma once

#include <cstdint>

#include <cellctl/cellctl.h>

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

// The library as a host sets it up at start-up: every assistor (the HSDPA
// power assistor, dual mode on) attached to one PhoneLine, with a host
// callback on every result kind. Every helper therefore sees every answer the
// line delivers.
class StartupRig {
public:
    explicit StartupRig(PhoneLine& line);
    StartupRig(const StartupRig&) = delete;
    StartupRig& operator=(const StartupRig&) = delete;

    CPowerAssistor& power() { return m_assistors.GetPowerAssistor(); }
    CCopsAssistor& cops() { return m_assistors.GetCopsAssistor(); }
    CModeAssistor& mode() { return m_assistors.GetModeAssistor(); }
    CUsimAssistor& usim() { return m_assistors.GetUsimAssistor(); }
    const HostTally& tally() const { return m_tally; }

private:
    HostTally m_tally;
    CAssistorSet m_assistors;  // detached on destruction, as a host does before it lets the line go
};

}  // namespace bench
