// cellctl: parses the command line, opens a session on the modem, prepares
// the modem as the command needs, runs the command, and turns every outcome
// into a message and an exit status. No exception leaves main().
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Arguments.h"
#include "Background.h"
#include "ExitStatus.h"
#include "commands/Commands.h"

namespace cellctl::cli {
namespace {

bool wantsJson(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0)
            return true;
    }
    return false;
}

// A bad command line: CLI11's message and a pointer to --help, or the JSON
// error document when --json was asked for.
int badArguments(Arguments& arguments, const CLI::ParseError& error, bool json)
{
    if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
        arguments.app().exit(error);  // --help
        return kExitSuccess;
    }
    Output out(json, std::cout, std::cerr);
    return out.finish(CliError(ErrorKind::BadArguments, std::string(error.what()) + " (see cellctl --help)"));
}

void prepare(CommandContext& c, Preparation preparation)
{
    switch (preparation) {
    case Preparation::None:
        return;
    case Preparation::PowerOn:
        c.steps.powerOn();
        if (c.global.pin && c.steps.readSimStatus().state == SimState::PinRequired)
            c.steps.unlockSim(c.global.pin);
        return;
    case Preparation::SimReady:
        c.steps.powerOn();
        c.steps.unlockSim(c.global.pin);
        return;
    case Preparation::Network:
        c.steps.powerOn();
        c.steps.unlockSim(c.global.pin);
        c.steps.settleAfterPowerOn();
        return;
    }
}

int run(int argc, char** argv)
{
    Arguments arguments;
    const CommandEntry* command = nullptr;
    try {
        command = &arguments.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return badArguments(arguments, error, wantsJson(argc, argv));
    }

    const GlobalOptions& global = arguments.global();
    Output out(global.json, std::cout, std::cerr);
    out.setCommand(command->path);
    try {
        if (command->runWithoutModem != nullptr) {
            StandaloneContext context{out, global, arguments.args()};
            command->runWithoutModem(context);
            return out.finish();
        }
        if (command->run == runStatus && showLinkHoldingThePort(out, global))
            return out.finish();
        // Before anything opens the modem or starts a thread.
        std::optional<Background> background;
        if (command->run == runConnect && arguments.args().background)
            background = Background::start();
        Session session(global.session, std::cerr);
        session.awaitModem([&out](const std::string& limit) {
            out.note("no answer yet: the modem may be busy, finishing an earlier command; waiting up to " + limit);
        });
        ModemSteps steps(session, out);
        CommandContext context{session, out, steps, global, arguments.args(), background ? &*background : nullptr};
        prepare(context, command->prepare);
        command->run(context);
        steps.leaveRadioAsFound();
    } catch (const CliError& error) {
        return out.finish(error);
    } catch (const std::exception& error) {
        return out.finish(CliError(ErrorKind::Internal, std::string("internal error: ") + error.what()));
    } catch (...) {
        return out.finish(CliError(ErrorKind::Internal, "internal error"));
    }
    return out.finish();
}

// Options whose values are secrets.
const char* const kSecretOptions[] = {"--pin", "--password", "--sim-pin", "--sim-puk"};

void blank(char* value) { std::memset(value, '*', std::strlen(value)); }

// Copies the arguments, then blanks the secret values in the originals, so
// that the process list (/proc/PID/cmdline) no longer shows them. After a
// command that takes secrets as arguments ("sim unblock PUK NEW-PIN"), every
// later word that is no option is blanked: a secret, or an option's value,
// which the process list need not show either.
std::vector<std::string> argumentsHidingSecrets(int argc, char** argv)
{
    std::vector<std::string> copies(argv, argv + argc);
    for (int i = 1; i + 1 < argc; ++i) {
        if (takesSecretArguments(copies[i] + " " + copies[i + 1])) {
            for (int j = i + 2; j < argc; ++j) {
                if (argv[j][0] != '-')
                    blank(argv[j]);
            }
            break;
        }
    }
    for (int i = 1; i < argc; ++i) {
        for (const char* option : kSecretOptions) {
            std::size_t length = std::strlen(option);
            char* value = nullptr;
            if (std::strcmp(argv[i], option) == 0 && i + 1 < argc)
                value = argv[i + 1];
            else if (std::strncmp(argv[i], option, length) == 0 && argv[i][length] == '=')
                value = argv[i] + length + 1;
            if (value != nullptr)
                blank(value);
        }
    }
    return copies;
}

bool isOpen(int fd) { return ::fcntl(fd, F_GETFD) != -1; }

// Started with standard input or error closed, the next file opened (the
// modem's port) would take its number, and error messages would go to the
// modem: /dev/null holds the place instead. A closed standard output is the
// same hazard and means the output is lost anyway: false, and nothing is done.
bool standardDescriptorsUsable()
{
    for (int fd : {STDIN_FILENO, STDERR_FILENO}) {
        if (!isOpen(fd) && ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY) != fd)
            return false;
    }
    return isOpen(STDOUT_FILENO);
}

}  // namespace
}  // namespace cellctl::cli

int main(int argc, char** argv)
{
    // A closed stdout (cellctl ... | head) must not kill the program mid-way
    // with the modem half set up: the failed write stops the command cleanly
    // instead (Output).
    std::signal(SIGPIPE, SIG_IGN);
    if (!cellctl::cli::standardDescriptorsUsable()) {
        std::cerr << "cellctl: standard output is closed: nothing done" << std::endl;
        return cellctl::cli::exitStatusOf(cellctl::cli::ErrorKind::OutputFailed);
    }
    try {
        std::vector<std::string> arguments = cellctl::cli::argumentsHidingSecrets(argc, argv);
        std::vector<char*> pointers;
        for (std::string& argument : arguments)
            pointers.push_back(argument.data());
        pointers.push_back(nullptr);
        return cellctl::cli::run(argc, pointers.data());
    } catch (...) {
        std::cerr << "cellctl: internal error" << std::endl;
        return cellctl::cli::exitStatusOf(cellctl::cli::ErrorKind::Internal);
    }
}
