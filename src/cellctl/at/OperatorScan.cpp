#include <cellctl/at/OperatorScan.h>

#include <algorithm>
#include <cctype>

#include <cellctl/at/OperatorNames.h>
#include <cellctl/text/Comparison.h>
#include <cellctl/text/Fields.h>
#include <cellctl/text/Quoting.h>

namespace cellctl::at {
namespace {

constexpr char kPrefix[] = "+COPS:";

// Where a scan of joined text stands: inside how many parentheses, and
// whether inside a quoted field.
struct Nesting {
    int depth = 0;
    bool quoted = false;

    void follow(const std::string& text)
    {
        for (char c : text) {
            if (c == '"')
                quoted = !quoted;
            else if (!quoted && c == '(')
                ++depth;
            else if (!quoted && c == ')' && depth > 0)
                --depth;
        }
    }
    bool open() const { return depth > 0 || quoted; }
};

std::string bodyOf(const std::string& line)
{
    return text::startsWith(line, kPrefix) ? text::afterPrefix(line, kPrefix) : line;
}

// The information lines as one text, with a comma where one list element ends
// a line and the next begins the following line.
std::string joinLines(const std::vector<std::string>& lines)
{
    std::string joined;
    Nesting nesting;
    for (const std::string& line : lines) {
        std::string body = text::trimBlanks(bodyOf(line));
        if (body.empty())
            continue;
        bool needsComma = !joined.empty() && joined.back() != ',' && body.front() != ',' && !nesting.open();
        if (needsComma)
            joined += ',';
        joined += body;
        nesting.follow(body);
    }
    return joined;
}

std::string nameField(const std::string& field, NameEncoding names)
{
    if (text::isQuoted(field))
        return shapeNameField(text::unquote(field), names);
    std::string bare = text::trimBlanks(field);
    std::string shaped = shapeNameField(bare, names);
    return shaped == bare ? text::escapeForQuotes(bare) : shaped;
}

std::string fieldAt(const std::vector<std::string>& fields, std::size_t index)
{
    return index < fields.size() ? fields[index] : std::string();
}

std::string operatorTuple(const std::vector<std::string>& fields, NameEncoding names)
{
    std::string tuple = "(" + text::trimBlanks(fieldAt(fields, 0));
    tuple += ",\"" + nameField(fieldAt(fields, 1), names) + "\"";
    tuple += ",\"" + nameField(fieldAt(fields, 2), names) + "\"";
    tuple += ",\"" + text::escapeForQuotes(text::unquote(fieldAt(fields, 3))) + "\"";
    if (fields.size() > 4 && !text::trimBlanks(fields[4]).empty())
        tuple += "," + text::trimBlanks(fields[4]);
    return tuple + ")";
}

bool hasQuotedField(const std::vector<std::string>& fields)
{
    for (const std::string& field : fields) {
        if (field.find('"') != std::string::npos)
            return true;
    }
    return false;
}

// Reads a tuple starting at the '(' at `position`; leaves `position` after it.
std::vector<std::string> readTuple(const std::string& text, std::size_t& position)
{
    std::size_t begin = ++position;
    bool quoted = false;
    while (position < text.size() && (quoted || text[position] != ')')) {
        if (text[position] == '"')
            quoted = !quoted;
        ++position;
    }
    std::vector<std::string> fields = text::splitFields(text.substr(begin, position - begin));
    if (position < text.size())
        ++position;
    return fields;
}

// A tuple closed before its access technology: "46000"),2) -> the 2 and its
// stray ')' are taken into the tuple.
void takeStrayAccessTechnology(const std::string& text, std::size_t& position, std::vector<std::string>& fields)
{
    if (fields.size() > 4)
        return;
    std::size_t p = position;
    auto skipBlanks = [&] {
        while (p < text.size() && text[p] == ' ')
            ++p;
    };
    skipBlanks();
    if (p >= text.size() || text[p] != ',')
        return;
    ++p;
    skipBlanks();
    std::size_t digits = p;
    while (p < text.size() && std::isdigit(static_cast<unsigned char>(text[p])))
        ++p;
    if (p == digits)
        return;
    std::string value = text.substr(digits, p - digits);
    skipBlanks();
    if (p >= text.size() || text[p] != ')')
        return;
    fields.resize(std::max<std::size_t>(fields.size(), 4));
    fields.push_back(value);
    position = p + 1;
}

}  // namespace

bool continuesOperatorScan(const std::string& line, const std::string& collectedSoFar)
{
    if (!line.empty() && (line.front() == '(' || line.front() == ','))
        return true;
    Nesting nesting;
    nesting.follow(collectedSoFar);
    return nesting.open();
}

std::string normaliseOperatorScan(const std::vector<std::string>& lines, NameEncoding names)
{
    std::string text = joinLines(lines);
    std::vector<std::string> operators;
    std::vector<std::string> lists;
    std::size_t position = 0;
    while (position < text.size()) {
        if (text[position] != '(') {
            ++position;
            continue;
        }
        std::vector<std::string> fields = readTuple(text, position);
        if (hasQuotedField(fields)) {
            takeStrayAccessTechnology(text, position, fields);
            operators.push_back(operatorTuple(fields, names));
        } else {
            lists.push_back("(" + text::join(fields, ",") + ")");
        }
    }
    std::string normalised = std::string(kPrefix) + " " + text::join(operators, ",");
    if (!lists.empty())
        normalised += ",," + text::join(lists, ",");
    return normalised;
}

}  // namespace cellctl::at
