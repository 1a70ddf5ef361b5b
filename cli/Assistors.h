#pragma once

#include <cellctl/cellctl.h>
#include <cellctl/power/CPowerAssistorHsdpa.h>

namespace cellctl::cli {

// Every assistor of the library, built in the order a host must build them:
// SIM, operators and mode first, then the power assistor that borrows them,
// then the packet-data pair, which the host wires itself. Members are
// destroyed in reverse order: packet data, power, then the others.
struct Assistors {
    Assistors();
    Assistors(const Assistors&) = delete;
    Assistors& operator=(const Assistors&) = delete;

    // Hands the channel to every assistor (and binds the packet-data helper).
    void attach(PhoneLine& line);
    // Unbinds every helper; must run before the channel or the assistors go.
    void detach();

    CUsimAssistor usim;
    CCopsAssistor cops;
    CModeAssistor mode;
    CPowerAssistorHsdpa power;
    CConnectionHelper connectionHelper;
    CConnectionAssistor connection;

private:
    bool m_attached = false;
};

}  // namespace cellctl::cli
