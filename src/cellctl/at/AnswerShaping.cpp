#include <cellctl/at/AnswerShaping.h>

#include <charconv>
#include <iterator>
#include <string_view>

#include <cellctl/at/OperatorNames.h>
#include <cellctl/at/OperatorScan.h>
#include <cellctl/at/RegistrationLine.h>
#include <cellctl/text/Comparison.h>
#include <cellctl/text/Fields.h>
#include <cellctl/text/Numbers.h>
#include <cellctl/text/Quoting.h>

namespace cellctl::at {
namespace {

constexpr char kRegistrationPrefix[] = "+CREG:";
constexpr char kSignalPrefix[] = "+CSQ:";
constexpr char kPinPrefix[] = "+CPIN:";
constexpr char kCurrentOperatorPrefix[] = "+COPS:";
constexpr char kPreferredOperatorPrefix[] = "+CPOL:";
constexpr char kFunctionalityPrefix[] = "+CFUN:";

// <ber> when the device leaves it out: "not known" (3GPP TS 27.007 +CSQ).
constexpr int kUnknownBitErrorRate = 99;
// <fun> of full functionality; every other level leaves the radio not on.
constexpr int kFullFunctionality = 1;
constexpr int kNumericFormat = 2;

struct StatusWord {
    const char* device;
    const char* library;
};
// The SIM states the library compares, by the device's word (any case).
constexpr StatusWord kPinStatusWords[] = {{"READY", "Ready"}, {"SIM PIN", "SIM PIN"}, {"SIM PUK", "SIM PUK"}};

std::string asIs(const RawAnswer& answer)
{
    std::vector<std::string> lines = answer.informationLines;
    if (!answer.finalResult.empty())
        lines.push_back(answer.finalResult);
    return text::join(lines, "\n");
}

std::string withFinal(const std::string& information, const RawAnswer& answer)
{
    return answer.finalResult.empty() ? information : information + "\n" + answer.finalResult;
}

const std::string* findLine(const RawAnswer& answer, const char* prefix)
{
    for (const std::string& line : answer.informationLines) {
        if (text::startsWith(line, prefix))
            return &line;
    }
    return nullptr;
}

// The first field after the prefix as a number, whatever its padding.
std::optional<int> leadingNumber(const std::string& line, const char* prefix)
{
    return text::readNumberField(text::splitFields(text::afterPrefix(line, prefix)).front());
}

// The last status line read, so a report that came in during the query does
// not hide a newer answer.
std::optional<std::string> registrationRead(const RawAnswer& answer)
{
    std::optional<std::string> status;
    for (const std::string& line : answer.informationLines) {
        if (!text::startsWith(line, kRegistrationPrefix))
            continue;
        if (std::optional<std::string> read = registrationStatus(text::afterPrefix(line, kRegistrationPrefix)))
            status = read;
    }
    if (!status)
        return std::nullopt;
    return withFinal(*status, answer);
}

void appendNumber(std::string& text, int value)
{
    char digits[16];
    std::to_chars_result written = std::to_chars(std::begin(digits), std::end(digits), value);
    text.append(digits, written.ptr);
}

// The library reads <rssi> at a fixed place, so the line gets the standard
// "+CSQ: " spacing. Read in place: the answer text is the one string made.
std::optional<std::string> signalQuality(const RawAnswer& answer)
{
    const std::string* line = findLine(answer, kSignalPrefix);
    if (line == nullptr)
        return std::nullopt;
    std::string_view fields = std::string_view(*line).substr(sizeof kSignalPrefix - 1);
    std::size_t comma = fields.find(',');
    std::optional<int> rssi = text::readNumberField(fields.substr(0, comma));
    if (!rssi)
        return std::nullopt;
    std::optional<int> ber =
        comma != std::string_view::npos
            ? text::readNumberField(fields.substr(comma + 1, fields.find(',', comma + 1) - comma - 1))
            : std::nullopt;
    std::string text = kSignalPrefix;
    text += ' ';
    appendNumber(text, *rssi);
    text += ',';
    appendNumber(text, ber.value_or(kUnknownBitErrorRate));
    if (!answer.finalResult.empty())
        text.append(1, '\n').append(answer.finalResult);
    return text;
}

std::string pinStatus(const RawAnswer& answer)
{
    const std::string* line = findLine(answer, kPinPrefix);
    if (line == nullptr)
        return asIs(answer);
    std::string value = text::unquote(text::afterPrefix(*line, kPinPrefix));
    for (const StatusWord& word : kPinStatusWords) {
        if (text::equalsIgnoringCase(value, word.device))
            return word.library;
    }
    return value;
}

std::string phoneFunctionality(const RawAnswer& answer)
{
    const std::string* line = findLine(answer, kFunctionalityPrefix);
    std::optional<int> level = line != nullptr ? leadingNumber(*line, kFunctionalityPrefix) : std::nullopt;
    if (!level)
        return asIs(answer);
    return withFinal(std::string(kFunctionalityPrefix) + " " + (*level == kFullFunctionality ? "1" : "0"), answer);
}

// Decodes the name of a "<prefix> a,<format>,"<name>",..." line when its
// format is alphanumeric (0 long, 1 short) and the names travel encoded.
std::string decodeNameInLine(const std::string& line, const char* prefix, NameEncoding names)
{
    if (names == NameEncoding::Plain || !text::startsWith(line, prefix))
        return line;
    std::vector<std::string> fields = text::splitFields(text::afterPrefix(line, prefix));
    if (fields.size() < 3 || !text::isQuoted(fields[2]))
        return line;
    std::string format = text::trimBlanks(fields[1]);
    if (format != "0" && format != "1")
        return line;
    fields[2] = "\"" + shapeNameField(text::unquote(fields[2]), names) + "\"";
    return std::string(prefix) + " " + text::join(fields, ",");
}

std::string currentOperator(const RawAnswer& answer, NameEncoding names)
{
    RawAnswer decoded = answer;
    for (std::string& line : decoded.informationLines)
        line = decodeNameInLine(line, kCurrentOperatorPrefix, names);
    return asIs(decoded);
}

// A numeric operator code: digits, plain or (some firmware under UCS2) encoded.
std::optional<std::string> numericOperator(const std::string& content, NameEncoding names)
{
    if (text::isDigits(content))
        return content;
    std::optional<std::string> decoded = names == NameEncoding::Ucs2 ? decodeUcs2Name(content) : std::nullopt;
    return decoded && text::isDigits(*decoded) ? decoded : std::nullopt;
}

// "+CPOL: <index>,<format>,"<oper>"[,<gsm>,<gsm_compact>,<utran>]" with the
// operator quoted (numeric codes often come bare) and its name decoded.
// nullopt for a line the list reader would misread: no index, no format 0 to
// 2, no operator, or a numeric operator that is not digits.
std::optional<std::string> preferredOperatorLine(const std::string& line, NameEncoding names)
{
    std::vector<std::string> fields = text::splitFields(text::afterPrefix(line, kPreferredOperatorPrefix));
    if (fields.size() < 3)
        return std::nullopt;
    std::optional<int> index = text::readNumberField(fields[0]);
    std::optional<int> format = text::readNumberField(fields[1]);
    if (!index || !format || *format > kNumericFormat)
        return std::nullopt;
    std::string content = text::unquote(fields[2]);
    std::optional<std::string> oper =
        *format == kNumericFormat ? numericOperator(content, names) : shapeNameField(content, names);
    if (!oper || oper->empty() || oper->find('"') != std::string::npos)
        return std::nullopt;
    fields[0] = std::to_string(*index);
    fields[1] = std::to_string(*format);
    fields[2] = "\"" + *oper + "\"";
    for (std::size_t i = 3; i < fields.size(); ++i)
        fields[i] = text::trimBlanks(fields[i]);
    return std::string(kPreferredOperatorPrefix) + " " + text::join(fields, ",");
}

std::string preferredOperators(const RawAnswer& answer, NameEncoding names)
{
    RawAnswer shaped;
    shaped.finalResult = answer.finalResult;
    for (const std::string& line : answer.informationLines) {
        if (!text::startsWith(line, kPreferredOperatorPrefix))
            shaped.informationLines.push_back(line);
        else if (std::optional<std::string> entry = preferredOperatorLine(line, names))
            shaped.informationLines.push_back(*entry);
    }
    return asIs(shaped);
}

std::string operatorScan(const RawAnswer& answer, NameEncoding names)
{
    if (answer.informationLines.empty())
        return asIs(answer);
    return withFinal(normaliseOperatorScan(answer.informationLines, names), answer);
}

std::string attachState(const std::string& requestText, const RawAnswer& answer)
{
    return answer.finalResult == "OK" ? withFinal(requestText, answer) : asIs(answer);
}

std::string characterSetChoice(const std::string& requestText, const RawAnswer& answer, SessionState& session)
{
    if (answer.finalResult == "OK")
        session.names = nameEncodingOf(text::unquote(requestText));
    return asIs(answer);
}

std::optional<std::string> bareInteger(const std::string& body)
{
    std::string first = text::trimBlanks(text::splitFields(body).front());
    std::string digits = !first.empty() && (first[0] == '-' || first[0] == '+') ? first.substr(1) : first;
    if (!text::isDigits(digits))
        return std::nullopt;
    return first;
}

}  // namespace

std::optional<std::string> shapeAnswer(Shaping shaping, const std::string& requestText, const RawAnswer& answer,
                                       SessionState& session)
{
    switch (shaping) {
    case Shaping::AsIs:
        return asIs(answer);
    case Shaping::RegistrationRead:
        return registrationRead(answer);
    case Shaping::SignalQuality:
        return signalQuality(answer);
    case Shaping::PinStatus:
        return pinStatus(answer);
    case Shaping::CurrentOperator:
        return currentOperator(answer, session.names);
    case Shaping::OperatorScan:
        return operatorScan(answer, session.names);
    case Shaping::PreferredOperators:
        return preferredOperators(answer, session.names);
    case Shaping::PhoneFunctionality:
        return phoneFunctionality(answer);
    case Shaping::AttachState:
        return attachState(requestText, answer);
    case Shaping::CharacterSetChoice:
        return characterSetChoice(requestText, answer, session);
    }
    return asIs(answer);
}

std::optional<std::string> shapeReport(const DialectEntry& entry, const std::string& line)
{
    std::string body = text::afterPrefix(line, entry.reportPrefix);
    switch (entry.reportShaping) {
    case ReportShaping::Registration:
        return registrationStatus(body);
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
