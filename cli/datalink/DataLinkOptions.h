#pragma once

#include <chrono>
#include <string>

namespace cellctl::cli {

using LinkSeconds = std::chrono::duration<double>;

// Everything a data session needs to know, independent of where it came from
// (the command line today, a service's configuration later).
struct DataLinkOptions {
    std::string commandPort;  // the AT port the library talks on
    std::string dataPort;     // the modem port pppd runs on; empty: the AT port
    unsigned baudRate = 115200;
    bool isPty = false;  // a pseudo-terminal: no modem control lines to use
    int contextId = 1;   // the PDP context the call is dialled on

    std::string user;      // PPP authentication; empty: none
    std::string password;  // reaches pppd through a pipe, never argv
    std::string auth;      // "pap", "chap" or "" (whatever the network asks)
    bool defaultRoute = true;

    std::string pppdPath = "/usr/sbin/pppd";
    std::string resolvConf;          // where to write the learned DNS servers; empty: nowhere
    LinkSeconds ipTimeout{30};       // from CONNECT to an IP address
    LinkSeconds statusInterval{10};  // between status reports while online
    bool redial = true;
    int maxRedials = -1;  // redials after a drop; negative: until stopped
};

}  // namespace cellctl::cli
