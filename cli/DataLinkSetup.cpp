#include "DataLinkSetup.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "datalink/PppdArguments.h"

namespace cellctl::cli {
namespace {

// Linux's UNIX 98 pty slaves use character majors 136 to 143.
constexpr unsigned kFirstPtySlaveMajor = 136;
constexpr unsigned kLastPtySlaveMajor = 143;

}  // namespace

bool isPseudoTerminal(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISCHR(info.st_mode))
        return false;
    unsigned major = ::major(info.st_rdev);
    return major >= kFirstPtySlaveMajor && major <= kLastPtySlaveMajor;
}

DataLinkOptions dataLinkOptions(const CommandContext& c, const AccessPoint& accessPoint, int contextId)
{
    const CommandArgs& args = c.args;
    DataLinkOptions options;
    options.commandPort = c.session.portPath();
    options.dataPort = args.dataDevice;
    if (options.dataPort.empty())
        options.dataPort = c.session.knownDataPort();
    options.baudRate = c.global.session.baudRate;
    options.isPty = isPseudoTerminal(options.dataPort.empty() ? options.commandPort : options.dataPort);
    options.contextId = contextId;
    options.user = accessPoint.user;
    options.password = accessPoint.password;
    options.auth = accessPoint.auth;
    options.defaultRoute = !args.noDefaultRoute;
    options.pppdPath = args.pppd;
    options.resolvConf = args.resolvConf;
    options.ipTimeout = LinkSeconds(args.ipTimeout);
    options.statusInterval = LinkSeconds(args.statusInterval);
    options.redial = !args.noRedial;
    options.maxRedials = args.maxRedials;
    return options;
}

std::string dataLinkArgumentsProblem(const CommandArgs& args, const GlobalOptions& global)
{
    if (args.noDial)
        return "";
    if (!global.session.tcp.empty())
        return "a data link needs the modem's serial port: over --tcp only --no-dial works";
    DataLinkOptions options;
    options.user = args.user;
    options.password = args.password;
    options.auth = args.auth;
    options.ipTimeout = LinkSeconds(args.ipTimeout);
    return dataLinkOptionsProblem(options);
}

}  // namespace cellctl::cli
