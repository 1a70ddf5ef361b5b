#include <cellctl/at/TextUtil.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace cellctl::at {
namespace {

bool sameLetter(char a, char b)
{
    return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

}  // namespace

bool startsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

bool startsWithIgnoringCase(const std::string& text, const std::string& prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (!sameLetter(text[i], prefix[i]))
            return false;
    }
    return true;
}

bool equalsIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && startsWithIgnoringCase(a, b);
}

std::string trimBlanks(const std::string& text)
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

bool isDigits(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

std::optional<int> readNumberField(const std::string& field)
{
    std::string digits = trimBlanks(field);
    if (!isDigits(digits))
        return std::nullopt;
    std::size_t firstSignificant = digits.find_first_not_of('0');
    if (firstSignificant == std::string::npos)
        return 0;
    if (digits.size() - firstSignificant > 6)
        return std::nullopt;
    return std::stoi(digits.substr(firstSignificant));
}

}  // namespace cellctl::at
