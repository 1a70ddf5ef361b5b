#include "PppdArguments.h"

namespace cellctl::cli {
namespace {

// LCP echo: a request every 10 s, the link given up after 3 unanswered, so a
// dead link is noticed within about 30 s.
constexpr const char* kEchoInterval = "10";
constexpr const char* kEchoFailures = "3";

// pppd reads option files as its own words: quote and escape the value.
std::string quotedOptionWord(const std::string& value)
{
    std::string quoted = "\"";
    for (char c : value) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

std::vector<std::string> pppdArguments(const DataLinkOptions& options)
{
    std::vector<std::string> args = {
        options.pppdPath, std::to_string(options.baudRate),
        "nodetach",  // cellctl supervises; pppd stays its child
        "logfd",          std::to_string(kPppdLogFd),
        "noauth",       // the network does not authenticate to us
        "noipdefault",  // the address comes from the network
        "usepeerdns",     "lcp-echo-interval",
        kEchoInterval,    "lcp-echo-failure",
        kEchoFailures,
        "nopersist",  // cellctl redials itself, after re-checking the modem
        "hide-password",  options.defaultRoute ? "defaultroute" : "nodefaultroute",
    };
    // A pty has no modem control lines; a serial modem signals hang-up by
    // dropping carrier, which pppd then reports as such.
    if (options.isPty) {
        args.insert(args.end(), {"local", "nocrtscts"});
    } else {
        args.insert(args.end(), {"modem", "crtscts"});
    }
    if (options.auth == "pap")
        args.insert(args.end(), {"refuse-chap", "refuse-mschap", "refuse-mschap-v2", "refuse-eap"});
    else if (options.auth == "chap")
        args.insert(args.end(), {"refuse-pap", "refuse-eap"});
    if (!options.user.empty())
        args.insert(args.end(), {"file", "/dev/fd/" + std::to_string(kPppdSecretsFd)});
    return args;
}

std::string pppdSecretOptions(const DataLinkOptions& options)
{
    if (options.user.empty())
        return "";
    std::string text = "user " + quotedOptionWord(options.user) + "\n";
    // An empty password still has to be given, or pppd asks for none at all.
    text += "password " + quotedOptionWord(options.password) + "\n";
    return text;
}

std::string dataLinkOptionsProblem(const DataLinkOptions& options)
{
    if (!options.password.empty() && options.user.empty())
        return "a password needs a user name (--user)";
    if (!options.auth.empty() && options.auth != "pap" && options.auth != "chap")
        return "the authentication method is pap or chap";
    if (!options.auth.empty() && options.user.empty())
        return "--auth " + options.auth + " needs a user name (--user)";
    if (options.ipTimeout.count() <= 0)
        return "the IP timeout must be positive";
    return "";
}

}  // namespace cellctl::cli
