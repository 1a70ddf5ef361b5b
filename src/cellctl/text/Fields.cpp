#include <cellctl/text/Fields.h>

#include <algorithm>

#include <cellctl/text/Comparison.h>

namespace cellctl::text {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view withoutLeadingBlanks(std::string_view text)
{
    std::size_t begin = 0;
    while (begin < text.size() && isBlank(text[begin]))
        ++begin;
    return text.substr(begin);
}

// Calls `visit` with each line of `text` ("\n" ends a line) until it returns true.
template <typename Visit>
void visitLines(std::string_view text, Visit visit)
{
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (visit(text.substr(start, end - start)))
            return;
        start = end + 1;
    }
}

}  // namespace

std::string trimBlanks(std::string_view text) { return std::string(trimmedView(text)); }

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
    std::optional<std::string_view> rest;
    visitLines(text, [&](std::string_view line) {
        if (startsWith(line, prefix))
            rest = withoutLeadingBlanks(line.substr(prefix.size()));
        return rest.has_value();
    });
    return rest;
}

std::size_t countLinesStartingWith(std::string_view text, std::string_view prefix)
{
    std::size_t count = 0;
    visitLines(text, [&](std::string_view line) {
        count += startsWith(line, prefix) ? 1 : 0;
        return false;
    });
    return count;
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
