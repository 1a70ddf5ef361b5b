// Operators: the current operator and its selection (+COPS), the network
// scan (+COPS=?), the preferred-operator list (+CPOL) and its selector (+CPLS).
#include <cellsim/commands/Handlers.h>

namespace cellsim::commands {
namespace {

// The operator name a format selects, as it travels in the current character set.
std::string operatorName(Device& device, const NetworkEntry& network, int format)
{
    switch (format) {
    case 0:
        return device.encodeName(network.longName);
    case 1:
        return device.encodeName(network.shortName);
    default:
        return network.numeric;
    }
}

Reply currentOperator(Device& device)
{
    Network& network = device.network();
    const NetworkEntry* serving = network.serving();
    std::string line = "+COPS: " + std::to_string(network.selection());
    if (serving && network.registered()) {
        const int format = device.settings().operatorFormat;
        line += "," + std::to_string(format) + "," + inQuotes(operatorName(device, *serving, format)) + "," +
                std::to_string(serving->accessTech);
    }
    return Reply::ok(line);
}

Reply scanResult(Device& device)
{
    Network& network = device.network();
    std::string line = "+COPS: ";
    for (const NetworkEntry* candidate : network.visibleNetworks()) {
        const int state = candidate == network.serving() ? 2 : candidate->forbidden ? 3 : 1;
        line += "(" + std::to_string(state) + "," + inQuotes(operatorName(device, *candidate, 0)) + "," +
                inQuotes(operatorName(device, *candidate, 1)) + "," + inQuotes(candidate->numeric) + "," +
                std::to_string(candidate->accessTech) + "),";
    }
    return Reply::ok(line + ",(0,1,2,3,4),(0,1,2)");
}

Reply scan(Device& device)
{
    if (auto refused = device.requireService()) {
        return Reply::failure(*refused);
    }
    return Reply::later(device.options().scanDuration, [&device] { return scanResult(device); });
}

// +COPS=<mode>[,<format>[,<oper>[,<act>]]]
Reply selectOperator(Device& device, const AtArguments& arguments)
{
    const auto mode = arguments.number(0, 0, 4);
    const auto format = arguments.given(1) ? arguments.number(1, 0, 2) : device.settings().operatorFormat;
    const auto accessTech = arguments.given(3) ? arguments.number(3, 0, 7) : std::nullopt;
    if (!mode || !format || (arguments.given(3) && !accessTech) || arguments.size() > 4) {
        return Reply::error();
    }
    Network& network = device.network();
    switch (*mode) {
    case 3:
        device.settings().operatorFormat = *format;
        return Reply::ok();
    case 2:
        network.deregister();
        return Reply::ok();
    case 0:
        if (auto refused = device.requireService()) {
            return Reply::failure(*refused);
        }
        return network.selectAutomatic();
    default:
        break;
    }
    if (!arguments.given(2)) {
        return Reply::error();
    }
    if (auto refused = device.requireService()) {
        return Reply::failure(*refused);
    }
    device.settings().operatorFormat = *format;
    const auto name = *format == 2 ? arguments.text(2) : device.decodeName(arguments.text(2));
    const NetworkEntry* wanted = name ? network.findNetwork(*format, *name, accessTech) : nullptr;
    if (wanted) {
        Reply reply = network.selectManual(*wanted);
        if (*mode == 1 || reply.pending() || reply.succeeded()) {
            return reply;
        }
    } else if (*mode == 1) {
        return Reply::failure(CmeError::NoNetworkService);
    }
    return network.selectAutomatic();  // mode 4: manual, falling back to automatic
}

}  // namespace

Reply operatorSelection(Device& device, const AtCommand& command)
{
    switch (command.form) {
    case Form::Read:
        return currentOperator(device);
    case Form::Test:
        return scan(device);
    case Form::Set:
        return selectOperator(device, command.arguments);
    case Form::Execute:
        break;
    }
    return Reply::error();
}

namespace {

Reply preferredListRead(Device& device)
{
    PreferredList& list = device.preferredList();
    std::vector<std::string> lines;
    for (const auto& [index, entry] : list.entries()) {
        const NetworkEntry* network = device.network().findNetwork(2, entry.numeric, std::nullopt);
        const NetworkEntry named = network ? *network : knownOperator(entry.numeric, AccessGsm);
        lines.push_back("+CPOL: " + std::to_string(index) + "," + std::to_string(list.format()) + "," +
                        inQuotes(operatorName(device, named, list.format())) + "," + (entry.gsm ? "1" : "0") + "," +
                        (entry.gsmCompact ? "1" : "0") + "," + (entry.utran ? "1" : "0"));
    }
    return Reply::ok(lines);
}

bool numericCode(const std::string& text)
{
    if (text.size() != 5 && text.size() != 6) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// +CPOL=[<index>][,<format>[,<oper>[,<gsm>,<gsm_compact>,<utran>]]]
Reply preferredListWrite(Device& device, const AtArguments& arguments)
{
    PreferredList& list = device.preferredList();
    const auto index = arguments.given(0) ? arguments.number(0) : std::nullopt;
    const auto format = arguments.given(1) ? arguments.number(1, 0, 2) : list.format();
    if ((arguments.given(0) && !index) || !format || arguments.size() > 6) {
        return Reply::error();
    }
    if (!arguments.given(2)) {
        if (arguments.given(1)) {
            list.setFormat(*format);
            return Reply::ok();
        }
        return index ? Reply::from(list.erase(*index)) : Reply::error();
    }
    PreferredEntry entry;
    bool* flags[] = {&entry.gsm, &entry.gsmCompact, &entry.utran};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto flag = arguments.given(3 + i) ? arguments.number(3 + i, 0, 1) : 0;
        if (!flag) {
            return Reply::error();
        }
        *flags[i] = *flag == 1;
    }
    if (*format == 2) {
        if (!numericCode(arguments.text(2))) {
            return Reply::error();
        }
        entry.numeric = arguments.text(2);
    } else {
        const auto name = device.decodeName(arguments.text(2));
        const NetworkEntry* network = name ? device.network().findNetwork(*format, *name, std::nullopt) : nullptr;
        if (!network) {
            return Reply::failure(CmeError::NotFound);
        }
        entry.numeric = network->numeric;
    }
    const Outcome written = list.write(index, entry);
    if (!written) {
        list.setFormat(*format);
    }
    return Reply::from(written);
}

}  // namespace

Reply preferredOperators(Device& device, const AtCommand& command)
{
    if (command.form == Form::Test) {
        return Reply::ok("+CPOL: " + rangeText(1, PreferredList::Capacity) + ",(0-2)");
    }
    if (auto refused = device.sim().requireReady()) {
        return Reply::failure(*refused);
    }
    switch (command.form) {
    case Form::Read:
        return preferredListRead(device);
    case Form::Set:
        return preferredListWrite(device, command.arguments);
    default:
        break;
    }
    return Reply::error();
}

Reply preferredListSelector(Device& device, const AtCommand& command)
{
    if (command.form == Form::Test) {
        return Reply::ok("+CPLS: (0-2)");
    }
    if (auto refused = device.sim().requireReady()) {
        return Reply::failure(*refused);
    }
    PreferredList& list = device.preferredList();
    switch (command.form) {
    case Form::Read:
        return Reply::ok("+CPLS: " + std::to_string(list.selector()));
    case Form::Set: {
        const auto selector = command.arguments.number(0, 0, 2);
        if (!selector || command.arguments.size() > 1) {
            return Reply::error();
        }
        list.setSelector(*selector);
        return Reply::ok();
    }
    default:
        break;
    }
    return Reply::error();
}

}  // namespace cellsim::commands
