#include "PppdLog.h"

#include <iterator>

namespace cellctl::cli {
namespace {

struct LogPattern {
    const char* head;  // the line starts with this
    PppdLogLine::Kind kind;
    bool valueAfterHead;  // the value is the first word after the head; else the whole line
};

const LogPattern kPatterns[] = {
    {"Using interface ", PppdLogLine::Kind::Interface, true},
    {"Connect: ", PppdLogLine::Kind::Interface, true},
    {"local  IP address ", PppdLogLine::Kind::LocalAddress, true},
    {"remote IP address ", PppdLogLine::Kind::PeerAddress, true},
    {"primary   DNS address ", PppdLogLine::Kind::DnsServer, true},
    {"secondary DNS address ", PppdLogLine::Kind::DnsServer, true},
    {"PAP authentication failed", PppdLogLine::Kind::AuthFailed, false},
    {"CHAP authentication failed", PppdLogLine::Kind::AuthFailed, false},
    {"No response to ", PppdLogLine::Kind::Problem, false},
    {"Modem hangup", PppdLogLine::Kind::Problem, false},
    {"LCP terminated by peer", PppdLogLine::Kind::Problem, false},
    {"Serial link appears to be disconnected", PppdLogLine::Kind::Problem, false},
    {"not replacing", PppdLogLine::Kind::Problem, false},
    {"Couldn't ", PppdLogLine::Kind::Problem, false},
    {"Can't ", PppdLogLine::Kind::Problem, false},
};

// Exit statuses as pppd's manual numbers them.
const char* const kExitReasons[] = {
    "the link ended at the peer's request",                      // 0
    "pppd met a fatal error",                                    // 1
    "pppd refused its options",                                  // 2
    "pppd may be run only by root or members of the dip group",  // 3
    "the kernel has no PPP support (/dev/ppp is missing)",       // 4
    "pppd was stopped by a signal",                              // 5
    "the serial port could not be locked",                       // 6
    "the serial port could not be opened",                       // 7
    "the connect script failed",                                 // 8
    "the pty command could not be run",                          // 9
    "PPP negotiation failed",                                    // 10
    "the network failed to authenticate itself",                 // 11
    "the link was idle too long",                                // 12
    "the connect time limit was reached",                        // 13
    "callback was negotiated",                                   // 14
    "the network stopped answering LCP echo requests",           // 15
    "the modem hung up",                                         // 16
    "a serial loopback was detected",                            // 17
    "the init script failed",                                    // 18
    "the network refused our user name or password",             // 19
};

std::string firstWord(const std::string& text)
{
    std::string::size_type end = text.find_first_of(" \t");
    return text.substr(0, end);
}

}  // namespace

PppdLogLine readPppdLogLine(const std::string& line)
{
    for (const LogPattern& pattern : kPatterns) {
        std::string head = pattern.head;
        if (line.compare(0, head.size(), head) != 0)
            continue;
        std::string value = pattern.valueAfterHead ? firstWord(line.substr(head.size())) : line;
        if (value.empty())
            return {};
        return {pattern.kind, value};
    }
    return {};
}

std::string pppdExitReason(int status)
{
    if (status >= 0 && status < static_cast<int>(std::size(kExitReasons)))
        return kExitReasons[status];
    return "pppd ended with status " + std::to_string(status);
}

}  // namespace cellctl::cli
