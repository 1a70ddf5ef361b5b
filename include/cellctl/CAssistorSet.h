#pragma once

#include <memory>

#include <cellctl/connection/CConnectionAssistor.h>
#include <cellctl/connection/CConnectionHelper.h>
#include <cellctl/cops/CCopsAssistor.h>
#include <cellctl/framework/Export.h>
#include <cellctl/mode/CModeAssistor.h>
#include <cellctl/power/CPowerAssistor.h>
#include <cellctl/usim/CUsimAssistor.h>

class PhoneLine;

// Every assistor of the library, wired to one PhoneLine the way a host wires
// them by hand: the SIM, operator and mode assistors, the power assistor that
// borrows those three, and the packet-data pair (helper and assistor), which
// the set joins to each other when it builds them.
//
// SetPhoneLine attaches them in the start-up order: SIM, operators, mode,
// power, then the packet-data helper (line set, slots bound).
// ResetPhoneLine detaches them in the reverse order, and the destructor does
// so too if the host has not; the objects are then destroyed in reverse
// order of creation (packet data, power, mode, operators, SIM). The PhoneLine
// must outlive the attachment.
//
// The set only wires. Callbacks, settings such as dual mode, and every
// request go to the assistors themselves, through the getters.
class CELLCTL_EXPORT CAssistorSet {
public:
    // Which power assistor the set builds.
    enum EPowerType : int {
        PowerBasic = 0,  // CPowerAssistor
        PowerHsdpa = 1   // CPowerAssistorHsdpa: its set-up also switches on the HSDPA reports
    };

    explicit CAssistorSet(EPowerType powerType = PowerHsdpa);
    ~CAssistorSet();
    CAssistorSet(const CAssistorSet&) = delete;
    CAssistorSet& operator=(const CAssistorSet&) = delete;

    // Attaches every assistor to `line` in the start-up order. A set already
    // attached is detached first, so no helper is ever bound twice. Sends
    // nothing.
    void SetPhoneLine(PhoneLine* line);
    // Detaches every assistor in the shut-down order; nothing when not
    // attached. Sends nothing. As with each assistor, the helpers keep the
    // line, so a request made afterwards is still sent but its answer reaches
    // no callback.
    void ResetPhoneLine();
    // The line attached to, or null.
    PhoneLine* GetPhoneLine() const { return m_phoneLine; }

    CUsimAssistor& GetUsimAssistor() { return m_usim; }
    CCopsAssistor& GetCopsAssistor() { return m_cops; }
    CModeAssistor& GetModeAssistor() { return m_mode; }
    CPowerAssistor& GetPowerAssistor() { return *m_power; }
    CConnectionHelper& GetConnectionHelper() { return m_connectionHelper; }
    CConnectionAssistor& GetConnectionAssistor() { return m_connection; }

private:
    // Declared in creation order; destroyed in reverse.
    CUsimAssistor m_usim;
    CCopsAssistor m_cops;
    CModeAssistor m_mode;
    std::unique_ptr<CPowerAssistor> m_power;
    CConnectionHelper m_connectionHelper;
    CConnectionAssistor m_connection;
    PhoneLine* m_phoneLine;
};
