#pragma once

#include <cellctl/cellctl.h>

namespace cellctl::cli {

// The library's assistors as cellctl uses them: the HSDPA power assistor in
// dual mode (it reads the network mode during power-on), and every assistor
// under the name the commands use. The set attaches and detaches them in the
// library's order.
class Assistors {
    CAssistorSet m_set;  // first: the references below point into it

public:
    Assistors();
    Assistors(const Assistors&) = delete;
    Assistors& operator=(const Assistors&) = delete;

    // Hands the channel to every assistor (and binds the packet-data helper).
    void attach(PhoneLine& line) { m_set.SetPhoneLine(&line); }
    // Unbinds every helper; must run before the channel goes.
    void detach() { m_set.ResetPhoneLine(); }

    CUsimAssistor& usim = m_set.GetUsimAssistor();
    CCopsAssistor& cops = m_set.GetCopsAssistor();
    CModeAssistor& mode = m_set.GetModeAssistor();
    CPowerAssistor& power = m_set.GetPowerAssistor();
    CConnectionHelper& connectionHelper = m_set.GetConnectionHelper();
    CConnectionAssistor& connection = m_set.GetConnectionAssistor();
};

}  // namespace cellctl::cli
