// Network mode: the current mode (^DSTM), the power-on mode (^DDTM), and the
// HSDPA indication (+HSIND) and cell-capability (^DCINFO) reports.
#include <cellsim/commands/Handlers.h>

namespace cellsim::commands {

Reply networkMode(Device& device, const AtCommand& command)
{
    Network& network = device.network();
    switch (command.form) {
    case Form::Read: {
        const NetworkMode& mode = network.mode();
        return Reply::ok("^DSTM: " + std::to_string(mode.behaviour) + "," + std::to_string(mode.modeType) + "," +
                         std::to_string(network.campedAccessTech()));
    }
    case Form::Set: {
        const auto& arguments = command.arguments;
        const auto behaviour = arguments.number(0);
        const auto modeType = arguments.number(1);
        const auto accessTech = arguments.given(2) ? arguments.number(2) : std::nullopt;
        if (!behaviour || !modeType || (arguments.given(2) && !accessTech) || arguments.size() > 3) {
            return Reply::error();
        }
        return Reply::from(network.switchMode(*behaviour, *modeType, accessTech));
    }
    case Form::Test:
        return Reply::ok("^DSTM: (0-1),(0-2),(0,2)");
    case Form::Execute:
        break;
    }
    return Reply::error();
}

Reply powerOnMode(Device& device, const AtCommand& command)
{
    Network& network = device.network();
    switch (command.form) {
    case Form::Read: {
        const NetworkMode& mode = network.powerOnMode();
        return Reply::ok("^DDTM: " + std::to_string(mode.modeType) + "," + std::to_string(mode.accessTech));
    }
    case Form::Set: {
        const auto modeType = command.arguments.number(0);
        const auto accessTech = command.arguments.number(1);
        if (!modeType || !accessTech || command.arguments.size() > 2) {
            return Reply::error();
        }
        return Reply::from(network.setPowerOnMode(*modeType, *accessTech));
    }
    case Form::Test:
        return Reply::ok("^DDTM: (0-2),(0,2)");
    case Form::Execute:
        break;
    }
    return Reply::error();
}

namespace {

// The on/off switch shared by the two cell reports.
std::optional<bool> reportSwitch(const AtCommand& command)
{
    const auto value = command.arguments.number(0, 0, 1);
    if (!value || command.arguments.size() > 1) {
        return std::nullopt;
    }
    return *value == 1;
}

}  // namespace

Reply hsdpaIndication(Device& device, const AtCommand& command)
{
    Network& network = device.network();
    switch (command.form) {
    case Form::Set: {
        const auto enabled = reportSwitch(command);
        if (!enabled) {
            return Reply::error();
        }
        network.setHsdpaReports(*enabled);
        return Reply::ok();
    }
    case Form::Read:
        return Reply::ok(std::string("+HSIND: ") + (network.hsdpaReports() ? "1" : "0") + "," +
                         (network.hsdpaAvailable() ? "1" : "0"));
    case Form::Test:
        return Reply::ok("+HSIND: (0,1)");
    case Form::Execute:
        break;
    }
    return Reply::error();
}

Reply cellInfo(Device& device, const AtCommand& command)
{
    Network& network = device.network();
    switch (command.form) {
    case Form::Set: {
        const auto enabled = reportSwitch(command);
        if (!enabled) {
            return Reply::error();
        }
        network.setCellInfoReports(*enabled);
        return Reply::ok();
    }
    case Form::Read:
        return Reply::ok("^DCINFO: " + network.cellInfo());
    case Form::Test:
        return Reply::ok("^DCINFO: (0,1)");
    case Form::Execute:
        break;
    }
    return Reply::error();
}

}  // namespace cellsim::commands
