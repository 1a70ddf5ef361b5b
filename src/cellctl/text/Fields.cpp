#include <cellctl/text/Fields.h>

#include <algorithm>

#include <cellctl/text/Comparison.h>

namespace cellctl::text {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view withoutLeadingBlanks(std::string_view text)
{
    std::size_t begin = 0;
    while (begin < text.size() && isBlank(text[begin]))
        ++begin;
    return text.substr(begin);
}

}  // namespace

std::string trimBlanks(std::string_view text)
{
    return std::string(trimmedView(text));
}

std::string_view trimmedView(std::string_view text)
{
    text = withoutLeadingBlanks(text);
    std::size_t end = text.size();
    while (end > 0 && isBlank(text[end - 1]))
        --end;
    return text.substr(0, end);
}

std::string afterPrefix(std::string_view line, std::string_view prefix)
{
    return std::string(withoutLeadingBlanks(line.substr(std::min(prefix.size(), line.size()))));
}

std::optional<std::string_view> lineAfter(std::string_view text, std::string_view prefix)
{
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        if (startsWith(line, prefix))
            return withoutLeadingBlanks(line.substr(prefix.size()));
        start = end + 1;
    }
    return std::nullopt;
}

std::vector<std::string> splitFields(std::string_view text)
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

std::string join(const std::vector<std::string>& parts, std::string_view separator)
{
    std::string joined;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            joined += separator;
        joined += parts[i];
    }
    return joined;
}

}  // namespace cellctl::text
