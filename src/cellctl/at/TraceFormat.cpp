#include <cellctl/at/TraceFormat.h>

#include <cctype>
#include <cstdio>

#include <cellctl/text/Comparison.h>

namespace cellctl::at {
namespace {

struct SecretCommand {
    const char* name;    // as it follows AT or ';'
    bool keepsFacility;  // the first argument names the lock, not a secret
};

constexpr SecretCommand kSecretCommands[] = {{"+CPIN=", false}, {"+CLCK=", true}, {"+CPWD=", true}};

std::string upper(const std::string& text)
{
    std::string result = text;
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

// The end of the argument list starting at `from`: the next ';' outside
// quotes, or the end of the line.
std::size_t argumentsEnd(const std::string& line, std::size_t from)
{
    bool quoted = false;
    for (std::size_t i = from; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ';' && !quoted)
            return i;
    }
    return line.size();
}

}  // namespace

std::string maskSecrets(const std::string& line)
{
    if (!text::startsWithIgnoringCase(line, "AT"))
        return line;
    std::string masked = line;
    for (const SecretCommand& secret : kSecretCommands) {
        std::size_t found = upper(masked).find(secret.name);
        while (found != std::string::npos) {
            std::size_t start = found + std::char_traits<char>::length(secret.name);
            if (secret.keepsFacility) {
                std::size_t comma = masked.find(',', start);
                std::size_t end = argumentsEnd(masked, start);
                start = comma != std::string::npos && comma < end ? comma + 1 : start;
            }
            std::size_t end = argumentsEnd(masked, start);
            masked.replace(start, end - start, "***");
            found = upper(masked).find(secret.name, start);
        }
    }
    return masked;
}

std::string printable(const std::string& bytes)
{
    std::string shown;
    shown.reserve(bytes.size());
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace cellctl::at
