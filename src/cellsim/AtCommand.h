#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cellsim {

// One argument of a set command, with or without double quotes around it.
struct AtArgument {
    std::string text;
    bool quoted = false;
};

class AtArguments {
public:
    AtArguments() = default;
    explicit AtArguments(std::vector<AtArgument> arguments) : m_arguments(std::move(arguments)) {}

    std::size_t size() const { return m_arguments.size(); }
    // True when argument i is there and not an empty field ("" counts as given).
    bool given(std::size_t i) const;
    // The text of argument i, empty when it is missing.
    std::string text(std::size_t i) const;
    // Argument i as a non-negative decimal number; empty when missing or not a number.
    std::optional<int> number(std::size_t i) const;
    // Argument i as a number within [low, high]; empty otherwise.
    std::optional<int> number(std::size_t i, int low, int high) const;

private:
    std::vector<AtArgument> m_arguments;
};

// One command of a command line: AT+CPIN="1234" is the set form of "+CPIN".
struct AtCommand {
    enum class Form { Execute, Read, Test, Set };

    std::string name;  // upper case: "+CPIN", "^DSTM", "E", "&F"
    Form form = Form::Execute;
    AtArguments arguments;
};

// The commands of one command line, in order.
struct CommandLine {
    bool wellFormed = true;  // false: the line is answered ERROR, nothing runs
    std::vector<AtCommand> commands;
};

// Finds the command line in `line` (whatever precedes the first "AT" is
// ignored) and splits it into commands: "AT+CMEE=1;+CREG=1" gives two and a
// bare "AT" none. Returns nothing when the line holds no "AT" at all.
std::optional<CommandLine> parseCommandLine(const std::string& line);

}  // namespace cellsim
