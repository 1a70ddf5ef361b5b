#include <cellctl/at/OperatorNames.h>

namespace cellctl::at {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The value of a hex digit, -1 for any other character. (libcellctl keeps its
// own reader internal, so the channel has this one.)
int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

void appendHexByte(std::string& out, unsigned char byte)
{
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0f];
}

}  // namespace

std::optional<std::string> decodeHexName(const std::string& hex)
{
    if (hex.size() % 2 != 0)
        return std::nullopt;
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        int high = hexValue(hex[i]);
        int low = hexValue(hex[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
    }
    return bytes;
}

std::string encodeHexName(const std::string& bytes)
{
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (char c : bytes)
        appendHexByte(hex, static_cast<unsigned char>(c));
    return hex;
}

std::string escapeForQuotes(const std::string& bytes)
{
    std::string escaped;
    escaped.reserve(bytes.size());
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\' || byte < 0x20) {
            escaped += '\\';
            appendHexByte(escaped, byte);
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string shapeNameField(const std::string& content, bool hexCharacterSet)
{
    if (!hexCharacterSet)
        return content;
    std::optional<std::string> decoded = decodeHexName(content);
    return decoded ? escapeForQuotes(*decoded) : content;
}

}  // namespace cellctl::at
