// Power and registration: +CFUN, signal quality on GSM (+CSQ) and TD
// (^DCSQ), and the registration statuses +CREG and +CGREG.
#include <cellsim/commands/Handlers.h>

namespace cellsim::commands {

Reply phoneFunctionality(Device& device, const AtCommand& command)
{
    switch (command.form) {
    case Form::Set: {
        const auto& arguments = command.arguments;
        const auto functionality = arguments.number(0);
        const auto reset = arguments.given(1) ? arguments.number(1, 0, 1) : 0;
        if (!functionality || (*functionality != 0 && *functionality != 1 && *functionality != 4) || !reset ||
            arguments.size() > 2) {
            return Reply::error();
        }
        if (*reset == 1) {
            device.reset(*functionality);
        } else {
            device.setFunctionality(*functionality);
        }
        return Reply::ok();
    }
    case Form::Read:
        return Reply::ok("+CFUN: " + std::to_string(device.functionality()));
    case Form::Test:
        return Reply::ok("+CFUN: (0,1,4),(0-1)");
    case Form::Execute:
        break;
    }
    return Reply::error();
}

// Each signal command measures its own access technology: 99 means no measurement.
Reply signalGsm(Device& device, const AtCommand& command)
{
    if (command.form == Form::Test) {
        return Reply::ok("+CSQ: (0-31,99),(0-7,99)");
    }
    if (command.form != Form::Execute) {
        return Reply::error();
    }
    const bool measured = device.radioOn() && device.network().campedAccessTech() == AccessGsm;
    return Reply::ok("+CSQ: " + (measured ? std::to_string(device.options().gsmRssi) : std::string("99")) + ",99");
}

Reply signalTd(Device& device, const AtCommand& command)
{
    switch (command.form) {
    case Form::Read: {
        const bool measured = device.radioOn() && device.network().campedAccessTech() == AccessTd;
        return Reply::ok("^DCSQ: " + (measured ? std::to_string(device.options().tdLevel) : std::string("99")));
    }
    case Form::Set: {
        const auto mode = command.arguments.number(0, 0, 1);
        if (!mode || command.arguments.size() > 1) {
            return Reply::error();
        }
        device.settings().values["^DCSQ"] = {*mode};
        return Reply::ok();
    }
    case Form::Test:
        return Reply::ok("^DCSQ: (0-1)");
    case Form::Execute:
        break;
    }
    return Reply::error();
}

namespace {

// +CREG and +CGREG share their forms; they differ in the status they show
// and the report setting they change.
Reply registrationCommand(Device& device, const AtCommand& command, bool packetDomain)
{
    Network& network = device.network();
    const std::string prefix = packetDomain ? "+CGREG" : "+CREG";
    switch (command.form) {
    case Form::Set: {
        const auto mode = command.arguments.given(0) ? command.arguments.number(0, 0, 2) : 0;
        if (!mode || command.arguments.size() > 1) {
            return Reply::error();
        }
        if (packetDomain) {
            network.setPacketReports(*mode);
        } else {
            network.setRegistrationReports(*mode);
        }
        return Reply::ok();
    }
    case Form::Read: {
        const int status = packetDomain ? network.packetStatus() : network.status();
        const int mode = packetDomain ? network.packetReports() : network.registrationReports();
        return Reply::ok(network.registrationLine(prefix, status, mode, true));
    }
    case Form::Test:
        return Reply::ok(prefix + ": (0-2)");
    case Form::Execute:
        break;
    }
    return Reply::error();
}

}  // namespace

Reply registration(Device& device, const AtCommand& command) { return registrationCommand(device, command, false); }

Reply packetRegistration(Device& device, const AtCommand& command)
{
    return registrationCommand(device, command, true);
}

}  // namespace cellsim::commands
