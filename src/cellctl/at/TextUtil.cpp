#include <cellctl/at/TextUtil.h>

#include <algorithm>

namespace cellctl::at {
namespace {

char asciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool sameLetter(char a, char b)
{
    return asciiUpper(a) == asciiUpper(b);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

}  // namespace

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (!sameLetter(text[i], prefix[i]))
            return false;
    }
    return true;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && startsWithIgnoringCase(a, b);
}

std::string trimBlanks(const std::string& text)
{
    return std::string(trimmedView(text));
}

std::string_view trimmedView(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::string afterPrefix(const std::string& line, const std::string& prefix)
{
    std::size_t position = std::min(prefix.size(), line.size());
    while (position < line.size() && isBlank(line[position]))
        ++position;
    return line.substr(position);
}

std::vector<std::string> splitFields(const std::string& text)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (char c : text) {
        if (c == '"')
            quoted = !quoted;
        if (c == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

bool isQuoted(const std::string& field)
{
    std::string trimmed = trimBlanks(field);
    return trimmed.size() >= 2 && trimmed.front() == '"' && trimmed.back() == '"';
}

std::string unquote(const std::string& field)
{
    std::string trimmed = trimBlanks(field);
    return isQuoted(trimmed) ? trimmed.substr(1, trimmed.size() - 2) : trimmed;
}

std::string join(const std::vector<std::string>& parts, const std::string& separator)
{
    std::string joined;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            joined += separator;
        joined += parts[i];
    }
    return joined;
}

bool isDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

std::optional<int> readNumberField(std::string_view field)
{
    std::string_view digits = trimmedView(field);
    if (!isDigits(digits))
        return std::nullopt;
    std::size_t firstSignificant = digits.find_first_not_of('0');
    if (firstSignificant == std::string_view::npos)
        return 0;
    if (digits.size() - firstSignificant > 6)
        return std::nullopt;
    int value = 0;
    for (char c : digits.substr(firstSignificant))
        value = value * 10 + (c - '0');
    return value;
}

}  // namespace cellctl::at
