#include <cellctl/at/ParameterSafety.h>

namespace cellctl::at {
namespace {

struct Forbidden {
    char character;
    const char* name;
};

constexpr Forbidden kForbidden[] = {
    {'\r', "CR"}, {'\n', "LF"}, {'\0', "NUL"}, {'\x1a', "Ctrl-Z"}, {'\x1b', "ESC"},
};

}  // namespace

std::string forbiddenCharacterIn(const std::string& text)
{
    for (char c : text) {
        for (const Forbidden& forbidden : kForbidden) {
            if (c == forbidden.character)
                return forbidden.name;
        }
    }
    return std::string();
}

bool chainsAnotherCommand(const std::string& line)
{
    bool quoted = false;
    for (char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ';' && !quoted)
            return true;
    }
    return false;
}

}  // namespace cellctl::at
