#include <cellsim/FirmwareQuirks.h>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

namespace cellsim {
namespace {

struct QuirkName {
    const char* name;
    FirmwareQuirk quirk;
};

constexpr QuirkName kQuirkNames[] = {
    {"creg-with-n", FirmwareQuirk::RegistrationWithN},
    {"padded-stat", FirmwareQuirk::PaddedStatus},
    {"bare-lac", FirmwareQuirk::BareLocation},
    {"cpin-no-ok", FirmwareQuirk::PinWithoutOk},
    {"quoted-cpin", FirmwareQuirk::QuotedPin},
    {"csq-no-space", FirmwareQuirk::SignalWithoutSpace},
    {"cpol-bare-code", FirmwareQuirk::BarePreferredCodes},
    {"vendor-errors", FirmwareQuirk::VendorErrors},
};

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::vector<std::string> split(const std::string& text)
{
    std::vector<std::string> fields;
    std::stringstream stream(text);
    std::string field;
    while (std::getline(stream, field, ','))
        fields.push_back(field);
    return fields;
}

std::string joined(const std::vector<std::string>& fields)
{
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i)
        text += (i > 0 ? "," : "") + fields[i];
    return text;
}

std::string withoutQuotes(std::string field)
{
    field.erase(std::remove(field.begin(), field.end(), '"'), field.end());
    return field;
}

// "+CREG: <stat>[,lac,ci]" or "+CREG: <n>,<stat>[,lac,ci]" (a read answer).
std::string registration(const FirmwareQuirks& quirks, const std::string& prefix, const std::string& body)
{
    std::vector<std::string> fields = split(body);
    bool readForm = fields.size() == 2 || fields.size() == 4;
    if (quirks.has(FirmwareQuirk::RegistrationWithN) && !readForm) {
        fields.insert(fields.begin(), fields.size() > 1 ? "2" : "1");
        readForm = true;
    }
    std::size_t statusAt = readForm ? 1 : 0;
    if (quirks.has(FirmwareQuirk::PaddedStatus) && fields[statusAt].size() < 3)
        fields[statusAt].insert(0, 3 - fields[statusAt].size(), '0');
    if (quirks.has(FirmwareQuirk::BareLocation)) {
        for (std::size_t i = statusAt + 1; i < fields.size(); ++i)
            fields[i] = withoutQuotes(fields[i]);
    }
    return prefix + " " + joined(fields);
}

// "+CPOL: <index>,2,"<code>",..." with the code bare.
std::string preferred(const std::string& body)
{
    std::vector<std::string> fields = split(body);
    if (fields.size() >= 3 && fields[1] == "2")
        fields[2] = withoutQuotes(fields[2]);
    return "+CPOL: " + joined(fields);
}

}  // namespace

std::optional<FirmwareQuirks> parseFirmwareQuirks(const std::string& list)
{
    FirmwareQuirks quirks;
    for (const std::string& name : split(list)) {
        auto known = std::find_if(std::begin(kQuirkNames), std::end(kQuirkNames),
                                  [&](const QuirkName& q) { return name == q.name; });
        if (known == std::end(kQuirkNames))
            return std::nullopt;
        quirks.on.insert(known->quirk);
    }
    return quirks;
}

std::string quirkyLine(const FirmwareQuirks& quirks, const std::string& line)
{
    for (const char* prefix : {"+CREG:", "+CGREG:"}) {
        if (startsWith(line, std::string(prefix) + " ") && line.find('(') == std::string::npos)
            return registration(quirks, prefix, line.substr(std::string(prefix).size() + 1));
    }
    if (quirks.has(FirmwareQuirk::QuotedPin) && startsWith(line, "+CPIN: "))
        return "+CPIN: \"" + line.substr(7) + "\"";
    if (quirks.has(FirmwareQuirk::SignalWithoutSpace) && startsWith(line, "+CSQ: "))
        return "+CSQ:" + line.substr(6);
    if (quirks.has(FirmwareQuirk::BarePreferredCodes) && startsWith(line, "+CPOL: ") &&
        line.find('(') == std::string::npos)
        return preferred(line.substr(7));
    return line;
}

std::optional<std::string> quirkyFinalResult(const FirmwareQuirks& quirks, const std::vector<std::string>& lines,
                                             const std::string& result)
{
    bool pinStatus =
        std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return startsWith(l, "+CPIN:"); });
    if (quirks.has(FirmwareQuirk::PinWithoutOk) && pinStatus && result == "OK")
        return std::nullopt;
    if (quirks.has(FirmwareQuirk::VendorErrors)) {
        if (result == "ERROR")
            return std::string("COMMAND NOT SUPPORT");
        if (startsWith(result, "+CME ERROR: ") && std::isdigit(static_cast<unsigned char>(result[12])))
            return "MODEM ERROR: " + result.substr(12);
    }
    return result;
}

}  // namespace cellsim
