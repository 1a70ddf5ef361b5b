#include "Arguments.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>

#include <cellctl/text/Numbers.h>

#include "AccessPointName.h"
#include "ExitStatus.h"
#include "DataLinkSetup.h"
#include "QosProfile.h"
#include "datalink/ProviderDatabase.h"
#include "commands/Commands.h"

namespace cellctl::cli {
namespace {

// ----- validators ---------------------------------------------------------

std::string numberText(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

// A number from `fewest` to `most` (`unit`: "seconds"). Refuses "nan", "inf"
// and what overflows a double; the message does not repeat the value, which
// can be hundreds of digits long.
CLI::Validator numberInRange(double fewest, double most, const std::string& unit)
{
    std::string rule = "expected " + unit + " from " + numberText(fewest) + " to " + numberText(most);
    return CLI::Validator(
        [fewest, most, rule](std::string& text) -> std::string {
            char* end = nullptr;
            errno = 0;
            double value = std::strtod(text.c_str(), &end);
            bool number = !text.empty() && end == text.c_str() + text.size() && errno == 0 && std::isfinite(value);
            return number && value >= fewest && value <= most ? "" : rule;
        },
        unit == "seconds" ? "SECONDS" : "NUMBER");
}

// Long enough for any step, short enough that the wait cannot overflow.
const CLI::Validator kStepSeconds = numberInRange(0.1, 86400, "seconds");

const CLI::Validator kQosProfile(
    [](std::string& text) -> std::string {
        return parseQosProfile(text) ? "" : "expected CLASS,UL,DL (for example background,64,384)";
    },
    "CLASS,UL,DL");

const CLI::Validator kOperatorCode(
    [](std::string& code) -> std::string {
        bool digits = code.size() >= 5 && code.size() <= 6 && text::isDigits(code);
        return digits ? "" : "an operator code is 5 or 6 digits (MCC and MNC), for example 46000";
    },
    "CODE");

const CLI::Validator kHostPort(
    [](std::string& address) -> std::string {
        size_t colon = address.rfind(':');
        if (colon == std::string::npos || colon == 0 || colon + 1 == address.size())
            return "expected HOST:PORT";
        std::string port = address.substr(colon + 1);
        if (port.size() > 5 || !text::isDigits(port) || std::stoi(port) == 0 || std::stoi(port) > 65535)
            return "the port must be a number from 1 to 65535";
        return "";
    },
    "HOST:PORT");

const CLI::Validator kAccessPointName([](std::string& text) -> std::string { return accessPointNameProblem(text); },
                                      "APN");

// ----- secrets ------------------------------------------------------------

const SecretKind kPin{"PIN", "--pin-file", "CELLCTL_PIN", 4, 8};
const SecretKind kPuk{"PUK", "--puk-file", "CELLCTL_PUK", 8, 8};
const SecretKind kNewPin{"new PIN", "--new-pin-file", "CELLCTL_NEW_PIN", 4, 8};
const SecretKind kPin2{"PIN2", "--pin2-file", "CELLCTL_PIN2", 4, 8};
const SecretKind kNewPin2{"new PIN2", "--new-pin2-file", "CELLCTL_NEW_PIN2", 4, 8};
// The PIN as a command's argument: without it, the global PIN.
const SecretKind kPinArgument{"PIN", nullptr, nullptr, 4, 8, &kPin};
const SecretKind kPppPassword{"PPP password", "--password-file", "CELLCTL_PASSWORD"};

// The secrets commands take, each with a file option and an environment
// variable beside it (SecretInput); arguments in their order on the line.
struct SecretArgument {
    const char* command;  // its path in kCommands
    const char* name;     // "PUK" (an argument) or "--password" (an option)
    const SecretKind* kind;
    std::string CommandArgs::*field;
    const char* help;
};

const char kPinArgumentHelp[] = "the current PIN (default: the PIN of --pin, --pin-file or CELLCTL_PIN)";

const SecretArgument kSecretArguments[] = {
    {"connect", "--password", &kPppPassword, &CommandArgs::password,
     "PPP password (default: the provider database's; shows in the process list: prefer --password-file)"},
    {"sim unlock", "PIN", &kPinArgument, &CommandArgs::pin, kPinArgumentHelp},
    {"sim unblock", "PUK", &kPuk, &CommandArgs::puk, "the PUK (personal unblocking key)"},
    {"sim unblock", "NEW-PIN", &kNewPin, &CommandArgs::newPin, "the new PIN"},
    {"sim lock", "PIN", &kPinArgument, &CommandArgs::pin, kPinArgumentHelp},
    {"sim change-pin", "OLD", &kPinArgument, &CommandArgs::oldPassword, kPinArgumentHelp},
    {"sim change-pin", "NEW", &kNewPin, &CommandArgs::newPassword, "the new PIN"},
    {"sim change-pin2", "OLD", &kPin2, &CommandArgs::oldPassword, "the current PIN2"},
    {"sim change-pin2", "NEW", &kNewPin2, &CommandArgs::newPassword, "the new PIN2"},
};

// The simulated card's own PIN and PUK follow a card's rules.
CLI::Validator secretValidator(const SecretKind& kind)
{
    return CLI::Validator([&kind](std::string& text) { return secretProblem(kind, text); }, "DIGITS");
}

// ----- per-command arguments ----------------------------------------------

void noArguments(CLI::App&, CommandArgs&) {}

void dataLinkArguments(CLI::App& command, CommandArgs& args)
{
    CLI::Option* noDial =
        command.add_flag("--no-dial", args.noDial, "stop after the attach: no data call, no PPP (the old behaviour)");
    command.add_option("--data-device", args.dataDevice,
                       "the card's modem port for the data call, when it has one beside the AT port");
    command.add_option("--user", args.user, "PPP user name (default: the provider database's)");
    command.add_option("--auth", args.auth, "PPP authentication: pap or chap (default: what the network asks)")
        ->check(CLI::IsMember({"pap", "chap"}));
    command.add_flag("--no-default-route", args.noDefaultRoute, "do not route all traffic over the link");
    command.add_option("--resolv-conf", args.resolvConf, "write the DNS servers the network gives to FILE");
    command.add_option("--ip-timeout", args.ipTimeout, "seconds from CONNECT to an IP address (default 30)")
        ->check(numberInRange(1, 3600, "seconds"));
    command
        .add_option("--status-interval", args.statusInterval, "seconds between status lines while online (default 10)")
        ->check(numberInRange(1, 3600, "seconds"));
    CLI::Option* noRedial =
        command.add_flag("--no-redial", args.noRedial, "end with an error when the link drops instead of redialling");
    command.add_option("--max-redials", args.maxRedials, "give up after N redials (default: until Ctrl-C)")
        ->check(CLI::Range(0, 1000000))
        ->excludes(noRedial);
    command.add_option("--pppd", args.pppd, "the pppd program to run (default /usr/sbin/pppd)");
    command
        .add_flag("--background", args.background,
                  "return once the link is up, supervising it in the background (end it with disconnect)")
        ->excludes(noDial);
    command.add_option("--provider-database", args.providerDatabase,
                       "where to look up the APN without --apn (default: mobile-broadband-provider-info's)");
    noDial->excludes(noRedial);
}

void connectArguments(CLI::App& command, CommandArgs& args)
{
    command.add_option("--apn", args.apn, "access point name (default: the provider database's entry for the SIM)")
        ->check(kAccessPointName);
    CLI::Option* qos = command
                           .add_option("--qos", args.qos,
                                       "requested quality of service: traffic class (0-4 or conversational, "
                                       "streaming, interactive, background, subscribed), uplink and downlink "
                                       "maximum bit rates in kbit/s (default background,64,384)")
                           ->check(kQosProfile);
    command.add_flag("--gsm", args.gsmOnly, "GSM packet data: define the context without a 3G QoS profile")
        ->excludes(qos);
    dataLinkArguments(command, args);
}

void simLockArguments(CLI::App& command, CommandArgs& args)
{
    command.add_option("STATE", args.lockState, "on: ask for the PIN at power-on; off: do not")
        ->required()
        ->check(CLI::IsMember({"on", "off"}));
}

void operatorSelectArguments(CLI::App& command, CommandArgs& args)
{
    command.add_option("CODE", args.operatorCode, "numeric operator code (MCC and MNC)")
        ->required()
        ->check(kOperatorCode);
}

void preferredWriteArguments(CLI::App& command, CommandArgs& args)
{
    command.add_option("INDEX", args.index, "position in the preferred list")->required()->check(CLI::Range(1, 999));
    command.add_option("CODE", args.operatorCode, "numeric operator code (MCC and MNC)")
        ->required()
        ->check(kOperatorCode);
    command.add_flag("--gsm", args.onGsm, "the entry applies to GSM");
    command.add_flag("--td", args.onTd, "the entry applies to TD-SCDMA");
    command.add_flag("--gsm-compact", args.onGsmCompact, "the entry applies to GSM Compact");
}

void preferredDeleteArguments(CLI::App& command, CommandArgs& args)
{
    command.add_option("INDEX", args.index, "position in the preferred list")->required()->check(CLI::Range(1, 999));
}

void preferredSelectorArguments(CLI::App& command, CommandArgs& args)
{
    command.add_option("LIST", args.selector, "the list to work on (a small number); omit it to show the current one")
        ->check(CLI::Range(0, 9));
}

void modeSwitchArguments(CLI::App& command, CommandArgs& args)
{
    command.add_option("MODE", args.networkMode, "gsm, td or dual")
        ->required()
        ->check(CLI::IsMember({"gsm", "td", "dual"}));
}

void modePowerOnArguments(CLI::App& command, CommandArgs& args)
{
    command.add_option("MODE", args.networkMode, "gsm or td")->required()->check(CLI::IsMember({"gsm", "td"}));
}

void monitorArguments(CLI::App& command, CommandArgs& args)
{
    command.add_option("--duration", args.duration, "stop after this many seconds (default: run until Ctrl-C)")
        ->check(numberInRange(0.1, 30 * 86400, "seconds"));
    command.add_option("--events", args.events, "stop after this many reports")->check(CLI::Range(1, 1000000));
    command.add_option("--interval", args.interval, "seconds between signal readings (default 5)")
        ->check(numberInRange(0.1, 3600, "seconds"));
}

// ----- the table ----------------------------------------------------------

// Groups come before their subcommands. A group with a run function runs it
// when no subcommand is given.
const CommandEntry kCommands[] = {
    {"status", "power on if needed, then show SIM, registration, operator, signal and network modes",
     "  cellctl status\n  cellctl --json status\n  cellctl --device /dev/ttyUSB0 --pin 1234 status",
     Preparation::PowerOn, noArguments, runStatus},
    {"connect",
     "bring the data card online: power, SIM, registration, PDP context, attach, then dial and run pppd until Ctrl-C",
     "  cellctl --pin 1234 connect --apn cmnet\n  cellctl --device /dev/ttyUSB2 --pin 1234 connect\n"
     "  cellctl --device /dev/ttyUSB2 connect --data-device /dev/ttyUSB0 --resolv-conf /etc/resolv.conf\n"
     "  cellctl connect --apn cmnet --qos interactive,128,384 --no-dial\n"
     "  cellctl connect --apn cmwap --gsm\n  cellctl --device /dev/ttyUSB2 connect --background",
     Preparation::None, connectArguments, runConnect},
    {"devices", "list the USB modems present and their ports: ids, USB path, driver, which port answers AT",
     "  cellctl devices\n  cellctl --json devices\n  cellctl --device auto status", Preparation::None, noArguments,
     nullptr, runDevices},
    {"disconnect", "end a data link that cellctl supervises (connect --background), hanging up cleanly",
     "  cellctl disconnect\n  cellctl --device /dev/ttyUSB2 disconnect", Preparation::None, noArguments, nullptr,
     runDisconnect},

    {"sim", "the SIM card: state, PIN and PUK entry, PIN lock, passwords (default: status)",
     "  cellctl sim\n  cellctl sim unlock 1234\n  cellctl sim unblock 12345678 4321", Preparation::None, noArguments,
     runSimStatus},
    {"sim status", "show the SIM state, the PIN lock and the remaining attempts", "  cellctl sim status",
     Preparation::None, noArguments, runSimStatus},
    {"sim unlock", "enter the PIN (once: a wrong PIN is never tried again)",
     "  cellctl sim unlock 1234\n  cellctl --pin-file ~/.config/cellctl/pin sim unlock\n  cellctl sim unlock -",
     Preparation::None, noArguments, runSimUnlock},
    {"sim unblock", "unblock a blocked SIM with its PUK and set a new PIN",
     "  cellctl sim unblock 12345678 4321\n  cellctl sim unblock --puk-file puk.txt --new-pin-file new-pin.txt",
     Preparation::None, noArguments, runSimUnblock},
    {"sim lock", "switch the PIN lock on or off (asks for the PIN)",
     "  cellctl sim lock off 1234\n  cellctl --pin 1234 sim lock on", Preparation::None, simLockArguments, runSimLock},
    {"sim change-pin", "change the PIN, which is the SIM card lock password", "  cellctl sim change-pin 1234 4321",
     Preparation::None, noArguments, runSimChangePin},
    {"sim change-pin2", "change the fixed-dialling password (PIN2)", "  cellctl sim change-pin2 5678 8765",
     Preparation::None, noArguments, runSimChangePin2},

    {"operators", "network operators: current, scan, manual or automatic selection (default: current)",
     "  cellctl operators\n  cellctl operators scan\n  cellctl operators select 46000\n  cellctl operators auto",
     Preparation::Network, noArguments, runOperatorsCurrent},
    {"operators current", "show the current operator and how it was selected", "  cellctl operators current",
     Preparation::Network, noArguments, runOperatorsCurrent},
    {"operators scan", "list the operators in range (a scan can take minutes)",
     "  cellctl operators scan\n  cellctl --json operators scan", Preparation::SimReady, noArguments, runOperatorsScan},
    {"operators select", "register with one operator, chosen by its numeric code", "  cellctl operators select 46001",
     Preparation::Network, operatorSelectArguments, runOperatorsSelect},
    {"operators auto", "let the modem choose the operator", "  cellctl operators auto", Preparation::Network,
     noArguments, runOperatorsAutomatic},

    {"preferred", "the preferred-operator list on the SIM (default: list)",
     "  cellctl preferred\n  cellctl preferred write 3 46000 --td\n  cellctl preferred delete 3", Preparation::SimReady,
     noArguments, runPreferredList},
    {"preferred list", "show the preferred-operator list", "  cellctl preferred list", Preparation::SimReady,
     noArguments, runPreferredList},
    {"preferred write", "write an entry (without --gsm/--td/--gsm-compact: GSM and TD)",
     "  cellctl preferred write 3 46000\n  cellctl preferred write 4 46001 --gsm", Preparation::SimReady,
     preferredWriteArguments, runPreferredWrite},
    {"preferred delete", "delete an entry", "  cellctl preferred delete 3", Preparation::SimReady,
     preferredDeleteArguments, runPreferredDelete},
    {"preferred selector", "show or choose which preferred list the commands work on",
     "  cellctl preferred selector\n  cellctl preferred selector 1", Preparation::SimReady, preferredSelectorArguments,
     runPreferredSelector},

    {"mode", "the network mode: show, switch, power-on mode (default: show)",
     "  cellctl mode\n  cellctl mode switch gsm\n  cellctl mode power-on td", Preparation::PowerOn, noArguments,
     runModeShow},
    {"mode show", "show the current network mode and the power-on mode", "  cellctl mode show", Preparation::PowerOn,
     noArguments, runModeShow},
    {"mode switch", "switch the network mode to GSM, TD or dual",
     "  cellctl mode switch td\n  cellctl mode switch dual", Preparation::PowerOn, modeSwitchArguments, runModeSwitch},
    {"mode power-on", "choose the network the modem starts on", "  cellctl mode power-on gsm", Preparation::PowerOn,
     modePowerOnArguments, runModePowerOn},

    {"power", "the radio: on, off, soft reset", "  cellctl power on\n  cellctl power off\n  cellctl power reset",
     Preparation::None, noArguments, nullptr},
    {"power on", "power the radio on and run the set-up that follows", "  cellctl power on", Preparation::None,
     noArguments, runPowerOn},
    {"power off", "power the radio off", "  cellctl power off", Preparation::None, noArguments, runPowerOff},
    {"power reset", "soft-reset the modem", "  cellctl power reset", Preparation::None, noArguments, runPowerReset},

    {"monitor", "follow signal, registration, mode changes, HSDPA and cell capability until Ctrl-C",
     "  cellctl monitor\n  cellctl monitor --duration 60 --interval 2\n  cellctl --json monitor --events 5",
     Preparation::PowerOn, monitorArguments, runMonitor},
};

std::string parentPath(const std::string& path)
{
    size_t space = path.rfind(' ');
    return space == std::string::npos ? "" : path.substr(0, space);
}

std::string leafName(const std::string& path)
{
    size_t space = path.rfind(' ');
    return space == std::string::npos ? path : path.substr(space + 1);
}

const char kMainExamples[] =
    "Examples:\n"
    "  cellctl --sim-state pin --sim-pin 1234 --pin 1234 connect --apn cmnet\n"
    "  cellctl status\n"
    "  cellctl --device /dev/ttyUSB0 --pin-file ~/.config/cellctl/pin connect --apn cmnet\n"
    "  cellctl --tcp 192.168.8.1:2000 --json operators scan\n"
    "  cellctl COMMAND --help\n"
    "\n"
    "Without --device or --tcp, cellctl starts a simulated modem of its own\n"
    "(options --sim-*), so every command can be tried on any machine.\n\n";

}  // namespace

const CommandEntry* commandTable(size_t& count)
{
    count = std::size(kCommands);
    return kCommands;
}

bool takesSecretArguments(const std::string& commandPath)
{
    for (const SecretArgument& secret : kSecretArguments) {
        if (secret.command == commandPath && secret.name[0] != '-')
            return true;
    }
    return false;
}

Arguments::Arguments() : m_app("cellctl: bring a 3G TD-SCDMA/GSM data card online and manage it", "cellctl")
{
    m_app.require_subcommand(1);
    m_app.set_version_flag("--version", std::string("cellctl ") + CELLCTL_PROGRAM_VERSION,
                           "print cellctl's version and exit");
    m_app.fallthrough();
    // An option given twice keeps its last value, so a script can append to
    // a command line that already sets it.
    m_app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    m_app.footer(std::string(kMainExamples) + exitStatusHelp());
    m_app.get_formatter()->column_width(34);
    addGlobalOptions();
    addSimulatorOptions();
    addCommands();
}

void Arguments::addGlobalOptions()
{
    SessionOptions& session = m_global.session;
    CLI::Option* device =
        m_app.add_option("--device", session.device,
                         "the modem's AT port (e.g. /dev/ttyUSB2), or auto: the first port that answers AT "
                         "(the default when a modem is present)");
    m_app.add_option("--tcp", session.tcp, "modem reachable over TCP (a serial-to-network bridge)")
        ->check(kHostPort)
        ->excludes(device);
    m_app.add_option("--baud", session.baudRate, "serial line speed (default 115200)")
        ->check(CLI::IsMember({1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600}));
    m_secrets.add(m_app, kPin, "--pin", "the SIM PIN, entered once if the card asks for it", m_pin);
    m_app.add_flag("--json", m_global.json, "print one JSON document per command");
    m_app.add_flag("--trace", session.trace, "show the AT traffic on stderr (PINs and passwords masked)");
    m_app
        .add_option("--timeout", m_timeout,
                    "limit in seconds for each step and for each command's answer (default: each "
                    "step's own, up to minutes for a scan)")
        ->check(kStepSeconds);
}

void Arguments::addSimulatorOptions()
{
    cellsim::ModemOptions& sim = m_global.session.simulator;
    CLI::App& group = *m_app.add_option_group("Built-in simulated modem",
                                              "starting state of the modem used without --device or --tcp");
    m_simulatorGroup = &group;
    group.add_option("--sim-state", m_simState, "SIM card: ready, pin (PIN-locked), puk (blocked) or absent")
        ->check(CLI::IsMember({"ready", "pin", "puk", "absent"}));
    group.add_option("--sim-pin", sim.pin, "the simulated card's PIN (default 1234)")->check(secretValidator(kPin));
    group.add_option("--sim-puk", sim.puk, "the simulated card's PUK (default 12345678)")->check(secretValidator(kPuk));
    group.add_option("--sim-mode", m_simMode, "network mode at start: gsm, td or dual (default dual)")
        ->check(CLI::IsMember({"gsm", "td", "dual"}));
    group
        .add_option("--sim-registration-delay", m_simRegistrationDelay,
                    "seconds from radio on to registration (default 1)")
        ->check(numberInRange(0, 600, "seconds"));
    group.add_option("--sim-scan-duration", m_simScanDuration, "seconds a network scan takes (default 3)")
        ->check(numberInRange(0, 600, "seconds"));
    group.add_option("--sim-drop", sim.faults.dropRate, "share of answers the modem loses, 0 to 1 (default 0)")
        ->check(numberInRange(0, 1, "a share"));
    group.add_option("--sim-seed", sim.seed, "seed of the modem's random choices, such as which answers it loses")
        ->check(CLI::Range(0u, 4294967295u));
    group
        .add_option_function<double>(
            "--sim-latency",
            [&sim](double seconds) {
                sim.faults.latency = std::chrono::milliseconds(static_cast<long>(seconds * 1000));
            },
            "seconds the modem takes before it runs each command (default 0)")
        ->check(numberInRange(0, 60, "seconds"));
    group.add_option("--sim-data-peer", sim.dataPeer,
                     "command that is the network behind a data call (its stdin/stdout carry the call's bytes)");
    group
        .add_option("--sim-refuse", sim.faults.refused,
                    "a command the modem always answers with ERROR, e.g. +CGDCONT (may be repeated)")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    group.add_flag("--sim-data-port", sim.dataPort, "serve a separate modem port for data calls, as data cards do");
}

void Arguments::addCommands()
{
    std::map<std::string, CLI::App*> byPath;
    for (const CommandEntry& entry : kCommands) {
        std::string parent = parentPath(entry.path);
        CLI::App* owner = parent.empty() ? &m_app : byPath.at(parent);
        CLI::App* command = owner->add_subcommand(leafName(entry.path), entry.summary);
        command->fallthrough();
        command->footer(std::string("Examples:\n") + entry.examples + "\n");
        if (entry.run == nullptr && entry.runWithoutModem == nullptr)
            command->require_subcommand(1);
        else
            command->require_subcommand(0, 1);
        entry.addArguments(*command, m_args);
        for (const SecretArgument& secret : kSecretArguments) {
            if (secret.command == std::string(entry.path))
                m_secrets.add(*command, *secret.kind, secret.name, secret.help, m_args.*secret.field);
        }
        byPath[entry.path] = command;
        m_commands.emplace_back(command, &entry);
    }
}

void Arguments::applySimulatorChoices()
{
    static const std::map<std::string, cellsim::SimStart> kSimStates = {
        {"ready", cellsim::SimStart::Ready},
        {"pin", cellsim::SimStart::PinLocked},
        {"puk", cellsim::SimStart::PukBlocked},
        {"absent", cellsim::SimStart::Absent},
    };
    static const std::map<std::string, cellsim::ModeStart> kModes = {
        {"gsm", cellsim::ModeStart::Gsm},
        {"td", cellsim::ModeStart::Td},
        {"dual", cellsim::ModeStart::Dual},
    };
    cellsim::ModemOptions& sim = m_global.session.simulator;
    sim.sim = kSimStates.at(m_simState);
    sim.mode = kModes.at(m_simMode);
    sim.registrationDelay = std::chrono::milliseconds(static_cast<long>(m_simRegistrationDelay * 1000));
    sim.scanDuration = std::chrono::milliseconds(static_cast<long>(m_simScanDuration * 1000));
}

// The deepest command given on the line (the program itself when none is).
CLI::App* Arguments::givenCommand()
{
    CLI::App* chosen = &m_app;
    for (;;) {
        std::vector<CLI::App*> given = chosen->get_subcommands();
        if (given.empty())
            return chosen;
        chosen = given.front();
    }
}

// CLI11 sees `cellctl frobnicate` as a missing command and `cellctl sim
// frobnicate` as an unexpected argument; both are an unknown command where a
// command belongs. Returns when the failure is another one.
void Arguments::refuseUnknownCommand()
{
    std::vector<std::string> extra = m_app.remaining(true);
    if (!extra.empty() && extra.front().size() > 1 && extra.front()[0] == '-')
        throw CLI::ExtrasError(extra);  // an unknown option comes first
    CLI::App* chosen = givenCommand();
    std::vector<std::string> names;
    for (const CLI::App* command : chosen->get_subcommands(nullptr)) {
        if (!command->get_name().empty())  // a nameless one is an option group
            names.push_back(command->get_name());
    }
    if (names.empty())
        return;
    std::string path;
    for (const CLI::App* command = chosen; command != &m_app; command = command->get_parent())
        path = command->get_name() + " " + path;
    if (!extra.empty())
        throw CLI::ExtrasError("unknown command: " + path + extra.front(), CLI::ExitCodes::ExtrasError);
    if (chosen->get_require_subcommand_min() > 0)
        throw CLI::RequiredError(
            path.empty() ? "no command given"
                         : "'" + path.substr(0, path.size() - 1) + "' needs one of: " + CLI::detail::join(names, ", "),
            CLI::ExitCodes::RequiredError);
}

const CommandEntry& Arguments::parse(int argc, const char* const* argv)
{
    try {
        m_app.parse(argc, argv);
    } catch (const CLI::RequiredError&) {
        refuseUnknownCommand();
        throw;
    } catch (const CLI::ExtrasError&) {
        refuseUnknownCommand();
        throw;
    }
    // The line speed is a serial device's; over TCP it would go unused.
    if (m_app.count("--baud") != 0 && m_app.count("--tcp") != 0)
        throw CLI::ValidationError("--baud applies to serial devices, not --tcp");
    m_secrets.read();
    if (!m_pin.empty())
        m_global.pin = m_pin;
    if (m_args.providerDatabase.empty())
        m_args.providerDatabase = kProviderDatabasePath;
    if (m_app.count("--timeout") != 0)
        m_global.session.timeoutSeconds = m_timeout;
    applySimulatorChoices();
    for (const CLI::Option* option : m_simulatorGroup->get_options()) {
        if (option->count() != 0)
            m_global.session.simulatorChosen = true;
    }

    CLI::App* chosen = givenCommand();
    for (const auto& entry : m_commands) {
        if (entry.first != chosen)
            continue;
        if (entry.second->run == runConnect) {
            std::string problem = dataLinkArgumentsProblem(m_args, m_global);
            if (!problem.empty())
                throw CLI::ValidationError("connect", problem);
        }
        return *entry.second;
    }
    throw CLI::RequiredError("a command");
}

}  // namespace cellctl::cli
