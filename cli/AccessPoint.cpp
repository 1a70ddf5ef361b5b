#include "AccessPoint.h"

#include <string_view>

#include <cellctl/text/Comparison.h>
#include <cellctl/text/Numbers.h>

#include "LinkProgress.h"
#include "Words.h"
#include "datalink/ModemPort.h"
#include "datalink/ProviderDatabase.h"

namespace cellctl::cli {
namespace {

const std::chrono::seconds kImsiLimit{3};
constexpr std::string_view kImsiPrefix = "+CIMI:";  // before the number on some answers
constexpr std::size_t kShortestImsi = 6;            // a country and a network code at least
constexpr std::size_t kLongestImsi = 15;

bool isImsi(const std::string& candidate)
{
    return candidate.size() >= kShortestImsi && candidate.size() <= kLongestImsi && text::isDigits(candidate);
}

// The SIM's identity, asked on the raw port: the library has no request for
// it. Over a shared port the AT channel lets go of the port meanwhile.
std::string askImsi(CommandContext& c, const std::string& dataPort)
{
    Session& session = c.session;
    LinkProgress loop(session, c.out, nullptr, nullptr);
    bool shared = dataPort.empty();
    if (shared)
        session.releasePort();
    std::string imsi;
    try {
        ModemPort port(session.io(), loop, shared ? session.portPath() : dataPort, c.global.session.baudRate);
        for (std::string line : port.command("AT+CIMI", kImsiLimit).lines) {
            if (text::startsWith(line, kImsiPrefix))
                line = line.substr(kImsiPrefix.size());
            line.erase(0, line.find_first_not_of(' '));
            if (isImsi(line))
                imsi = line;
        }
    } catch (const DataLinkError&) {
        // No identity: the registered operator decides instead.
    }
    if (shared)
        session.reclaimPort();
    return imsi;
}

}  // namespace

AccessPoint chooseAccessPoint(CommandContext& c, const CCopsInfo& registered)
{
    const CommandArgs& args = c.args;
    if (!args.apn.empty())
        return {args.apn, args.user, args.password, args.auth};

    c.out.beginStep("apn", "Looking up the access point");
    std::string imsi = c.session.portPath().empty() ? "" : askImsi(c, args.dataDevice);
    ProviderMatch match =
        findAccessPoint(args.providerDatabase, imsi, registered.GetOperatorNumericName(), displayName(registered));
    if (!match.settings)
        throw CliError(ErrorKind::NoApn, match.explanation);
    const AccessPointSettings& found = *match.settings;
    c.out.endStep(found.apn, {{"provider", found.provider}, {"how", match.explanation}});
    c.out.say(match.explanation);
    AccessPoint chosen{found.apn, found.user, found.password, found.auth};
    if (!args.user.empty()) {
        chosen.user = args.user;
        chosen.auth = args.auth;
    }
    if (!args.password.empty())
        chosen.password = args.password;
    return chosen;
}

}  // namespace cellctl::cli
