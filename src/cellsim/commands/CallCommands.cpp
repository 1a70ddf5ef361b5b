// Calls: dialling (D), hanging up (H), back online (O) and why the last call
// failed or ended (+CEER). Only packet-data calls (3GPP TS 27.007, 10.2.1.1)
// get through; there is no circuit-switched service behind the radio. The
// port that ran the command carries out what the answer says about its call.
#include <cellsim/commands/Handlers.h>

#include <algorithm>

namespace cellsim::commands {
namespace {

// The line rate a packet-data call reports in CONNECT, by access technology.
const std::pair<int, long> lineRates[] = {
    {AccessTd, 2800000},  // TD-SCDMA with HSDPA
    {AccessGsm, 236800},  // EDGE
};

long lineRate(int accessTech)
{
    for (const auto& [tech, rate] : lineRates) {
        if (tech == accessTech) {
            return rate;
        }
    }
    return lineRates[0].second;
}

// What a dial string asks for: *99[*[<address>][*[<L2P>][*[<cid>[,<cid>...]]]]]#
// is a packet-data call on the (first) context given, 1 when none is.
struct DialTarget {
    bool packet = false;
    int cid = 0;  // 0: a packet dial string without a usable context number
};

DialTarget dialTarget(const std::string& dialString)
{
    // Spaces and a leading tone or pulse modifier (ATDT*99#) mean nothing here.
    std::string text;
    for (char c : dialString) {
        if (c != ' ') {
            text += c;
        }
    }
    if (!text.empty() && std::string("TtPp").find(text[0]) != std::string::npos) {
        text.erase(0, 1);
    }
    DialTarget target;
    if (text.size() < 4 || text.compare(0, 3, "*99") != 0 || text.back() != '#') {
        return target;
    }
    target.packet = true;
    const std::string rest = text.substr(3, text.size() - 4);
    if (!rest.empty() && rest[0] != '*') {
        return target;
    }
    std::vector<std::string> fields;  // address, L2P, cids
    for (std::size_t start = 1; start <= rest.size();) {
        const auto star = std::min(rest.find('*', start), rest.size());
        fields.push_back(rest.substr(start, star - start));
        start = star + 1;
    }
    if (fields.size() > 3) {
        return target;
    }
    const std::string cid = fields.size() == 3 ? fields[2].substr(0, fields[2].find(',')) : std::string();
    if (cid.empty()) {
        target.cid = 1;
    } else if (cid.size() <= 2 && cid.find_first_not_of("0123456789") == std::string::npos && std::stoi(cid) >= 1 &&
               std::stoi(cid) <= PacketData::MaxContextId) {
        target.cid = std::stoi(cid);
    }
    return target;
}

Reply refused(Device& device, Reply reply, const std::string& reason)
{
    device.setLastCallEnd(reason);
    return reply;
}

// H, O and similar basic commands take no value but 0.
bool valueZero(const AtCommand& command)
{
    return command.form == Form::Execute || (command.form == Form::Set && command.arguments.number(0) == 0);
}

}  // namespace

Reply dial(Device& device, const AtCommand& command)
{
    const DialTarget target = dialTarget(command.arguments.text(0));
    if (!target.packet) {
        return refused(device, Reply::noCarrier(), "no circuit-switched service");
    }
    if (target.cid == 0) {
        return refused(device, Reply::error(), "bad packet-data dial string");
    }
    const Network& network = device.network();
    if (!network.registered()) {
        return refused(device, Reply::noCarrier(), "not registered");
    }
    if (!network.attached()) {
        return refused(device, Reply::noCarrier(), "not attached to the packet domain");
    }
    if (device.packetData().contexts.count(target.cid) == 0) {
        return refused(device, Reply::failure(CmeError::IncorrectParameters),
                       "no PDP context " + std::to_string(target.cid));
    }
    return Reply::connect(lineRate(network.serving()->accessTech));
}

Reply hangUp(Device&, const AtCommand& command) { return valueZero(command) ? Reply::hangUp() : Reply::error(); }

Reply backOnline(Device&, const AtCommand& command) { return valueZero(command) ? Reply::resume() : Reply::error(); }

Reply callEndReport(Device& device, const AtCommand& command)
{
    if (command.form != Form::Execute) {
        return command.form == Form::Test ? Reply::ok() : Reply::error();
    }
    const std::string& reason = device.lastCallEnd();
    return Reply::ok("+CEER: " + (reason.empty() ? std::string("no error") : reason));
}

}  // namespace cellsim::commands
