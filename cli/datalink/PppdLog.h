#pragma once

#include <string>

namespace cellctl::cli {

// What one line of pppd's log tells about the link. pppd logs in English
// whatever the locale, in the forms its ipcp/lcp/auth modules have used for
// decades; these are the lines a data session acts on.
struct PppdLogLine {
    enum class Kind {
        Other,         // nothing to act on
        Interface,     // "Using interface ppp0", "Connect: ppp0 <--> /dev/pts/3"
        LocalAddress,  // "local  IP address 10.64.0.2"
        PeerAddress,   // "remote IP address 10.64.0.1"
        DnsServer,     // "primary   DNS address …", "secondary DNS address …"
        AuthFailed,    // "PAP authentication failed", "CHAP authentication failed"
        Problem        // worth showing: echo timeouts, hang-ups, route not replaced, …
    };
    Kind kind = Kind::Other;
    std::string value;  // the interface name, the address, or the line itself for a problem
};

PppdLogLine readPppdLogLine(const std::string& line);

// What pppd's exit status means, in words ("the modem hung up").
std::string pppdExitReason(int status);

// pppd's exit statuses cellctl treats specially.
namespace pppd_exit {
constexpr int kOptionsError = 2;
constexpr int kNotPermitted = 3;
constexpr int kNoKernelSupport = 4;
constexpr int kPeerAuthFailed = 11;
constexpr int kWeFailedAuth = 19;
}  // namespace pppd_exit

}  // namespace cellctl::cli
