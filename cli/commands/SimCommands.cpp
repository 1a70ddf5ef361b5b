// cellctl sim: state, PIN and PUK entry, PIN lock, PIN and PIN2 changes.
#include "Commands.h"

#include "Limits.h"

namespace cellctl::cli {
namespace {

// A request that proves a password to the card. On a refusal, the attempts
// count tells a wrong password (one attempt fewer) from any other failure.
struct PasswordRequest {
    const char* key;                            // step name in JSON
    const char* label;                          // progress line
    const char* done;                           // outcome for people
    const char* password;                       // which password, for messages
    std::optional<int> SimAttempts::*attempts;  // the counter that moves on a wrong password
};

// The card must be ready first; `unlockPin` opens it when it is PIN-locked.
void provePassword(CommandContext& c, const PasswordRequest& request, const std::optional<std::string>& unlockPin,
                   const std::function<bool()>& send)
{
    SimStatus before = c.steps.unlockSim(unlockPin);
    c.out.beginStep(request.key, request.label);
    if (send()) {
        c.out.endStep(request.done);
        return;
    }
    SimStatus after = c.steps.readSimStatus();
    const std::optional<int>& left = after.attempts.*request.attempts;
    const std::optional<int>& had = before.attempts.*request.attempts;
    nlohmann::json details = {{"attempts_left", attemptsJson(after.attempts)}};
    if (after.state == SimState::PukRequired) {
        c.out.endStep("wrong " + std::string(request.password) + ", SIM blocked");
        throw CliError(ErrorKind::WrongPassword,
                       "wrong " + std::string(request.password) +
                           "; no attempts left: the SIM card is now blocked and needs its PUK "
                           "(run 'cellctl sim unblock PUK NEW-PIN')",
                       details);
    }
    if (left && had && *left < *had) {
        c.out.endStep("wrong " + std::string(request.password));
        std::string message = "wrong " + std::string(request.password) + " (" + attemptsLeftText(left) + ")";
        throw CliError(ErrorKind::WrongPassword, message, details);
    }
    throw CliError(ErrorKind::Failed, "the SIM card refused the request", details);
}

}  // namespace

void runSimStatus(CommandContext& c)
{
    Session& session = c.session;
    CUsimAssistor& usim = session.lib().usim;
    SimStatus status = c.steps.readSimStatus();
    c.out.item("state", "SIM card", simStateText(status.state), simStateName(status.state));

    std::optional<bool> lock;
    if (status.state != SimState::Absent) {
        std::string answer = session.query(
            session.results().pinLock, [&usim] { usim.QueryIsPinStarted(); }, "about the PIN lock", limits::kAnswer);
        lock = readPinLock(answer);
    }
    c.out.item("pin_lock", "PIN lock", lock ? (*lock ? "on" : "off") : "unknown",
               lock ? nlohmann::json(*lock) : nlohmann::json());

    const SimAttempts& a = status.attempts;
    auto count = [](const std::optional<int>& n) { return n ? std::to_string(*n) : std::string("?"); };
    c.out.item("attempts_left", "Attempts left",
               "PIN " + count(a.pin) + ", PUK " + count(a.puk) + ", PIN2 " + count(a.pin2) + ", PUK2 " + count(a.puk2),
               attemptsJson(a));
}

// The command line gives the PIN of unlock and lock: their argument, else the global PIN.
void runSimUnlock(CommandContext& c)
{
    SimStatus status = c.steps.unlockSim(c.args.pin);
    c.out.item("state", "SIM card", simStateText(status.state), simStateName(status.state));
}

void runSimUnblock(CommandContext& c)
{
    Session& session = c.session;
    CUsimAssistor& usim = session.lib().usim;
    c.out.beginStep("sim", "Checking the SIM card");
    SimStatus before = c.steps.readSimStatus();
    c.out.endStep(simStateText(before.state), {{"state", simStateName(before.state)}});
    if (before.state == SimState::Absent)
        throw CliError(ErrorKind::NoSim, "no SIM card in the modem");
    if (before.state != SimState::PukRequired)
        throw CliError(ErrorKind::Failed,
                       "the SIM card is not blocked; to change the PIN use 'cellctl sim change-pin OLD NEW'");

    c.out.beginStep("unblock", "Unblocking the SIM card with the PUK");
    const CommandArgs& args = c.args;
    bool ok = std::get<0>(session.request(
        session.results().pukChecked, [&] { usim.ChangePin(args.puk, args.newPin); }, "while checking the PUK",
        limits::kSim));
    if (!ok) {
        // Like a PIN, a PUK is never tried twice.
        SimStatus after = c.steps.readSimStatus();
        c.out.endStep("wrong PUK");
        throw CliError(ErrorKind::WrongPassword, "wrong PUK (" + attemptsLeftText(after.attempts.puk) + ")",
                       {{"attempts_left", attemptsJson(after.attempts)}});
    }
    c.out.endStep("unblocked, new PIN set");
    SimStatus after = c.steps.readSimStatus();
    c.out.item("state", "SIM card", simStateText(after.state), simStateName(after.state));
}

void runSimLock(CommandContext& c)
{
    const std::string& pin = c.args.pin;
    bool on = c.args.lockState == "on";
    CUsimAssistor& usim = c.session.lib().usim;
    Session& session = c.session;
    PasswordRequest request{"lock", on ? "Switching the PIN lock on" : "Switching the PIN lock off", on ? "on" : "off",
                            "PIN", &SimAttempts::pin};
    provePassword(c, request, pin, [&] {
        return std::get<0>(session.request(
            session.results().pinChecked,
            [&] {
                if (on)
                    usim.StartupPin(pin);
                else
                    usim.ClosePin(pin);
            },
            "while switching the PIN lock", limits::kSim));
    });
    c.out.data("pin_lock") = on;
}

void runSimChangePin(CommandContext& c)
{
    CUsimAssistor& usim = c.session.lib().usim;
    Session& session = c.session;
    const CommandArgs& args = c.args;
    PasswordRequest request{"change-pin", "Changing the PIN", "changed", "PIN", &SimAttempts::pin};
    // A PIN-locked card is opened with the current PIN, which is OLD.
    provePassword(c, request, c.global.pin.value_or(args.oldPassword), [&] {
        return session.request(
            session.results().lockPasswordChanged,
            [&] { usim.ChangeLockSimCardPassword(args.oldPassword, args.newPassword); }, "while changing the PIN",
            limits::kSim);
    });
}

void runSimChangePin2(CommandContext& c)
{
    CUsimAssistor& usim = c.session.lib().usim;
    Session& session = c.session;
    const CommandArgs& args = c.args;
    PasswordRequest request{"change-pin2", "Changing the fixed-dialling password (PIN2)", "changed", "PIN2",
                            &SimAttempts::pin2};
    provePassword(c, request, c.global.pin, [&] {
        return session.request(
            session.results().fixedDialingPasswordChanged,
            [&] { usim.ChangeSimFixedDialingMemoryPassword(args.oldPassword, args.newPassword); },
            "while changing PIN2", limits::kSim);
    });
}

}  // namespace cellctl::cli
