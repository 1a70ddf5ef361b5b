#pragma once

#include <string>
#include <vector>

#include <cellctl/power/CPowerAssistor.h>

#include "RecordingPhoneLine.h"

namespace cellctl::test {

// Every result kind of a power assistor, written down as text in firing order,
// e.g. "PowerOn(1)" or "QuerySignal(0,23)".
class PowerEvents {
public:
    explicit PowerEvents(CPowerAssistor& assistor)
    {
        assistor.connectPowerOnResult([this](bool v) { add("PowerOn", v); });
        assistor.connectPowerOffResult([this](bool v) { add("PowerOff", v); });
        assistor.connectSoftResetResult([this](bool v) { add("SoftReset", v); });
        assistor.connectDisableReadPbByPfResult([this](bool v) { add("DisableReadPbByPf", v); });
        assistor.connectQueryPowerOnResult([this](bool v) { add("QueryPowerOn", v); });
        assistor.connectQuerySignalResult([this](int tech, int level) {
            m_events.push_back("QuerySignal(" + std::to_string(tech) + "," + std::to_string(level) + ")");
        });
        assistor.connectRegistrationResult([this](int v) { add("Registration", v); });
        assistor.connectQueryCopsResult([this](std::string v) { m_events.push_back("QueryCops(" + v + ")"); });
        assistor.connectQueryCregStatusResult([this](int v) { add("QueryCregStatus", v); });
    }

    const std::vector<std::string>& list() const { return m_events; }
    void clear() { m_events.clear(); }

private:
    void add(const char* name, int value) { m_events.push_back(std::string(name) + "(" + std::to_string(value) + ")"); }

    std::vector<std::string> m_events;
};

// A power assistor of type Assistor (plain or HSDPA) without the other
// assistors, attached to a recording line, with every callback recorded.
template <typename Assistor = CPowerAssistor>
struct AttachedPower {
    AttachedPower() { assistor.SetPhoneLine(&line); }
    ~AttachedPower() { assistor.ResetPhoneLine(); }

    RecordingPhoneLine line;
    Assistor assistor;
    PowerEvents events{assistor};
};

}  // namespace cellctl::test
