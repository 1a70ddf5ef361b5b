#pragma once

#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "CommandContext.h"
#include "SecretInput.h"

namespace cellctl::cli {

// What a command needs from the modem before it runs.
enum class Preparation {
    None,      // nothing: works with the radio off (SIM, power)
    PowerOn,   // the radio on; a locked SIM is unlocked only when --pin is given
    SimReady,  // the radio on and the SIM unlocked (with --pin when it asks)
    Network    // as SimReady, and the network found if the radio was just switched on
};

// One row of the command table.
struct CommandEntry {
    const char* path;      // "sim unlock"
    const char* summary;   // one line for --help
    const char* examples;  // shown at the end of the command's --help
    Preparation prepare;
    void (*addArguments)(CLI::App& command, CommandArgs& args);
    void (*run)(CommandContext& context);  // null: a subcommand must be given (or runs without the modem)
    void (*runWithoutModem)(StandaloneContext& context) = nullptr;  // for commands that leave the modem alone
};

// The command line: global options, the built-in modem's starting state, and
// every command of the table.
class Arguments {
public:
    Arguments();

    // Parses the command line, reads the secrets it names (PINs, passwords:
    // from files, the environment or standard input) and returns the command
    // to run. Throws CLI::ParseError (including the requests for help) as
    // CLI11 does; a missing or unknown command is one too.
    const CommandEntry& parse(int argc, const char* const* argv);

    CLI::App& app() { return m_app; }
    const GlobalOptions& global() const { return m_global; }
    const CommandArgs& args() const { return m_args; }

private:
    void addGlobalOptions();
    void addSimulatorOptions();
    void addCommands();
    void applySimulatorChoices();
    CLI::App* givenCommand();
    void refuseUnknownCommand();

    CLI::App m_app;
    CLI::App* m_simulatorGroup = nullptr;
    GlobalOptions m_global;
    CommandArgs m_args;
    SecretInput m_secrets;
    std::string m_pin;
    std::string m_simState = "ready";
    std::string m_simMode = "dual";
    double m_simRegistrationDelay = 1.0;
    double m_simScanDuration = 3.0;
    double m_timeout = 0;
    std::vector<std::pair<CLI::App*, const CommandEntry*>> m_commands;
};

// The whole table, for documentation checks.
const CommandEntry* commandTable(size_t& count);

// Whether the command ("sim unblock") takes secrets as plain arguments.
bool takesSecretArguments(const std::string& commandPath);

}  // namespace cellctl::cli
