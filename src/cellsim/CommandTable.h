#pragma once

#include <string>
#include <vector>

#include <cellsim/commands/Handlers.h>

namespace cellsim {

struct CommandEntry {
    std::string name;  // upper case, with its prefix: "+CPIN", "^DSTM", "E", "&F"
    commands::Handler handler;
};

// Every command the modem knows, by AT name.
const std::vector<CommandEntry>& commandTable();
// The entry of a command name (upper case), or null for an unknown command.
const CommandEntry* findCommand(const std::string& name);

}  // namespace cellsim
