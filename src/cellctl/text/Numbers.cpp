#include <cellctl/text/Numbers.h>

#include <algorithm>
#include <string>

#include <cellctl/text/Fields.h>

namespace cellctl::text {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// White space as the C library's isspace sees it in the "C" locale.
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

constexpr std::size_t kLongestField = 6;  // digits after the zero padding

}  // namespace

int readLeadingInt(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    return wrapToInt(negative ? 0u - value : value);
}

signed char readSmallNumber(std::string_view text, unsigned& pos)
{
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == ','))
        ++pos;
    std::uint8_t value = 0;
    while (pos < text.size() && isDigit(text[pos])) {
        value = static_cast<std::uint8_t>(value * 10u + static_cast<unsigned>(text[pos] - '0'));
        ++pos;
    }
    return static_cast<signed char>(value <= 127 ? static_cast<int>(value) : static_cast<int>(value) - 256);
}

bool isDigits(std::string_view text) { return !text.empty() && std::all_of(text.begin(), text.end(), isDigit); }

std::optional<int> readNumberField(std::string_view field)
{
    const std::string_view digits = trimmedView(field);
    if (!isDigits(digits))
        return std::nullopt;
    const std::size_t firstSignificant = digits.find_first_not_of('0');
    if (firstSignificant == std::string_view::npos)
        return 0;
    if (digits.size() - firstSignificant > kLongestField)
        return std::nullopt;
    int value = 0;
    for (char c : digits.substr(firstSignificant))
        value = value * 10 + (c - '0');
    return value;
}

std::vector<int> readNumberList(std::string_view fields)
{
    std::vector<int> numbers;
    for (const std::string& field : splitFields(fields)) {
        const std::optional<int> number = readNumberField(field);
        if (!number)
            break;
        numbers.push_back(*number);
    }
    return numbers;
}

}  // namespace cellctl::text
