// SIM: PIN and PUK entry, the PIN lock, password changes, remaining
// attempts, card type and subscriber identity.
#include <cellsim/commands/Handlers.h>

namespace cellsim::commands {

Reply pin(Device& device, const AtCommand& command)
{
    SimCard& sim = device.sim();
    switch (command.form) {
    case Form::Read:
        if (auto refused = sim.requirePresent()) {
            return Reply::failure(*refused);
        }
        return Reply::ok("+CPIN: " + sim.pinStatusWord());
    case Form::Set: {
        const auto& arguments = command.arguments;
        if (arguments.size() < 1 || arguments.size() > 2) {
            return Reply::error();
        }
        const Outcome outcome = arguments.size() == 1 ? sim.enterPin(arguments.text(0))
                                                      : sim.enterPuk(arguments.text(0), arguments.text(1));
        if (!outcome) {
            device.simUnlocked();
        }
        return Reply::from(outcome);
    }
    case Form::Test:
        return Reply::ok();
    case Form::Execute:
        break;
    }
    return Reply::error();
}

// +CLCK="SC",<mode>[,<pin>]: 0 unlock, 1 lock, 2 query the PIN lock.
Reply facilityLock(Device& device, const AtCommand& command)
{
    SimCard& sim = device.sim();
    if (command.form == Form::Test) {
        return Reply::ok("+CLCK: (\"SC\")");
    }
    const auto& arguments = command.arguments;
    const auto mode = arguments.number(1, 0, 2);
    if (command.form != Form::Set || !mode || arguments.size() > 4) {
        return Reply::error();
    }
    if (upperCase(arguments.text(0)) != "SC") {
        return Reply::failure(CmeError::OperationNotSupported);
    }
    if (*mode == 2) {
        if (auto refused = sim.requirePresent()) {
            return Reply::failure(*refused);
        }
        return Reply::ok(std::string("+CLCK: ") + (sim.lockEnabled() ? "1" : "0"));
    }
    return Reply::from(sim.setPinLock(*mode == 1, arguments.text(2)));
}

// +CPWD="SC"|"P2",<old>,<new>: the PIN or the PIN2.
Reply changePassword(Device& device, const AtCommand& command)
{
    if (command.form == Form::Test) {
        return Reply::ok("+CPWD: (\"SC\",8),(\"P2\",8)");
    }
    const auto& arguments = command.arguments;
    if (command.form != Form::Set || arguments.size() != 3) {
        return Reply::error();
    }
    const std::string facility = upperCase(arguments.text(0));
    if (facility == "SC") {
        return Reply::from(device.sim().changePin(arguments.text(1), arguments.text(2)));
    }
    if (facility == "P2") {
        return Reply::from(device.sim().changePin2(arguments.text(1), arguments.text(2)));
    }
    return Reply::failure(CmeError::OperationNotSupported);
}

Reply remainingAttempts(Device& device, const AtCommand& command)
{
    if (command.form != Form::Read) {
        return command.form == Form::Test ? Reply::ok() : Reply::error();
    }
    if (auto refused = device.sim().requirePresent()) {
        return Reply::failure(*refused);
    }
    const SimAttempts left = device.sim().attempts();
    return Reply::ok("^DRAP: " + std::to_string(left.pin) + "," + std::to_string(left.puk) + "," +
                     std::to_string(left.pin2) + "," + std::to_string(left.puk2));
}

Reply simType(Device& device, const AtCommand& command)
{
    if (command.form != Form::Read) {
        return command.form == Form::Test ? Reply::ok() : Reply::error();
    }
    if (auto refused = device.sim().requirePresent()) {
        return Reply::failure(*refused);
    }
    return Reply::ok(std::string("^DUSIM: ") + (device.sim().usim() ? "1" : "0"));
}

Reply subscriberIdentity(Device& device, const AtCommand& command)
{
    if (command.form != Form::Execute) {
        return command.form == Form::Test ? Reply::ok() : Reply::error();
    }
    if (auto refused = device.sim().requireReady()) {
        return Reply::failure(*refused);
    }
    return Reply::ok("460001234567890");
}

}  // namespace cellsim::commands
