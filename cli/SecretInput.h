#pragma once

#include <cstddef>
#include <deque>
#include <string>

#include <CLI/CLI.hpp>

namespace cellctl::cli {

// A kind of secret (a PIN, a PUK, a password) and where, besides its value on
// the command line, it can come from.
struct SecretKind {
    const char* name;              // "PUK": in messages and the prompt
    const char* fileOption;        // "--puk-file"; null when it has none of its own
    const char* environment;       // "CELLCTL_PUK"; null when it has none
    std::size_t fewestDigits = 0;  // 0: any text (a PPP password)
    std::size_t mostDigits = 0;
    // Given no source of its own, this secret is the one of that kind (the
    // current PIN of `sim change-pin` is the global PIN).
    const SecretKind* otherwise = nullptr;
};

// What is wrong with `secret` as a secret of this kind, or "" when nothing is.
// The text never contains the secret.
std::string secretProblem(const SecretKind& kind, const std::string& secret);

// The secrets of a command line. Each one comes from one of:
//   its value on the command line (an option such as --pin, or an argument
//   such as PUK), which other users see in the process list; "-" instead
//   reads it from standard input, without echo on a terminal;
//   its file option: the first line of the file;
//   its environment variable, used only when neither of the above is given.
// Both of the first two for one secret, or "-" for two secrets, is a bad
// command line. Arguments go, in order, to the secrets that no file option
// gives; when there are fewer of them, secrets that the environment (or the
// secret they default to) gives leave their place first.
//
// Secrets are read once the whole command line is known, so that a bad one
// is refused before standard input is read, and checked as their kind
// requires. No message names a secret's value.
class SecretInput {
public:
    // Adds the options of a secret to `command`: `name` is its option ("--pin")
    // or argument ("PUK"); the secret is stored in `into`, which stays empty
    // when none is given.
    void add(CLI::App& command, const SecretKind& kind, const std::string& name, const std::string& help,
             std::string& into);

    // Reads the secrets of the commands given on the parsed command line.
    // Throws CLI::ValidationError (a bad command line) when they cannot be
    // read, are given twice, are missing or are not what their kind allows.
    void read();

private:
    struct Slot {
        const SecretKind* kind;
        std::string name;
        CLI::App* command;
        std::string* into;
        CLI::Option* value = nullptr;
        CLI::Option* file = nullptr;
        std::string valueText;
        std::string filePath;
        // Decided by read():
        bool hasValue = false;
        bool found = false;
    };

    bool positional(const Slot& slot) const;
    bool hasOwnSource(const Slot& slot) const;
    bool hasFallback(const Slot& slot) const;
    const Slot* slotOfKind(const SecretKind* kind) const;
    void placeArguments(CLI::App* command);
    void checkSources() const;
    std::string readOne(const Slot& slot) const;

    std::deque<Slot> m_slots;  // stable addresses: CLI11 writes into them
};

}  // namespace cellctl::cli
