#include <cellctl/at/CommandLine.h>

#include <cctype>

#include <cellctl/at/OperatorNames.h>
#include <cellctl/at/OperatorScan.h>
#include <cellctl/at/ParameterSafety.h>
#include <cellctl/text/Comparison.h>
#include <cellctl/text/Fields.h>
#include <cellctl/text/Quoting.h>

namespace cellctl::at {
namespace {

bool isWholeLine(const std::string& text) { return text::startsWithIgnoringCase(text, "AT"); }

// "AT+CPIN=" with "puk,newpin" -> AT+CPIN="puk","newpin".
std::string pukAndNewPin(const std::string& head, const std::string& text)
{
    std::size_t comma = text.find(',');
    if (comma == std::string::npos)
        return head + text::inQuotes(text);
    return head + text::inQuotes(text.substr(0, comma)) + "," + text::inQuotes(text.substr(comma + 1));
}

// "mode,format,"name"": under HEX or UCS2 a long or short name goes encoded.
std::string operatorSelection(const std::string& text, const SessionState& session)
{
    std::vector<std::string> fields = text::splitFields(text);
    if (session.names == NameEncoding::Plain || fields.size() < 3 || !text::isQuoted(fields[2]))
        return text;
    std::string format = text::trimBlanks(fields[1]);
    if (format != "0" && format != "1")
        return text;
    fields[2] = text::inQuotes(encodeName(text::unquote(fields[2]), session.names));
    return text::join(fields, ",");
}

// The prefix of the information lines a whole command line is answered with:
// "AT+CPMS=..." -> "+CPMS:". Basic commands ("ATE0") take none.
std::string responsePrefixOfLine(const std::string& line)
{
    if (line.size() < 3 || (line[2] != '+' && line[2] != '^'))
        return std::string();
    std::size_t end = line.find_first_of("=?;", 2);
    std::string name = line.substr(2, end == std::string::npos ? std::string::npos : end - 2);
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name + ":";
}

struct Built {
    std::string line;
    std::string refusal;
};

Built buildLine(const CommandForm& form, const Request& request, const SessionState& session)
{
    const std::string& text = request.text;
    if (form.form == LineForm::Unavailable)
        return {std::string(), "the code has no such command"};
    if (form.form == LineForm::Fixed)
        return {form.command, std::string()};

    std::string forbidden = forbiddenCharacterIn(text);
    if (!forbidden.empty())
        return {std::string(), "the parameter text holds " + forbidden};

    std::string head = form.command != nullptr ? form.command : "";
    Built built;
    switch (form.form) {
    case LineForm::Argument:
        built.line = head + text;
        break;
    case LineForm::OperatorSelection:
        built.line = head + operatorSelection(text, session);
        break;
    case LineForm::WholeLine:
        if (!isWholeLine(text))
            return {std::string(), "the parameter text is no command line"};
        return {text, std::string()};
    case LineForm::WholeLineOrArgument:
        if (isWholeLine(text))
            return {text, std::string()};
        built.line = head + text;
        break;
    case LineForm::QuotedPin:
    case LineForm::PukAndNewPin:
        if (text.find('"') != std::string::npos)
            return {std::string(), "the parameter text holds a double quote"};
        built.line = text.find(',') != std::string::npos || form.form == LineForm::PukAndNewPin
                         ? pukAndNewPin(head, text)
                         : head + text::inQuotes(text);
        break;
    case LineForm::Unavailable:
    case LineForm::Fixed:
        break;
    }
    if (chainsAnotherCommand(built.line))
        return {std::string(), "the parameter text appends another command"};
    return built;
}

bool isWholeLineForm(const CommandForm& form, const Request& request)
{
    return form.form == LineForm::WholeLine ||
           (form.form == LineForm::WholeLineOrArgument && isWholeLine(request.text));
}

PreparedCommand probe(const std::string& line)
{
    PreparedCommand prepared;
    prepared.line = line;
    prepared.timeout = probeTimeout();
    return prepared;
}

}  // namespace

bool PreparedCommand::dials() const { return text::startsWithIgnoringCase(line, "ATD"); }

bool PreparedCommand::ownsByPrefix(const std::string& line) const
{
    return takesInformationLines && !takesUnprefixedLines && text::startsWith(line, responsePrefix.c_str());
}

bool PreparedCommand::takesUnprefixedLine(const std::string& line, const std::vector<std::string>& collectedSoFar) const
{
    if (line.empty() || !takesInformationLines)
        return false;
    if (shaping == Shaping::OperatorScan)
        return !collectedSoFar.empty() && continuesOperatorScan(line, text::join(collectedSoFar, ""));
    return takesUnprefixedLines && line.front() != '+' && line.front() != '^' && !isIgnoredUnsolicited(line);
}

PreparedCommand prepareCommand(const Request& request, const SessionState& session)
{
    if (request.kind == RequestKind::Probe)
        return probe(request.text);

    PreparedCommand prepared;
    const DialectEntry* entry = findEntry(request.code);
    if (entry == nullptr) {
        prepared.refusal = "the code is not in the dialect";
        return prepared;
    }
    const CommandForm& form = request.kind == RequestKind::Query ? entry->query : entry->modify;
    Built built = buildLine(form, request, session);
    if (!built.refusal.empty()) {
        prepared.refusal = built.refusal;
        return prepared;
    }
    prepared.line = built.line;
    prepared.shaping = form.shaping;
    const bool wholeLine = isWholeLineForm(form, request);
    const CommandForm& timing = wholeLine ? formOfWholeLine(prepared.line) : form;
    prepared.timeout = timing.timeout;
    prepared.finalGrace = timing.finalGrace;
    if (wholeLine) {
        prepared.responsePrefix = responsePrefixOfLine(prepared.line);
        prepared.takesInformationLines = !prepared.responsePrefix.empty();
    } else if (form.responsePrefix != nullptr) {
        prepared.responsePrefix = form.responsePrefix;
        prepared.takesInformationLines = true;
        prepared.takesUnprefixedLines = prepared.responsePrefix.empty();
    }
    return prepared;
}

}  // namespace cellctl::at
