#pragma once

#include <optional>
#include <string>

#include "ModemSteps.h"
#include "Output.h"
#include "Session.h"

namespace cellctl::cli {

// Options that apply to every command.
struct GlobalOptions {
    SessionOptions session;
    std::optional<std::string> pin;
    bool json = false;
};

// The arguments of every command, grouped by command; each command reads its own.
struct CommandArgs {
    // connect
    std::string apn;
    std::string qos;
    bool gsmOnly = false;
    bool noDial = false;
    std::string dataDevice;
    std::string user;
    std::string password;
    std::string auth;
    bool noDefaultRoute = false;
    std::string resolvConf;
    double ipTimeout = 30;
    double statusInterval = 10;
    bool noRedial = false;
    int maxRedials = -1;
    std::string pppd = "/usr/sbin/pppd";
    std::string providerDatabase;
    bool background = false;
    // sim
    std::string pin;
    std::string puk;
    std::string newPin;
    std::string oldPassword;
    std::string newPassword;
    std::string lockState;
    // operators, preferred
    std::string operatorCode;
    int index = 0;
    std::optional<int> selector;
    bool onGsm = false;
    bool onTd = false;
    bool onGsmCompact = false;
    // mode
    std::string networkMode;
    // monitor
    double duration = 0;
    int events = 0;
    double interval = 5;
};

class Background;

// What a command that does not open the modem works with.
struct StandaloneContext {
    Output& out;
    const GlobalOptions& global;
    const CommandArgs& args;
};

// Everything a command works with.
struct CommandContext {
    Session& session;
    Output& out;
    ModemSteps& steps;
    const GlobalOptions& global;
    const CommandArgs& args;
    Background* background = nullptr;  // connect --background: the hand-off to the parent
};

}  // namespace cellctl::cli
