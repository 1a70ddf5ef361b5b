#pragma once

#include <string>
#include <type_traits>
#include <vector>

#include <cellctl/cellctl.h>

#include "EveryCallback.h"
#include "RecordingPhoneLine.h"

namespace cellctl::test {

// Every assistor of the library attached to one PhoneLine as at start-up, with
// a power assistor of type Power (CPowerAssistor or CPowerAssistorHsdpa).
// Every host callback of every assistor writes its name ("Owner.Kind") into
// `fired`.
template <typename Power, typename Line = RecordingPhoneLine>
class WholeLibrary {
public:
    explicit WholeLibrary(bool dualMode = false)
    {
        power.SetSupportDualMode(dualMode);
        assistors.SetPhoneLine(&line);
        connectEveryCallback(assistors, [this](const std::string& name) { return Record{&fired, name}; });
    }

    Line line;  // declared first: outlives the attachment
    CAssistorSet assistors{std::is_same_v<Power, CPowerAssistorHsdpa> ? CAssistorSet::PowerHsdpa
                                                                      : CAssistorSet::PowerBasic};
    CUsimAssistor& usim = assistors.GetUsimAssistor();
    CCopsAssistor& cops = assistors.GetCopsAssistor();
    CModeAssistor& mode = assistors.GetModeAssistor();
    CConnectionAssistor& connection = assistors.GetConnectionAssistor();
    CPowerAssistor& power = assistors.GetPowerAssistor();
    std::vector<std::string> fired;

private:
    // A callback of any signature that only records that it ran.
    struct Record {
        std::vector<std::string>* fired;
        std::string name;
        template <typename... Values>
        void operator()(const Values&...) const
        {
            fired->push_back(name);
        }
    };
};

}  // namespace cellctl::test
