// General commands: echo, result format, identification, error mode,
// character set, SMS storage and the plain numeric settings.
#include <cellsim/commands/Handlers.h>

#include <algorithm>
#include <cctype>

namespace cellsim::commands {

std::string upperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string rangeText(int low, int high)
{
    return low == high ? "(" + std::to_string(low) + ")" : "(" + std::to_string(low) + "-" + std::to_string(high) + ")";
}

Handler setting(std::vector<std::pair<int, int>> ranges)
{
    return [ranges](Device& device, const AtCommand& command) {
        auto& values = device.settings().values[command.name];
        values.resize(ranges.size(), 0);
        switch (command.form) {
        case Form::Set: {
            const auto& arguments = command.arguments;
            if (arguments.size() > ranges.size()) {
                return Reply::error();
            }
            std::vector<int> updated = values;
            for (std::size_t i = 0; i < arguments.size(); ++i) {
                if (!arguments.given(i)) {
                    continue;
                }
                const auto value = arguments.number(i, ranges[i].first, ranges[i].second);
                if (!value) {
                    return Reply::error();
                }
                updated[i] = *value;
            }
            values = updated;
            return Reply::ok();
        }
        case Form::Read: {
            std::string line = command.name + ": ";
            for (std::size_t i = 0; i < values.size(); ++i) {
                line += (i ? "," : "") + std::to_string(values[i]);
            }
            return Reply::ok(line);
        }
        case Form::Test: {
            std::string line = command.name + ": ";
            for (std::size_t i = 0; i < ranges.size(); ++i) {
                line += (i ? "," : "") + rangeText(ranges[i].first, ranges[i].second);
            }
            return Reply::ok(line);
        }
        case Form::Execute:
            break;
        }
        return Reply::error();
    };
}

// Basic commands read their number from the single argument; none means 0.
namespace {

std::optional<int> basicValue(const AtCommand& command)
{
    if (command.form == Form::Execute) {
        return 0;
    }
    if (command.form == Form::Set) {
        return command.arguments.number(0);
    }
    return std::nullopt;
}

}  // namespace

Reply echo(Device& device, const AtCommand& command)
{
    const auto value = basicValue(command);
    if (!value || *value > 1) {
        return Reply::error();
    }
    device.settings().echo = *value == 1;
    return Reply::ok();
}

// Only verbose result codes (V1) are offered.
Reply verbose(Device&, const AtCommand& command)
{
    const auto value = basicValue(command);
    return value && *value == 1 ? Reply::ok() : Reply::error();
}

// Result codes are always sent (Q0).
Reply quiet(Device&, const AtCommand& command)
{
    const auto value = basicValue(command);
    return value && *value == 0 ? Reply::ok() : Reply::error();
}

Reply restoreSettings(Device& device, const AtCommand& command)
{
    const auto value = basicValue(command);
    if (!value || *value != 0) {
        return Reply::error();
    }
    device.settings() = Settings();
    return Reply::ok();
}

Reply identify(Device& device, const AtCommand& command)
{
    const auto value = basicValue(command);
    if (!value || *value != 0) {
        return Reply::error();
    }
    return Reply::ok({"cellsim", "TD-SCDMA/GSM HSDPA USB modem", device.options().revision});
}

Reply errorMode(Device& device, const AtCommand& command)
{
    switch (command.form) {
    case Form::Set: {
        const auto mode = command.arguments.given(0) ? command.arguments.number(0, 0, 2) : 0;
        if (!mode || command.arguments.size() > 1) {
            return Reply::error();
        }
        device.settings().errorMode = *mode;
        return Reply::ok();
    }
    case Form::Read:
        return Reply::ok("+CMEE: " + std::to_string(device.settings().errorMode));
    case Form::Test:
        return Reply::ok("+CMEE: (0-2)");
    case Form::Execute:
        break;
    }
    return Reply::error();
}

Reply characterSet(Device& device, const AtCommand& command)
{
    static const char* const supported[] = {"IRA", "GSM", "HEX"};
    switch (command.form) {
    case Form::Set: {
        const std::string name = upperCase(command.arguments.text(0));
        if (command.arguments.size() != 1) {
            return Reply::error();
        }
        for (const char* charset : supported) {
            if (name == charset) {
                device.settings().charset = name;
                return Reply::ok();
            }
        }
        return Reply::failure(CmeError::OperationNotSupported);
    }
    case Form::Read:
        return Reply::ok("+CSCS: " + inQuotes(device.settings().charset));
    case Form::Test:
        return Reply::ok("+CSCS: (\"IRA\",\"GSM\",\"HEX\")");
    case Form::Execute:
        break;
    }
    return Reply::error();
}

namespace {

Reply identification(const AtCommand& command, const std::string& text)
{
    if (command.form == Form::Execute) {
        return Reply::ok(text);
    }
    return command.form == Form::Test ? Reply::ok() : Reply::error();
}

}  // namespace

Reply manufacturer(Device&, const AtCommand& command) { return identification(command, "cellsim"); }

Reply model(Device&, const AtCommand& command) { return identification(command, "TD-SCDMA/GSM HSDPA USB modem"); }

Reply revision(Device& device, const AtCommand& command) { return identification(command, device.options().revision); }

Reply serialNumber(Device&, const AtCommand& command) { return identification(command, "860012345678903"); }

// +CPMS: the memories for reading, writing and receiving short messages.
Reply messageStorage(Device& device, const AtCommand& command)
{
    auto& memories = device.settings().messageStorage;
    const auto usage = [&memories] {
        std::string line = "+CPMS: ";
        for (std::size_t i = 0; i < memories.size(); ++i) {
            line += (i ? "," : "") + inQuotes(memories[i]) + ",0,50";
        }
        return line;
    };
    switch (command.form) {
    case Form::Set: {
        const auto& arguments = command.arguments;
        if (arguments.size() > 3) {
            return Reply::error();
        }
        std::vector<std::string> updated = memories;
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            const std::string memory = upperCase(arguments.text(i));
            if (memory != "ME" && memory != "SM" && memory != "MT") {
                return Reply::error();
            }
            if (memory != "ME") {
                if (auto refused = device.sim().requireReady()) {
                    return Reply::failure(*refused);
                }
            }
            updated[i] = memory;
        }
        memories = updated;
        return Reply::ok("+CPMS: 0,50,0,50,0,50");
    }
    case Form::Read:
        return Reply::ok(usage());
    case Form::Test:
        return Reply::ok("+CPMS: (\"ME\",\"SM\",\"MT\"),(\"ME\",\"SM\",\"MT\"),(\"ME\",\"SM\",\"MT\")");
    case Form::Execute:
        break;
    }
    return Reply::error();
}

// ^DPBE: has the emergency numbers read from the card; they are built in.
Reply emergencyNumbers(Device&, const AtCommand& command)
{
    return command.form == Form::Execute ? Reply::ok() : Reply::error();
}

}  // namespace cellsim::commands
