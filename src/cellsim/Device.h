#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <cellsim/ModemOptions.h>
#include <cellsim/Network.h>
#include <cellsim/PacketData.h>
#include <cellsim/PreferredList.h>
#include <cellsim/Reply.h>
#include <cellsim/Scheduler.h>
#include <cellsim/SimCard.h>

namespace cellsim {

// Terminal settings: what ATZ and a reset bring back to their defaults.
struct Settings {
    bool echo = true;
    int errorMode = 1;                                          // +CMEE: 0 plain ERROR, 1 numeric, 2 text
    std::string charset = "IRA";                                // +CSCS
    int operatorFormat = 0;                                     // +COPS=3,<format>
    std::vector<std::string> messageStorage{"ME", "ME", "ME"};  // +CPMS
    std::map<std::string, std::vector<int>> values;             // simple numeric settings by command name
};

// The whole device state the command handlers work on, and the actions that
// touch several parts at once (power, reset, SIM unlock). All ports of the
// modem share it.
class Device {
public:
    using Report = std::function<void(const std::string&)>;

    Device(const ModemOptions& options, Scheduler& scheduler, Report report);

    const ModemOptions& options() const { return m_options; }
    Settings& settings() { return m_settings; }
    const Settings& settings() const { return m_settings; }
    SimCard& sim() { return m_sim; }
    Network& network() { return m_network; }
    PreferredList& preferredList() { return m_preferred; }
    PacketData& packetData() { return m_packet; }

    int functionality() const { return m_functionality; }
    bool radioOn() const { return m_functionality == 1; }
    void setFunctionality(int functionality);
    // Restarts the device (+CFUN=<fun>,1): settings, reports and network mode
    // as after power-up, the card asks its PIN again, then <fun> applies.
    void reset(int functionality);
    // After a PIN or PUK was accepted: registration may start now.
    void simUnlocked();

    // Why the last dial failed or the last call dropped, in plain words (+CEER);
    // empty when none did since power-up.
    const std::string& lastCallEnd() const { return m_lastCallEnd; }
    void setLastCallEnd(std::string reason) { m_lastCallEnd = std::move(reason); }

    // Sends an unsolicited report (held back while a command runs).
    void report(const std::string& line) { m_report(line); }

    // The card is ready and the radio on (errors 10-13, then 30).
    Outcome requireService() const;

    // Operator names on the wire: hex digits under "HEX", raw bytes otherwise.
    std::string encodeName(const std::string& name) const;
    std::optional<std::string> decodeName(const std::string& text) const;

private:
    void updateService();

    ModemOptions m_options;
    Report m_report;
    Settings m_settings;
    SimCard m_sim;
    Network m_network;
    PreferredList m_preferred;
    PacketData m_packet;
    std::string m_lastCallEnd;
    int m_functionality = 0;
};

}  // namespace cellsim
