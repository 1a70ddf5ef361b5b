#include <cellsim/CliOptions.h>

#include <algorithm>
#include <functional>
#include <sstream>

namespace cellsim {
namespace {

std::optional<long> wholeNumber(const std::string& text, long high)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const long value = std::stol(text);
    return value <= high ? std::optional<long>(value) : std::nullopt;
}

std::optional<std::chrono::milliseconds> duration(const std::string& text)
{
    const auto value = wholeNumber(text, 24L * 3600 * 1000);
    return value ? std::optional<std::chrono::milliseconds>(*value) : std::nullopt;
}

std::optional<double> rate(const std::string& text)
{
    try {
        std::size_t used = 0;
        const double value = std::stod(text, &used);
        if (used == text.size() && value >= 0.0 && value <= 1.0) {
            return value;
        }
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

bool password(const std::string& text)
{
    return text.size() >= 4 && text.size() <= 8 && text.find_first_not_of("0123456789") == std::string::npos;
}

// CODE:ACT[:home|:forbidden], comma-separated.
std::optional<std::vector<NetworkEntry>> networkList(const std::string& text)
{
    std::vector<NetworkEntry> networks;
    std::stringstream list(text);
    std::string item;
    while (std::getline(list, item, ',')) {
        std::stringstream fields(item);
        std::string code, accessTech, flag;
        std::getline(fields, code, ':');
        std::getline(fields, accessTech, ':');
        std::getline(fields, flag, ':');
        if ((code.size() != 5 && code.size() != 6) || code.find_first_not_of("0123456789") != std::string::npos ||
            (accessTech != "0" && accessTech != "2") || (!flag.empty() && flag != "home" && flag != "forbidden") ||
            !fields.eof()) {
            return std::nullopt;
        }
        NetworkEntry network = knownOperator(code, std::stoi(accessTech));
        network.home = flag == "home";
        network.forbidden = flag == "forbidden";
        networks.push_back(network);
    }
    if (networks.empty()) {
        return std::nullopt;
    }
    return networks;
}

using Apply = std::function<bool(CliSettings&, const std::string&)>;

struct CliOption {
    const char* name;
    const char* value;  // the value's name in the help, null for a switch
    const char* help;
    Apply apply;
};

template <typename T>
bool store(std::optional<T> parsed, T& target)
{
    if (parsed) {
        target = *parsed;
    }
    return parsed.has_value();
}

const std::vector<CliOption>& cliOptions()
{
    using Transport = ServerSettings::Transport;
    static const std::vector<CliOption> options = {
        {"--pty", nullptr, "serve on a new pseudo-terminal and print its path (the default)",
         [](CliSettings& s, const std::string&) {
             s.server.transport = Transport::Pty;
             return true;
         }},
        {"--link", "PATH", "also make the pty reachable as PATH (a symbolic link, replaced if it is one)",
         [](CliSettings& s, const std::string& v) {
             s.server.linkPath = v;
             return !v.empty();
         }},
        {"--data-link", "PATH",
         "serve a second pty as the modem's data port, reachable as PATH; it shares the modem's state and "
         "answers AT too, and a data call on it leaves the first port free for commands",
         [](CliSettings& s, const std::string& v) {
             s.server.dataLinkPath = v;
             s.modem.dataPort = true;
             return !v.empty();
         }},
        {"--data-peer", "COMMAND",
         "the network side of data calls: on CONNECT, run /bin/sh -c COMMAND with its standard input and "
         "output joined to the call (e.g. a pppd, or cat to echo); without it the host's data goes nowhere, "
         "so a host's PPP never comes up",
         [](CliSettings& s, const std::string& v) {
             s.modem.dataPeer = v;
             return !v.empty();
         }},
        {"--tcp", "PORT", "serve on a TCP port instead of a pty (0 picks a free one)",
         [](CliSettings& s, const std::string& v) {
             s.server.transport = Transport::Tcp;
             const auto port = wholeNumber(v, 65535);
             if (port) {
                 s.server.port = static_cast<unsigned short>(*port);
             }
             return port.has_value();
         }},
        {"--bind", "ADDRESS", "address to listen on with --tcp (default 127.0.0.1)",
         [](CliSettings& s, const std::string& v) {
             s.server.address = v;
             return !v.empty();
         }},
        {"--sim", "STATE", "the SIM at start: ready, pin (PIN asked), puk (PIN blocked) or absent",
         [](CliSettings& s, const std::string& v) {
             const std::pair<const char*, SimStart> states[] = {{"ready", SimStart::Ready},
                                                                {"pin", SimStart::PinLocked},
                                                                {"puk", SimStart::PukBlocked},
                                                                {"absent", SimStart::Absent}};
             for (const auto& [name, state] : states) {
                 if (v == name) {
                     s.modem.sim = state;
                     return true;
                 }
             }
             return false;
         }},
        {"--pin", "PIN", "the SIM's PIN, 4 to 8 digits (default 1234)",
         [](CliSettings& s, const std::string& v) {
             s.modem.pin = v;
             return password(v);
         }},
        {"--puk", "PUK", "the SIM's PUK, 4 to 8 digits (default 12345678)",
         [](CliSettings& s, const std::string& v) {
             s.modem.puk = v;
             return password(v);
         }},
        {"--pin2", "PIN2", "the SIM's PIN2 for fixed dialling (default 5678)",
         [](CliSettings& s, const std::string& v) {
             s.modem.pin2 = v;
             return password(v);
         }},
        {"--sim-type", "TYPE", "usim (default) or sim, as ^DUSIM? reports it",
         [](CliSettings& s, const std::string& v) {
             s.modem.usim = v == "usim";
             return v == "usim" || v == "sim";
         }},
        {"--mode", "MODE", "network mode at start: gsm, td or dual (default dual, preferring TD)",
         [](CliSettings& s, const std::string& v) {
             const std::pair<const char*, ModeStart> modes[] = {
                 {"gsm", ModeStart::Gsm}, {"td", ModeStart::Td}, {"dual", ModeStart::Dual}};
             for (const auto& [name, mode] : modes) {
                 if (v == name) {
                     s.modem.mode = mode;
                     return true;
                 }
             }
             return false;
         }},
        {"--operators", "LIST",
         "the networks the radio sees, as CODE:ACT[:home|:forbidden] separated by commas, ACT 0 (GSM) or 2 "
         "(TD); e.g. 46000:2:home,46001:0,46006:0:forbidden (default: the six operators the modem knows)",
         [](CliSettings& s, const std::string& v) { return store(networkList(v), s.modem.networks); }},
        {"--firmware-quirks", "LIST",
         "answer in forms real firmware uses, names separated by commas: creg-with-n, padded-stat, bare-lac, "
         "cpin-no-ok, quoted-cpin, csq-no-space, cpol-bare-code, vendor-errors",
         [](CliSettings& s, const std::string& v) { return store(parseFirmwareQuirks(v), s.modem.quirks); }},
        {"--registration-delay", "MS", "time from radio on and SIM ready to registration (default 1000)",
         [](CliSettings& s, const std::string& v) { return store(duration(v), s.modem.registrationDelay); }},
        {"--scan-time", "MS", "duration of a network scan, AT+COPS=? (default 3000)",
         [](CliSettings& s, const std::string& v) { return store(duration(v), s.modem.scanDuration); }},
        {"--no-abort", nullptr, "a command that takes time runs to its end; lines sent meanwhile wait for it",
         [](CliSettings& s, const std::string&) {
             s.modem.abortOnCharacter = false;
             return true;
         }},
        {"--latency", "MS", "fault: delay before every command line runs",
         [](CliSettings& s, const std::string& v) { return store(duration(v), s.modem.faults.latency); }},
        {"--drop-rate", "R", "fault: share of answers lost, 0 to 1 (the command still runs)",
         [](CliSettings& s, const std::string& v) { return store(rate(v), s.modem.faults.dropRate); }},
        {"--split-writes", nullptr, "fault: output leaves in pieces of 1 to 4 bytes, 1 ms apart",
         [](CliSettings& s, const std::string&) {
             s.modem.faults.splitWrites = true;
             return true;
         }},
        {"--echo", nullptr, "fault: echo every command line, even after ATE0",
         [](CliSettings& s, const std::string&) {
             s.modem.faults.forcedEcho = true;
             return true;
         }},
        {"--garbage", nullptr, "fault: a line of junk bytes before every answer",
         [](CliSettings& s, const std::string&) {
             s.modem.faults.garbage = true;
             return true;
         }},
        {"--storm", "N", "fault: N unsolicited reports (calls, call progress, packet events) before every answer",
         [](CliSettings& s, const std::string& v) {
             const auto count = wholeNumber(v, 1000);
             if (count) {
                 s.modem.faults.storm = static_cast<unsigned>(*count);
             }
             return count.has_value();
         }},
        {"--seed", "N", "seed of the random choices of the faults (default 1)",
         [](CliSettings& s, const std::string& v) {
             const auto seed = wholeNumber(v, 999999999);
             if (seed) {
                 s.modem.seed = static_cast<std::uint32_t>(*seed);
             }
             return seed.has_value();
         }},
        {"--trace", nullptr, "print the AT traffic on standard error",
         [](CliSettings& s, const std::string&) {
             s.trace = true;
             return true;
         }},
        {"--version", nullptr, "print the version and exit",
         [](CliSettings& s, const std::string&) {
             s.version = true;
             return true;
         }},
        {"--help", nullptr, "print this help and exit",
         [](CliSettings& s, const std::string&) {
             s.help = true;
             return true;
         }},
    };
    return options;
}

}  // namespace

CliParse parseCliArguments(const std::vector<std::string>& arguments)
{
    CliSettings settings;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i] == "-h" ? "--help" : arguments[i];
        std::optional<std::string> value;
        const auto equals = name.find('=');
        if (name.compare(0, 2, "--") == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.erase(equals);
        }
        const CliOption* option = nullptr;
        for (const CliOption& candidate : cliOptions()) {
            if (name == candidate.name) {
                option = &candidate;
            }
        }
        if (!option) {
            return {std::nullopt, "unknown option '" + arguments[i] + "'"};
        }
        if (option->value && !value) {
            if (i + 1 == arguments.size()) {
                return {std::nullopt, name + " needs a value (" + option->value + ")"};
            }
            value = arguments[++i];
        } else if (!option->value && value) {
            return {std::nullopt, name + " takes no value"};
        }
        if (!option->apply(settings, value.value_or(std::string()))) {
            return {std::nullopt, "bad value '" + *value + "' for " + name};
        }
    }
    return {settings, std::string()};
}

