#pragma once

#include <string>
#include <vector>

#include <cellctl/cellctl.h>

#include "EveryCallback.h"
#include "RecordingPhoneLine.h"

namespace cellctl::test {

// Every assistor of the library on one PhoneLine, wired as a host does at
// start-up: the SIM, operator and mode assistors, the power assistor (of type
// Power) borrowing them, and the packet-data pair. Every host callback of
// every assistor writes its name ("Owner.Kind") into `fired`.
template <typename Power, typename Line = RecordingPhoneLine>
class WholeLibrary {
public:
    explicit WholeLibrary(bool dualMode = false) : power(&usim, &cops, &mode)
    {
        power.SetSupportDualMode(dualMode);
        usim.SetPhoneLine(&line);
        cops.SetPhoneLine(&line);
        mode.SetPhoneLine(&line);
        power.SetPhoneLine(&line);
        connectionHelper.SetConnectionAssistor(&connection);
        connectionHelper.SetPhoneLine(&line);
        connectionHelper.Initialize();
        auto record = [this](const std::string& name) { return Record{&fired, name}; };
        connectEveryCallback(power, usim, cops, mode, record);
        connectPacketDataCallbacks(connection, record);
    }

    ~WholeLibrary()
    {
        power.ResetPhoneLine();
        usim.ResetPhoneLine();
        cops.ResetPhoneLine();
        mode.ResetPhoneLine();
        connection.ResetPhoneLine();
    }

    Line line;
    CUsimAssistor usim;
    CCopsAssistor cops;
    CModeAssistor mode;
    CConnectionHelper connectionHelper;
    CConnectionAssistor connection{&connectionHelper};
    Power power;  // declared last: destroyed before the assistors it borrows
    std::vector<std::string> fired;

private:
    // A callback of any signature that only records that it ran.
    struct Record {
        std::vector<std::string>* fired;
        std::string name;
        template <typename... Values>
        void operator()(const Values&...) const { fired->push_back(name); }
    };
};

}  // namespace cellctl::test
