#include "ModemSteps.h"

#include "Limits.h"
#include "Ts27007.h"
#include "Words.h"

namespace cellctl::cli {
namespace {

struct SimStateWord {
    SimState state;
    const char* name;
    const char* text;
};

const SimStateWord kSimStates[] = {
    {SimState::Ready, "ready", "ready"},
    {SimState::PinRequired, "pin-required", "waiting for its PIN"},
    {SimState::PukRequired, "puk-required", "blocked, waiting for its PUK"},
    {SimState::Absent, "absent", "no SIM card"},
};

const SimStateWord& wordFor(SimState state)
{
    for (const SimStateWord& word : kSimStates) {
        if (word.state == state)
            return word;
    }
    return kSimStates[0];
}

std::string withAttempts(const std::string& text, const std::optional<int>& count)
{
    std::string left = attemptsLeftText(count);
    return left.empty() ? text : text + " (" + left + ")";
}

}  // namespace

nlohmann::json attemptsJson(const SimAttempts& attempts)
{
    nlohmann::json json = nlohmann::json::object();
    auto put = [&json](const char* key, const std::optional<int>& value) {
        if (value)
            json[key] = *value;
    };
    put("pin", attempts.pin);
    put("puk", attempts.puk);
    put("pin2", attempts.pin2);
    put("puk2", attempts.puk2);
    return json;
}

std::string simStateText(SimState state) { return wordFor(state).text; }
std::string simStateName(SimState state) { return wordFor(state).name; }

std::string attemptsLeftText(const std::optional<int>& count)
{
    if (!count)
        return "";
    return std::to_string(*count) + (*count == 1 ? " attempt left" : " attempts left");
}

bool ModemSteps::radioIsOn()
{
    CPowerHelper& power = *m_session.lib().power.GetPowerHelp();
    return m_session.query(
        m_session.results().wasPoweredOn, [&power] { power.QueryPhoneFunctionality(); }, "about the radio",
        limits::kPowerOn);  // the channel may allow any +CFUN command its 30 s
}

void ModemSteps::powerOn()
{
    m_out.beginStep("power-on", "Powering on the radio");
    Assistors& lib = m_session.lib();
    // Read on its own first: the power-on sequence reads the radio's state
    // too, but a lost answer there would read as off.
    bool wasOn = radioIsOn();
    // The sequence switches the radio on whatever its state, and its set-up
    // commands set fixed values; a lost answer is checked by reading the
    // radio's state.
    bool ok = m_session.change(
        m_session.results().poweredOn,
        [&lib] {
            lib.power.PowerOn();
            // Operator names then travel as hex digits, which no line can mangle.
            lib.power.GetPowerHelp()->SetTECharacterSet();
        },
        "while powering on", limits::kPowerOn, [this] { return radioIsOn(); });
    if (!ok)
        throw CliError(ErrorKind::Failed, "the modem refused to power the radio on (AT+CFUN=1)");
    m_switchedOn = m_switchedOn || !wasOn;
    m_out.endStep(wasOn ? "already on" : "on", {{"was_on", wasOn}});
}

void ModemSteps::keepRadioOn() { m_keepRadioOn = true; }

void ModemSteps::leaveRadioAsFound()
{
    // After an interrupt nothing more is sent.
    if (m_switchedOn && !m_keepRadioOn && !m_session.interrupted())
        powerOff("Switching the radio off again (it was off)");
}

void ModemSteps::powerOff(const std::string& label)
{
    m_out.beginStep("power-off", label);
    CPowerAssistor& power = m_session.lib().power;
    bool ok = m_session.change(
        m_session.results().poweredOff, [&power] { power.PowerOff(); }, "while powering off", limits::kPowerOn,
        [this] { return !radioIsOn(); });
    if (!ok)
        throw CliError(ErrorKind::Failed, "the modem refused to power the radio off (AT+CFUN=0)");
    m_switchedOn = false;
    m_out.endStep("off");
}

namespace {

// What an answer to AT+CPIN? without a state says: the card is busy for a
// while after a PIN and is asked again; no card is a state; any other error is
// a refusal.
enum class PinAnswer { State, Busy, NoCard, Refused };

// `line` is `error`, numbered or in words.
bool isErrorLine(const std::string& line, const ts27007::MobileEquipmentError& error)
{
    return line == ts27007::numberedCmeError(error) || line.find(error.text) != std::string::npos;
}

PinAnswer classifyPinAnswer(const std::string& answer)
{
    std::size_t lineEnd = answer.rfind('\n');
    std::string last = lineEnd == std::string::npos ? answer : answer.substr(lineEnd + 1);
    if (isErrorLine(last, ts27007::kSimBusy))
        return PinAnswer::Busy;
    if (isErrorLine(last, ts27007::kSimNotInserted))
        return PinAnswer::NoCard;
    bool error = last.find("ERROR") != std::string::npos || last.find("NOT SUPPORT") != std::string::npos;
    return error ? PinAnswer::Refused : PinAnswer::State;
}

}  // namespace

SimStatus ModemSteps::readSimStatus()
{
    ModemResults& results = m_session.results();
    CUsimAssistor& usim = m_session.lib().usim;
    std::optional<SimState> state;
    Listening<bool> pin(results.needPin,
                        [&state](bool needed) { state = needed ? SimState::PinRequired : SimState::Ready; });
    Listening<bool> puk(results.needPuk, [&state](bool) { state = SimState::PukRequired; });
    Listening<bool> absent(results.simAbsent, [&state](bool isAbsent) {
        if (isAbsent)
            state = SimState::Absent;
    });
    std::string pinAnswer;
    Listening<int, std::string> answers(m_session.answers(), [&pinAnswer](int code, const std::string& text) {
        if (code == PhoneLine::PinStatus)
            pinAnswer = text;
    });

    Clock::time_point deadline = Clock::now() + m_session.limit(limits::kSim);
    for (;;) {
        // The attempts answer comes after the state answers (one command at a
        // time, in order): once it is here, the state is known or the card
        // gave none (busy), and it is asked again.
        std::string attempts = m_session.query(
            results.attempts,
            [&usim] {
                usim.QuerySimCardMode();
                usim.QueryPinStatus();
                usim.QueryAttemptRemainCount();
            },
            "while reading the SIM state", limits::kSim);
        PinAnswer kind = classifyPinAnswer(pinAnswer);
        if (!state && kind == PinAnswer::NoCard)
            state = SimState::Absent;
        if (state) {
            SimStatus status;
            status.state = *state;
            status.attempts = readAttempts(attempts);
            return status;
        }
        if (kind == PinAnswer::Refused)
            throw CliError(ErrorKind::Failed, "the modem refused AT+CPIN? (the SIM state): " + pinAnswer);
        if (Clock::now() >= deadline)
            throw CliError(ErrorKind::Timeout, "the SIM card did not report its state");
        m_session.pause(polling::kSimBusy);
    }
}

void ModemSteps::failForSimState(const SimStatus& status)
{
    switch (status.state) {
    case SimState::Absent:
        throw CliError(ErrorKind::NoSim, "no SIM card in the modem");
    case SimState::PukRequired:
        throw CliError(ErrorKind::PukRequired,
                       withAttempts("the SIM card is blocked and needs its PUK: "
                                    "run 'cellctl sim unblock PUK NEW-PIN'",
                                    status.attempts.puk),
                       {{"attempts_left", attemptsJson(status.attempts)}});
    case SimState::PinRequired:
        throw CliError(ErrorKind::PinRequired,
                       withAttempts("the SIM card needs its PIN: run again with --pin PIN", status.attempts.pin),
                       {{"attempts_left", attemptsJson(status.attempts)}});
    case SimState::Ready:
        break;
    }
    throw CliError(ErrorKind::Internal, "SIM state without a failure");
}

SimStatus ModemSteps::unlockSim(const std::optional<std::string>& pin)
{
    m_out.beginStep("sim", "Checking the SIM card");
    SimStatus status = readSimStatus();
    m_out.endStep(simStateText(status.state),
                  {{"state", simStateName(status.state)}, {"attempts_left", attemptsJson(status.attempts)}});
    if (status.state == SimState::Ready)
        return status;
    if (status.state != SimState::PinRequired || !pin)
        failForSimState(status);

    m_out.beginStep("unlock", "Unlocking the SIM card with the PIN");
    CUsimAssistor& usim = m_session.lib().usim;
    // A lost answer to the PIN is checked by reading the SIM state: never by
    // entering the PIN again.
    bool accepted = m_session.change(
        m_session.results().pinChecked, [&usim, &pin] { usim.CheckPin(*pin); }, "while checking the PIN", limits::kSim,
        [this] { return readSimStatus().state == SimState::Ready; }, Session::Resend::Never);
    if (!accepted) {
        // Never try the PIN again: a second wrong try brings the PUK closer.
        SimStatus after = readSimStatus();
        nlohmann::json details = {{"attempts_left", attemptsJson(after.attempts)}};
        if (after.state == SimState::PukRequired || after.attempts.pin == 0) {
            m_out.endStep("wrong PIN, SIM blocked");
            throw CliError(ErrorKind::WrongPassword,
                           "wrong PIN; no attempts left: the SIM card is now blocked and needs its PUK "
                           "(run 'cellctl sim unblock PUK NEW-PIN')",
                           details);
        }
        m_out.endStep("wrong PIN");
        throw CliError(ErrorKind::WrongPassword, withAttempts("wrong PIN", after.attempts.pin), details);
    }
    status = waitUntilReady();
    m_out.endStep("unlocked");
    return status;
}

SimStatus ModemSteps::waitUntilReady()
{
    Clock::time_point deadline = Clock::now() + m_session.limit(limits::kSim);
    for (;;) {
        SimStatus status = readSimStatus();
        if (status.state == SimState::Ready)
            return status;
        if (status.state != SimState::PinRequired || Clock::now() >= deadline)
            failForSimState(status);
        m_session.pause(polling::kSimBusy);
    }
}

int ModemSteps::waitForRegistration()
{
    // The command wants the network: the radio it switched on stays on.
    keepRadioOn();
    return awaitRegistration(true);
}

void ModemSteps::settleAfterPowerOn()
{
    if (m_switchedOn)
        awaitRegistration(false);
}

int ModemSteps::awaitRegistration(bool required)
{
    m_out.beginStep("registration", "Waiting for network registration");
    int status = 0;
    // Answers to the polls and the modem's own reports alike.
    Listening<int> listening(m_session.results().registration, [&status](int reported) { status = reported; });
    CPowerAssistor& power = m_session.lib().power;
    Clock::time_point deadline = Clock::now() + m_session.limit(required ? limits::kRegistration : limits::kSettle);
    int lostInARow = 0;
    std::size_t firstLost = 0;  // the session's losses before the first poll of the run
    for (;;) {
        // A lost answer to a poll is asked again by the next poll; only a
        // modem that loses every answer ends the wait early.
        Session::StepLosses losses = m_session.runStep([&power] { power.QueryCregStatus(); }, [] { return true; },
                                                       "about registration", limits::kAnswer);
        firstLost = lostInARow == 0 ? losses.firstLost : firstLost;
        lostInARow = losses.lost == 0 ? 0 : lostInARow + 1;
        if (lostInARow == Session::kQueryAttempts)
            throw m_session.lostAnswerError("about registration", firstLost,
                                            "asked " + std::to_string(lostInARow) + " times");
        if (isRegistered(status))
            break;
        Clock::duration slice = std::min(toDuration(polling::kRegistration), deadline - Clock::now());
        if (slice > Clock::duration::zero() && m_session.waitFor([&status] { return isRegistered(status); }, slice))
            break;
        if (Clock::now() >= deadline) {
            if (!required) {
                m_out.endStep("not yet: " + registrationText(status), {{"registration", registrationName(status)}});
                return status;
            }
            if (status == ts27007::RegistrationDenied)
                throw CliError(ErrorKind::NoNetwork, "the network denied registration");
            throw CliError(
                ErrorKind::NoNetwork,
                "no network: the modem did not register in time (last status: " + registrationText(status) + ")",
                {{"registration", registrationName(status)}});
        }
    }
    m_out.endStep(registrationText(status), {{"registration", registrationName(status)}});
    return status;
}

}  // namespace cellctl::cli