std::string cliUsage()
{
    std::string text =
        "Usage: cellsim [OPTION]...\n"
        "A simulated TD-SCDMA/GSM HSDPA modem speaking AT on a pseudo-terminal or a TCP port.\n"
        "With --pty (the default) the first line printed is the device path to open, e.g. with\n"
        "  picocom /dev/pts/N   or   socat - /dev/pts/N,raw,echo=0,crnl\n"
        "With --data-link the data port's path follows on the second line.\n"
        "Runs until interrupted (SIGINT or SIGTERM).\n\n"
        "Options:\n";
    constexpr std::size_t indent = 26;
    constexpr std::size_t width = 90;
    for (const CliOption& option : cliOptions()) {
        std::string line = std::string("  ") + option.name + (option.value ? std::string(" ") + option.value : "");
        line.resize(std::max(line.size() + 2, indent), ' ');
        std::istringstream words(option.help);
        std::string word;
        bool first = true;
        while (words >> word) {
            if (!first && line.size() + 1 + word.size() > width) {
                text += line + "\n";
                line = std::string(indent, ' ');
                first = true;
            }
            line += (first ? "" : " ") + word;
            first = false;
        }
        text += line + "\n";
    }
    text +=
        "\nThe radio is off until AT+CFUN=1. The SIM's PIN is asked with --sim pin; three wrong PINs\n"
        "block it (PUK needed), ten wrong PUKs kill the card. Faults apply to every answer.\n"
        "Data calls: once attached (AT+CGATT=1) with a context defined (AT+CGDCONT), ATD*99***<cid># (or\n"
        "ATD*99#, cid 1) answers CONNECT <rate> and the port carries data to the --data-peer program; other\n"
        "dial strings get NO CARRIER. A pause of 1 s, +++ and another 1 s pause return to commands (OK):\n"
        "ATO goes back online, ATH hangs up. The call ends with NO CARRIER when the peer exits or the host\n"
        "drops DTR (sets the speed to B0). AT+CEER tells why the last call failed or ended.\n";
    return text;
}

}  // namespace cellsim
