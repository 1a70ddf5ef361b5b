#include "SecretInput.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace cellctl::cli {
namespace {

// Longer than any PIN or password; a longer first line is not one.
constexpr std::size_t kLongestLine = 1024;

const char kStandardInput[] = "standard input";

// The first line of `fd`, without its line end (LF or CR LF). Throws when it
// cannot be read, is missing or is too long; `source` names it in messages.
std::string firstLine(int fd, const std::string& source)
{
    std::string line;
    char c = 0;
    for (;;) {
        ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw CLI::ValidationError(source, std::string("cannot read: ") + std::strerror(errno));
        if (n == 0) {
            if (line.empty())
                throw CLI::ValidationError(source, "nothing to read");
            break;
        }
        if (c == '\n')
            break;
        if (line.size() == kLongestLine)
            throw CLI::ValidationError(source, "the first line is too long for a PIN or password");
        line += c;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

std::string readFile(const std::string& path, const char* option)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw CLI::ValidationError(option, "cannot read " + path + ": " + std::strerror(errno));
    try {
        std::string line = firstLine(fd, std::string(option) + " " + path);
        ::close(fd);
        return line;
    } catch (...) {
        ::close(fd);
        throw;
    }
}

// ----- typing a secret at the terminal ------------------------------------

const int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

termios g_typedTerminal;  // the terminal's settings before echo was switched off

// A signal that ends the program while echo is off: the terminal gets its
// echo back, then the signal does what it would have done.
extern "C" void restoreEchoAndResend(int signal)
{
    ::tcsetattr(STDIN_FILENO, TCSANOW, &g_typedTerminal);
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

// Switches echo off on the terminal that is standard input, for as long as
// it lives; every way out (return, exception, an ending signal) turns it on.
class EchoOff {
public:
    EchoOff()
    {
        if (::tcgetattr(STDIN_FILENO, &g_typedTerminal) != 0)
            return;
        m_active = true;
        struct sigaction handler {};
        handler.sa_handler = restoreEchoAndResend;
        sigemptyset(&handler.sa_mask);
        for (std::size_t i = 0; i < std::size(kEndingSignals); ++i)
            ::sigaction(kEndingSignals[i], &handler, &m_before[i]);
        termios quiet = g_typedTerminal;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;  // the Enter key still ends the line on screen
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }

    ~EchoOff()
    {
        if (!m_active)
            return;
        ::tcsetattr(STDIN_FILENO, TCSANOW, &g_typedTerminal);
        for (std::size_t i = 0; i < std::size(kEndingSignals); ++i)
            ::sigaction(kEndingSignals[i], &m_before[i], nullptr);
    }

    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    bool m_active = false;
    struct sigaction m_before[std::size(kEndingSignals)]{};
};

std::string readStandardInput(const SecretKind& kind)
{
    if (::isatty(STDIN_FILENO) == 0)
        return firstLine(STDIN_FILENO, kStandardInput);
    std::string prompt = std::string(kind.name) + ": ";
    if (::write(STDERR_FILENO, prompt.data(), prompt.size()) < 0) {
        // No prompt: the terminal still takes the secret.
    }
    EchoOff echoOff;
    return firstLine(STDIN_FILENO, kStandardInput);
}

// ----- checks -------------------------------------------------------------

void check(const SecretKind& kind, const std::string& secret, const std::string& source)
{
    std::string problem = secretProblem(kind, secret);
    if (!problem.empty())
        throw CLI::ValidationError(source, problem);
}

const char* environmentValue(const SecretKind& kind)
{
    const char* value = kind.environment != nullptr ? std::getenv(kind.environment) : nullptr;
    return value != nullptr && *value != '\0' ? value : nullptr;
}

// "--pin", "--pin-file FILE" and "CELLCTL_PIN", as a list for messages.
std::string waysToGive(const SecretKind& kind, const std::string& name)
{
    std::vector<std::string> ways = {(name.rfind("--", 0) == 0 ? "with " : "as ") + name};
    if (kind.fileOption != nullptr)
        ways.push_back(std::string("with ") + kind.fileOption + " FILE");
    if (kind.environment != nullptr)
        ways.push_back(std::string("in ") + kind.environment);
    std::string text;
    for (std::size_t i = 0; i < ways.size(); ++i)
        text += (i == 0 ? "" : i + 1 == ways.size() ? " or " : ", ") + ways[i];
    return text;
}

}  // namespace

// Card passwords go to the modem inside double quotes on one command line, so
// only digits are taken; the lengths are those a card can have (3GPP TS 22.030
// and TS 31.101), so that a mistyped one is refused here instead of using up
// one of the card's attempts.
std::string secretProblem(const SecretKind& kind, const std::string& secret)
{
    if (kind.mostDigits == 0)
        return "";
    bool digits = !secret.empty() && secret.find_first_not_of("0123456789") == std::string::npos;
    if (digits && secret.size() >= kind.fewestDigits && secret.size() <= kind.mostDigits)
        return "";
    std::string count = std::to_string(kind.fewestDigits);
    if (kind.mostDigits != kind.fewestDigits)
        count += " to " + std::to_string(kind.mostDigits);
    return std::string("a ") + kind.name + " has " + count + " digits";
}

void SecretInput::add(CLI::App& command, const SecretKind& kind, const std::string& name, const std::string& help,
                      std::string& into)
{
    Slot& slot = m_slots.emplace_back();
    slot.kind = &kind;
    slot.name = name;
    slot.command = &command;
    slot.into = &into;
    std::string valueName = kind.mostDigits != 0 ? "DIGITS" : "PASSWORD";
    slot.value =
        command.add_option(name, slot.valueText, help + "; - reads it from standard input")->type_name(valueName);
    if (kind.fileOption != nullptr) {
        std::string fileHelp = std::string("read the ") + kind.name + " from the first line of FILE";
        if (kind.environment != nullptr)
            fileHelp += std::string(" (or set ") + kind.environment + ")";
        slot.file = command.add_option(kind.fileOption, slot.filePath, fileHelp);
    }
}

bool SecretInput::positional(const Slot& slot) const { return slot.name.rfind("--", 0) != 0; }

bool SecretInput::hasOwnSource(const Slot& slot) const
{
    return slot.hasValue || (slot.file != nullptr && slot.file->count() != 0);
}

bool SecretInput::hasFallback(const Slot& slot) const
{
    if (environmentValue(*slot.kind) != nullptr)
        return true;
    const Slot* other = slotOfKind(slot.kind->otherwise);
    return other != nullptr && (hasOwnSource(*other) || hasFallback(*other));
}

const SecretInput::Slot* SecretInput::slotOfKind(const SecretKind* kind) const
{
    for (const Slot& slot : m_slots) {
        if (kind != nullptr && slot.kind == kind && slot.command->parsed())
            return &slot;
    }
    return nullptr;
}

// CLI11 fills a command's arguments in order; they are given again to the
// secrets that no file option gives, leaving out first those the environment
// or another secret gives when there are fewer arguments than secrets.
void SecretInput::placeArguments(CLI::App* command)
{
    std::vector<std::string> values;
    std::vector<Slot*> open;
    for (Slot& slot : m_slots) {
        if (slot.command != command || !positional(slot))
            continue;
        if (slot.value->count() != 0)
            values.push_back(slot.valueText);
        slot.hasValue = false;
        if (slot.file == nullptr || slot.file->count() == 0)
            open.push_back(&slot);
    }
    if (values.size() > open.size())
        throw CLI::ValidationError(command->get_name(),
                                   "too many arguments: a secret given with its file option is not also an argument");
    for (auto it = open.begin(); open.size() > values.size() && it != open.end();)
        it = hasFallback(**it) ? open.erase(it) : it + 1;
    for (std::size_t i = 0; i < values.size(); ++i) {
        open[i]->hasValue = true;
        open[i]->valueText = values[i];
    }
}

void SecretInput::checkSources() const
{
    std::vector<std::string> fromStandardInput;
    for (const Slot& slot : m_slots) {
        if (!slot.command->parsed())
            continue;
        const SecretKind& kind = *slot.kind;
        if (slot.hasValue && slot.file != nullptr && slot.file->count() != 0)
            throw CLI::ValidationError(std::string("give the ") + kind.name + " once: " + slot.name + " and " +
                                       kind.fileOption + " both give it");
        if (slot.hasValue && slot.valueText == "-")
            fromStandardInput.push_back(slot.name);
        if (positional(slot) && !hasOwnSource(slot) && !hasFallback(slot)) {
            std::string ways = waysToGive(kind, slot.name);
            if (const Slot* other = slotOfKind(kind.otherwise))
                ways += " (or " + waysToGive(*other->kind, other->name) + ")";
            throw CLI::ValidationError(slot.command->get_name(),
                                       std::string("the ") + kind.name + " is missing: give it " + ways);
        }
    }
    if (fromStandardInput.size() > 1)
        throw CLI::ValidationError(kStandardInput, "it can give one secret only, but " + fromStandardInput[0] +
                                                       " and " + fromStandardInput[1] + " both ask for it");
}

std::string SecretInput::readOne(const Slot& slot) const
{
    const SecretKind& kind = *slot.kind;
    std::string secret;
    std::string source = slot.name;
    if (slot.hasValue && slot.valueText == "-") {
        secret = readStandardInput(kind);
        source = kStandardInput;
    } else if (slot.hasValue) {
        secret = slot.valueText;
    } else if (slot.file != nullptr && slot.file->count() != 0) {
        secret = readFile(slot.filePath, kind.fileOption);
        source = kind.fileOption;
    } else if (const char* value = environmentValue(kind)) {
        secret = value;
        source = kind.environment;
    } else if (const Slot* other = slotOfKind(kind.otherwise)) {
        return *other->into;  // read and checked as that secret
    } else {
        return "";
    }
    check(kind, secret, source);
    return secret;
}

void SecretInput::read()
{
    for (Slot& slot : m_slots) {
        if (slot.command->parsed() && !positional(slot))
            slot.hasValue = slot.value->count() != 0;
    }
    std::vector<CLI::App*> placed;
    for (Slot& slot : m_slots) {
        if (slot.command->parsed() && positional(slot) &&
            std::find(placed.begin(), placed.end(), slot.command) == placed.end()) {
            placeArguments(slot.command);
            placed.push_back(slot.command);
        }
    }
    checkSources();
    // In the order they were added: a secret another stands in for comes first.
    for (Slot& slot : m_slots) {
        if (slot.command->parsed())
            *slot.into = readOne(slot);
    }
}

}  // namespace cellctl::cli
