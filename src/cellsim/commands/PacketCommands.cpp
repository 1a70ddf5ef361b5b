// Packet data: PDP contexts (+CGDCONT), requested QoS (+CGEQREQ), attach
// (+CGATT), event reporting (+CGEREP), the service mapping list (^DSML) and
// the QoS stored on the USIM (^DUQOS).
#include <cellsim/commands/Handlers.h>

namespace cellsim::commands {
namespace {

std::optional<int> contextId(const AtArguments& arguments) { return arguments.number(0, 1, PacketData::MaxContextId); }

}  // namespace

Reply pdpContext(Device& device, const AtCommand& command)
{
    auto& contexts = device.packetData().contexts;
    switch (command.form) {
    case Form::Set: {
        const auto& arguments = command.arguments;
        const auto cid = contextId(arguments);
        if (!cid || arguments.size() > 6) {
            return Reply::error();
        }
        if (arguments.size() == 1) {
            contexts.erase(*cid);
            return Reply::ok();
        }
        PdpContext context;
        context.type = upperCase(arguments.text(1));
        context.apn = arguments.text(2);
        context.address = arguments.text(3);
        const auto dataCompression = arguments.given(4) ? arguments.number(4, 0, 3) : 0;
        const auto headerCompression = arguments.given(5) ? arguments.number(5, 0, 4) : 0;
        if ((context.type != "IP" && context.type != "PPP" && context.type != "IPV6") || !dataCompression ||
            !headerCompression) {
            return Reply::error();
        }
        context.dataCompression = *dataCompression;
        context.headerCompression = *headerCompression;
        contexts[*cid] = context;
        return Reply::ok();
    }
    case Form::Read: {
        std::vector<std::string> lines;
        for (const auto& [cid, context] : contexts) {
            lines.push_back("+CGDCONT: " + std::to_string(cid) + "," + inQuotes(context.type) + "," +
                            inQuotes(context.apn) + "," + inQuotes(context.address) + "," +
                            std::to_string(context.dataCompression) + "," + std::to_string(context.headerCompression));
        }
        return Reply::ok(lines);
    }
    case Form::Test:
        return Reply::ok("+CGDCONT: (1-11),\"IP\",,,(0-3),(0-4)");
    case Form::Execute:
        break;
    }
    return Reply::error();
}

namespace {

// The twelve fields of a requested QoS profile after the cid: the range of
// a number, or a ratio written as mantissa "E" exponent, with the value a
// field takes when the command leaves it empty ("subscribed").
struct QosField {
    bool ratio;
    int low;
    int high;
    const char* subscribed;
};

const QosField qosFields[] = {
    {false, 0, 4, "4"},       // traffic class
    {false, 0, 256000, "0"},  // maximum bit rate uplink (kbit/s)
    {false, 0, 256000, "0"},  // maximum bit rate downlink
    {false, 0, 256000, "0"},  // guaranteed bit rate uplink
    {false, 0, 256000, "0"},  // guaranteed bit rate downlink
    {false, 0, 2, "2"},       // delivery order
    {false, 0, 1520, "0"},    // maximum SDU size
    {true, 0, 0, "0E0"},      // SDU error ratio
    {true, 0, 0, "0E0"},      // residual bit error ratio
    {false, 0, 3, "3"},       // delivery of erroneous SDUs
    {false, 0, 4000, "0"},    // transfer delay (ms)
    {false, 0, 3, "0"},       // traffic handling priority
};

bool validRatio(const std::string& text)
{
    return text.size() == 3 && text[0] >= '0' && text[0] <= '9' && (text[1] == 'E' || text[1] == 'e') &&
           text[2] >= '0' && text[2] <= '9';
}

std::optional<std::vector<std::string>> qosProfile(const AtArguments& arguments)
{
    constexpr std::size_t count = sizeof(qosFields) / sizeof(qosFields[0]);
    if (arguments.size() > count + 1) {
        return std::nullopt;
    }
    std::vector<std::string> profile;
    for (std::size_t i = 0; i < count; ++i) {
        const QosField& field = qosFields[i];
        if (!arguments.given(i + 1)) {
            profile.push_back(field.subscribed);
        } else if (field.ratio) {
            const std::string ratio = upperCase(arguments.text(i + 1));
            if (!validRatio(ratio)) {
                return std::nullopt;
            }
            profile.push_back(ratio);
        } else {
            const auto value = arguments.number(i + 1, field.low, field.high);
            if (!value) {
                return std::nullopt;
            }
            profile.push_back(std::to_string(*value));
        }
    }
    return profile;
}

}  // namespace

Reply requestedQos(Device& device, const AtCommand& command)
{
    auto& profiles = device.packetData().qosProfiles;
    switch (command.form) {
    case Form::Set: {
        const auto cid = contextId(command.arguments);
        if (!cid) {
            return Reply::error();
        }
        if (command.arguments.size() == 1) {
            profiles.erase(*cid);
            return Reply::ok();
        }
        auto profile = qosProfile(command.arguments);
        if (!profile) {
            return Reply::error();
        }
        profiles[*cid] = *profile;
        return Reply::ok();
    }
    case Form::Read: {
        std::vector<std::string> lines;
        for (const auto& [cid, profile] : profiles) {
            std::string line = "+CGEQREQ: " + std::to_string(cid);
            for (std::size_t i = 0; i < profile.size(); ++i) {
                line += "," + (qosFields[i].ratio ? inQuotes(profile[i]) : profile[i]);
            }
            lines.push_back(line);
        }
        return Reply::ok(lines);
    }
    case Form::Test:
        return Reply::ok(
            "+CGEQREQ: \"IP\",(0-4),(0-256000),(0-256000),(0-256000),(0-256000),(0-2),(0-1520),"
            "(\"0E0\",\"1E2\",\"1E3\",\"1E4\"),(\"0E0\",\"1E2\",\"1E3\",\"1E5\"),(0-3),(0-4000),(0-3)");
    case Form::Execute:
        break;
    }
    return Reply::error();
}

Reply packetAttach(Device& device, const AtCommand& command)
{
    Network& network = device.network();
    switch (command.form) {
    case Form::Set: {
        const auto state = command.arguments.number(0, 0, 1);
        if (!state || command.arguments.size() > 1) {
            return Reply::error();
        }
        if (*state == 1) {
            if (auto refused = device.requireService()) {
                return Reply::failure(*refused);
            }
            return network.attach();
        }
        const bool wasAttached = network.attached();
        network.detach();
        if (wasAttached && device.packetData().eventMode > 0) {
            device.report("+CGEV: ME DETACH");
        }
        return Reply::ok();
    }
    case Form::Read:
        return Reply::ok(std::string("+CGATT: ") + (network.attached() ? "1" : "0"));
    case Form::Test:
        return Reply::ok("+CGATT: (0,1)");
    case Form::Execute:
        break;
    }
    return Reply::error();
}

Reply packetEventReporting(Device& device, const AtCommand& command)
{
    PacketData& packet = device.packetData();
    switch (command.form) {
    case Form::Set: {
        const auto mode = command.arguments.given(0) ? command.arguments.number(0, 0, 2) : 0;
        const auto buffer = command.arguments.given(1) ? command.arguments.number(1, 0, 1) : 0;
        if (!mode || !buffer || command.arguments.size() > 2) {
            return Reply::error();
        }
        packet.eventMode = *mode;
        packet.eventBuffer = *buffer;
        return Reply::ok();
    }
    case Form::Read:
        return Reply::ok("+CGEREP: " + std::to_string(packet.eventMode) + "," + std::to_string(packet.eventBuffer));
    case Form::Test:
        return Reply::ok("+CGEREP: (0-2),(0-1)");
    case Form::Execute:
        break;
    }
    return Reply::error();
}

// ^DSML: one line per defined context: cid, NSAPI and APN.
Reply serviceMappingList(Device& device, const AtCommand& command)
{
    if (command.form != Form::Read) {
        return command.form == Form::Test ? Reply::ok() : Reply::error();
    }
    std::vector<std::string> lines;
    for (const auto& [cid, context] : device.packetData().contexts) {
        lines.push_back("^DSML: " + std::to_string(cid) + "," + std::to_string(cid + 4) + "," + inQuotes(context.apn));
    }
    return Reply::ok(lines);
}

// ^DUQOS=<n>: the QoS record <n> stored on the USIM: traffic class and the
// maximum uplink and downlink bit rates.
Reply usimQos(Device& device, const AtCommand& command)
{
    static const int records[][3] = {{3, 64, 384}, {2, 64, 128}, {1, 32, 64}, {0, 16, 32}};
    constexpr int count = sizeof(records) / sizeof(records[0]);
    if (command.form != Form::Set) {
        return command.form == Form::Test ? Reply::ok("^DUQOS: " + rangeText(0, count - 1)) : Reply::error();
    }
    const auto number = command.arguments.number(0);
    if (!number || command.arguments.size() > 1) {
        return Reply::error();
    }
    if (auto refused = device.sim().requireReady()) {
        return Reply::failure(*refused);
    }
    if (*number >= count) {
        return Reply::failure(CmeError::InvalidIndex);
    }
    const int* record = records[*number];
    return Reply::ok("^DUQOS: " + std::to_string(*number) + "," + std::to_string(record[0]) + "," +
                     std::to_string(record[1]) + "," + std::to_string(record[2]));
}

}  // namespace cellsim::commands
