#include <cellctl/at/AnswerShaping.h>

#include <algorithm>
#include <cctype>

#include <cellctl/at/OperatorNames.h>
#include <cellctl/at/OperatorScan.h>
#include <cellctl/at/TextUtil.h>

namespace cellctl::at {
namespace {

constexpr char kRegistrationPrefix[] = "+CREG:";
constexpr char kPinPrefix[] = "+CPIN:";
constexpr char kCurrentOperatorPrefix[] = "+COPS:";
constexpr char kPreferredOperatorPrefix[] = "+CPOL:";

struct StatusWord {
    const char* device;
    const char* library;
};
// The SIM states whose wording differs between the device and the library.
constexpr StatusWord kPinStatusWords[] = {{"READY", "Ready"}};

bool isDigits(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

std::string asIs(const RawAnswer& answer)
{
    std::vector<std::string> lines = answer.informationLines;
    lines.push_back(answer.finalResult);
    return join(lines, "\n");
}

std::string withFinal(const std::string& information, const RawAnswer& answer)
{
    return information + "\n" + answer.finalResult;
}

const std::string* findLine(const RawAnswer& answer, const char* prefix)
{
    for (const std::string& line : answer.informationLines) {
        if (startsWith(line, prefix))
            return &line;
    }
    return nullptr;
}

std::string registrationStatusFirst(const RawAnswer& answer)
{
    for (const std::string& line : answer.informationLines) {
        if (!startsWith(line, kRegistrationPrefix))
            continue;
        std::vector<std::string> fields = splitFields(afterPrefix(line, kRegistrationPrefix));
        fields.erase(fields.begin());
        return withFinal(join(fields, ","), answer);
    }
    return asIs(answer);
}

std::string pinStatus(const RawAnswer& answer)
{
    const std::string* line = findLine(answer, kPinPrefix);
    if (line == nullptr)
        return asIs(answer);
    std::string value = trimBlanks(afterPrefix(*line, kPinPrefix));
    for (const StatusWord& word : kPinStatusWords) {
        if (value == word.device)
            return word.library;
    }
    return value;
}

// Decodes the name of a "<prefix> a,<format>,"<name>",..." line when its
// format is alphanumeric (0 long, 1 short) and the names travel in HEX.
std::string decodeNameInLine(const std::string& line, const char* prefix, bool hexCharacterSet)
{
    if (!hexCharacterSet || !startsWith(line, prefix))
        return line;
    std::vector<std::string> fields = splitFields(afterPrefix(line, prefix));
    if (fields.size() < 3 || !isQuoted(fields[2]))
        return line;
    std::string format = trimBlanks(fields[1]);
    if (format != "0" && format != "1")
        return line;
    fields[2] = "\"" + shapeNameField(unquote(fields[2]), true) + "\"";
    return std::string(prefix) + " " + join(fields, ",");
}

std::string withNamesDecoded(const RawAnswer& answer, const char* prefix, bool hexCharacterSet)
{
    RawAnswer decoded = answer;
    for (std::string& line : decoded.informationLines)
        line = decodeNameInLine(line, prefix, hexCharacterSet);
    return asIs(decoded);
}

std::string operatorScan(const RawAnswer& answer, bool hexCharacterSet)
{
    if (answer.informationLines.empty())
        return asIs(answer);
    return withFinal(normaliseOperatorScan(answer.informationLines, hexCharacterSet), answer);
}

std::string attachState(const std::string& requestText, const RawAnswer& answer)
{
    return answer.finalResult == "OK" ? withFinal(requestText, answer) : asIs(answer);
}

std::string characterSetChoice(const std::string& requestText, const RawAnswer& answer, SessionState& session)
{
    if (answer.finalResult == "OK")
        session.hexCharacterSet = equalsIgnoringCase(unquote(requestText), "HEX");
    return asIs(answer);
}

std::optional<std::string> bareInteger(const std::string& body)
{
    std::string first = trimBlanks(splitFields(body).front());
    std::string digits = !first.empty() && (first[0] == '-' || first[0] == '+') ? first.substr(1) : first;
    if (!isDigits(digits))
        return std::nullopt;
    return first;
}

}  // namespace

bool isRegistrationReadForm(const std::string& body)
{
    std::vector<std::string> fields = splitFields(body);
    if (fields.size() < 2 || fields.size() == 3)
        return false;
    std::string status = trimBlanks(fields[1]);
    return isDigits(status) && status.size() <= 2;
}

std::string shapeAnswer(Shaping shaping, const std::string& requestText, const RawAnswer& answer,
                        SessionState& session)
{
    switch (shaping) {
    case Shaping::AsIs:
        return asIs(answer);
    case Shaping::RegistrationRead:
        return registrationStatusFirst(answer);
    case Shaping::PinStatus:
        return pinStatus(answer);
    case Shaping::CurrentOperator:
        return withNamesDecoded(answer, kCurrentOperatorPrefix, session.hexCharacterSet);
    case Shaping::OperatorScan:
        return operatorScan(answer, session.hexCharacterSet);
    case Shaping::PreferredOperators:
        return withNamesDecoded(answer, kPreferredOperatorPrefix, session.hexCharacterSet);
    case Shaping::AttachState:
        return attachState(requestText, answer);
    case Shaping::CharacterSetChoice:
        return characterSetChoice(requestText, answer, session);
    }
    return asIs(answer);
}

std::optional<std::string> shapeReport(const DialectEntry& entry, const std::string& line)
{
    std::string body = afterPrefix(line, entry.reportPrefix);
    switch (entry.reportShaping) {
    case ReportShaping::Registration:
        if (isRegistrationReadForm(body))
            return std::nullopt;
        return body;
    case ReportShaping::BareInteger:
        return bareInteger(body);
    case ReportShaping::AsIs:
        return line;
    case ReportShaping::None:
        break;
    }
    return std::nullopt;
}

}  // namespace cellctl::at
