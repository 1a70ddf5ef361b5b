#pragma once

#include <optional>
#include <string>

#include "Output.h"
#include "Session.h"
#include "SimAnswers.h"

namespace cellctl::cli {

enum class SimState { Ready, PinRequired, PukRequired, Absent };

struct SimStatus {
    SimState state = SimState::Ready;
    SimAttempts attempts;
};

std::string simStateText(SimState state);
nlohmann::json attemptsJson(const SimAttempts& attempts);
std::string simStateName(SimState state);

// The steps several commands share: powering on, learning the SIM state,
// unlocking the SIM, waiting for the network. Steps that change the device
// show as progress lines.
class ModemSteps {
public:
    ModemSteps(Session& session, Output& out) : m_session(session), m_out(out) {}

    // Powers the radio on and runs the set-up that follows; idempotent.
    void powerOn();
    // Powers the radio off, shown as a step with this label.
    void powerOff(const std::string& label);
    // Whether the radio is on (+CFUN?).
    bool radioIsOn();

    // The radio is left as the session found it: switched off again at the
    // end of a command that switched it on only to read or set something,
    // unless the command wants it on (waiting for registration does).
    void keepRadioOn();
    void leaveRadioAsFound();

    // The SIM state and remaining attempts, asked again while the card is
    // busy (it can be for a few seconds after a PIN). Shows nothing. A modem
    // that refuses to tell the state is a Failed error.
    SimStatus readSimStatus();

    // Makes sure the SIM is ready: enters `pin` once if the card asks for it
    // (never again after a wrong one), fails clearly if it is absent, blocked,
    // or locked without a PIN given.
    SimStatus unlockSim(const std::optional<std::string>& pin);

    // Waits until the modem is registered (home or roaming); returns the
    // status. Not registered in time is a NoNetwork failure. The radio then
    // stays on.
    int waitForRegistration();

    // Right after this session switched the radio on, the modem has not found
    // its network yet: waits for it, so that what follows shows the network,
    // but carries on (showing the state) if there is none in time.
    void settleAfterPowerOn();

private:
    SimStatus waitUntilReady();
    // The registration wait; `required` makes running out of time a failure.
    int awaitRegistration(bool required);
    [[noreturn]] void failForSimState(const SimStatus& status);

    Session& m_session;
    Output& m_out;
    bool m_switchedOn = false;   // this session powered the radio on
    bool m_keepRadioOn = false;  // and the command wants it to stay on
};

// "N attempts left" in words, or empty when the count is unknown.
std::string attemptsLeftText(const std::optional<int>& count);

}  // namespace cellctl::cli
