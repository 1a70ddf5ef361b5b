#include <cellsim/AtCommand.h>

#include <cctype>

namespace cellsim {
namespace {

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return std::string();
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Reads one comma-separated field of an argument list starting at `pos`.
// Returns false on a quote that is never closed.
bool readArgument(const std::string& text, std::size_t& pos, AtArgument& argument)
{
    std::string raw;
    while (pos < text.size() && text[pos] != ',') {
        if (text[pos] == '"') {
            const auto close = text.find('"', pos + 1);
            if (close == std::string::npos) {
                return false;
            }
            raw.append(text, pos, close - pos + 1);
            pos = close + 1;
        } else {
            raw += text[pos++];
        }
    }
    raw = trimmed(raw);
    if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"') {
        argument.text = raw.substr(1, raw.size() - 2);
        argument.quoted = true;
    } else {
        argument.text = raw;
    }
    return true;
}

bool splitArguments(const std::string& text, AtArguments& arguments)
{
    std::vector<AtArgument> list;
    std::size_t pos = 0;
    while (true) {
        AtArgument argument;
        if (!readArgument(text, pos, argument)) {
            return false;
        }
        list.push_back(argument);
        if (pos >= text.size()) {
            break;
        }
        ++pos;  // the comma
    }
    arguments = AtArguments(std::move(list));
    return true;
}

// End of a set command's arguments: the next ';' outside double quotes.
std::size_t argumentsEnd(const std::string& line, std::size_t pos)
{
    bool inQuotes = false;
    for (; pos < line.size(); ++pos) {
        if (line[pos] == '"') {
            inQuotes = !inQuotes;
        } else if (line[pos] == ';' && !inQuotes) {
            break;
        }
    }
    return pos;
}

bool parseExtended(const std::string& line, std::size_t& pos, AtCommand& command)
{
    command.name = std::string(1, line[pos++]);
    while (pos < line.size() && (isAlnum(line[pos]) || line[pos] == '_')) {
        command.name += upper(line[pos++]);
    }
    if (command.name.size() == 1) {
        return false;
    }
    if (line.compare(pos, 2, "=?") == 0) {
        command.form = AtCommand::Form::Test;
        pos += 2;
    } else if (pos < line.size() && line[pos] == '?') {
        command.form = AtCommand::Form::Read;
        ++pos;
    } else if (pos < line.size() && line[pos] == '=') {
        command.form = AtCommand::Form::Set;
        const auto end = argumentsEnd(line, pos + 1);
        if (!splitArguments(line.substr(pos + 1, end - pos - 1), command.arguments)) {
            return false;
        }
        pos = end;
    }
    return true;
}

// A basic command: a letter (or & and a letter) with an optional number.
// D takes the rest of the line as its dial string.
bool parseBasic(const std::string& line, std::size_t& pos, AtCommand& command)
{
    if (line[pos] == '&') {
        command.name = "&";
        ++pos;
        if (pos >= line.size() || !std::isalpha(static_cast<unsigned char>(line[pos]))) {
            return false;
        }
    }
    if (!std::isalpha(static_cast<unsigned char>(line[pos]))) {
        return false;
    }
    command.name += upper(line[pos++]);
    if (command.name == "D") {
        command.form = AtCommand::Form::Set;
        command.arguments = AtArguments({AtArgument{line.substr(pos), false}});
        pos = line.size();
        return true;
    }
    if (pos < line.size() && line[pos] == '?') {
        command.form = AtCommand::Form::Read;
        ++pos;
        return true;
    }
    std::string digits;
    while (pos < line.size() && isDigit(line[pos])) {
        digits += line[pos++];
    }
    if (!digits.empty()) {
        command.form = AtCommand::Form::Set;
        command.arguments = AtArguments({AtArgument{digits, false}});
    }
    return true;
}

bool isExtendedPrefix(char c) { return c == '+' || c == '^' || c == '%' || c == '$'; }

}  // namespace

bool AtArguments::given(std::size_t i) const
{
    return i < m_arguments.size() && (m_arguments[i].quoted || !m_arguments[i].text.empty());
}

std::string AtArguments::text(std::size_t i) const
{
    return i < m_arguments.size() ? m_arguments[i].text : std::string();
}

std::optional<int> AtArguments::number(std::size_t i) const
{
    if (i >= m_arguments.size() || m_arguments[i].quoted) {
        return std::nullopt;
    }
    const std::string& text = m_arguments[i].text;
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (!isDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<int> AtArguments::number(std::size_t i, int low, int high) const
{
    const auto value = number(i);
    if (!value || *value < low || *value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<CommandLine> parseCommandLine(const std::string& line)
{
    std::size_t start = std::string::npos;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        if (upper(line[i]) == 'A' && upper(line[i + 1]) == 'T') {
            start = i;
            break;
        }
    }
    if (start == std::string::npos) {
        return std::nullopt;
    }
    CommandLine result;
    std::size_t pos = start + 2;
    while (pos < line.size()) {
        const char c = line[pos];
        if (c == ' ' || c == ';') {
            ++pos;
            continue;
        }
        AtCommand command;
        const bool parsed = isExtendedPrefix(c) ? parseExtended(line, pos, command) : parseBasic(line, pos, command);
        if (!parsed) {
            result.wellFormed = false;
            result.commands.clear();
            return result;
        }
        result.commands.push_back(std::move(command));
    }
    return result;
}

}  // namespace cellsim
