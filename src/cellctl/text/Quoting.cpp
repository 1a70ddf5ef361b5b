#include <cellctl/text/Quoting.h>

#include <cellctl/text/Fields.h>
#include <cellctl/text/Hex.h>

namespace cellctl::text {

std::string inQuotes(std::string_view text)
{
    std::string field;
    field.reserve(text.size() + 2);
    field += '"';
    field += text;
    field += '"';
    return field;
}

bool isQuoted(std::string_view field)
{
    const std::string_view trimmed = trimmedView(field);
    return trimmed.size() >= 2 && trimmed.front() == '"' && trimmed.back() == '"';
}

std::string unquote(std::string_view field)
{
    const std::string_view trimmed = trimmedView(field);
    return std::string(isQuoted(trimmed) ? trimmed.substr(1, trimmed.size() - 2) : trimmed);
}

std::string extractQuoted(std::string_view text, unsigned& pos)
{
    const std::size_t open = text.find('"', pos);
    if (open == std::string_view::npos) {
        pos = static_cast<unsigned>(text.size());
        return std::string();
    }
    std::string value;
    std::size_t i = open + 1;
    while (i < text.size() && text[i] != '"') {
        if (text[i] != '\\') {
            value += text[i++];
            continue;
        }
        if (i + 1 >= text.size()) {  // a trailing backslash is dropped
            ++i;
            break;
        }
        const int high = hexDigitValue(text[i + 1]);
        if (high < 0) {  // not an escape: keep the backslash, read on normally
            value += '\\';
            ++i;
            continue;
        }
        const int low = i + 2 < text.size() ? hexDigitValue(text[i + 2]) : -1;
        if (low < 0) {
            value += static_cast<char>(high);
            i += 2;
        } else {
            value += static_cast<char>(high * 16 + low);
            i += 3;
        }
    }
    if (i < text.size())  // past the closing quote
        ++i;
    pos = static_cast<unsigned>(i);
    return value;
}

std::string escapeForQuotes(std::string_view bytes)
{
    std::string escaped;
    escaped.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\' || byte < 0x20) {
            escaped += '\\';
            appendHexByte(escaped, byte);
        } else {
            escaped += c;
        }
    }
    return escaped;
}

}  // namespace cellctl::text
