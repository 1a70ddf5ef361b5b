#pragma once

#include <optional>
#include <string>
#include <vector>

#include <cellsim/ModemOptions.h>
#include <cellsim/ServerThread.h>

namespace cellsim {

// What the cellsim command line asks for.
struct CliSettings {
    ModemOptions modem;
    ServerSettings server;
    bool trace = false;
    bool help = false;
    bool version = false;
};

struct CliParse {
    std::optional<CliSettings> settings;  // empty on error
    std::string error;
};

// Reads the arguments after the program name.
CliParse parseCliArguments(const std::vector<std::string>& arguments);
std::string cliUsage();

}  // namespace cellsim
