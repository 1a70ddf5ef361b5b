#include <cellctl/at/OperatorNames.h>

#include <cellctl/text/Comparison.h>
#include <cellctl/text/Hex.h>
#include <cellctl/text/Quoting.h>

namespace cellctl::at {
namespace {

void appendCodeUnit(std::string& out, unsigned unit)
{
    text::appendHexByte(out, static_cast<unsigned char>(unit >> 8));
    text::appendHexByte(out, static_cast<unsigned char>(unit & 0xff));
}

void appendUtf8(std::string& out, unsigned codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

bool isHighSurrogate(unsigned unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool isLowSurrogate(unsigned unit) { return unit >= 0xDC00 && unit < 0xE000; }
constexpr unsigned kReplacement = 0xFFFD;

// The code point of the UTF-8 sequence at `i` (advanced past it); a byte that
// starts no valid sequence is taken alone as a Latin-1 character.
unsigned nextCodePoint(const std::string& text, std::size_t& i)
{
    auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    unsigned lead = byte(i);
    std::size_t length = lead < 0x80           ? 1
                         : (lead >> 5) == 0x6  ? 2
                         : (lead >> 4) == 0xE  ? 3
                         : (lead >> 3) == 0x1E ? 4
                                               : 0;
    bool valid = length > 0 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k)
        valid = (byte(i + k) & 0xC0) == 0x80;
    if (!valid || length == 1) {
        ++i;
        return lead;
    }
    unsigned codePoint = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k)
        codePoint = (codePoint << 6) | (byte(i + k) & 0x3F);
    i += length;
    return codePoint;
}

}  // namespace

NameEncoding nameEncodingOf(const std::string& characterSet)
{
    if (text::equalsIgnoringCase(characterSet, "HEX"))
        return NameEncoding::Hex;
    if (text::equalsIgnoringCase(characterSet, "UCS2"))
        return NameEncoding::Ucs2;
    return NameEncoding::Plain;
}

std::optional<std::string> decodeUcs2Name(const std::string& hex)
{
    if (hex.size() % 4 != 0)
        return std::nullopt;
    std::optional<std::string> bytes = text::hexDecode(hex);
    if (!bytes)
        return std::nullopt;
    std::string utf8;
    for (std::size_t i = 0; i < bytes->size(); i += 2) {
        unsigned unit = static_cast<unsigned char>((*bytes)[i]) << 8 | static_cast<unsigned char>((*bytes)[i + 1]);
        if (isHighSurrogate(unit) && i + 3 < bytes->size()) {
            unsigned next =
                static_cast<unsigned char>((*bytes)[i + 2]) << 8 | static_cast<unsigned char>((*bytes)[i + 3]);
            if (isLowSurrogate(next)) {
                appendUtf8(utf8, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(utf8, isHighSurrogate(unit) || isLowSurrogate(unit) ? kReplacement : unit);
    }
    return utf8;
}

std::string encodeUcs2Name(const std::string& utf8)
{
    std::string hex;
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned codePoint = nextCodePoint(utf8, i);
        if (codePoint >= 0x10000) {
            codePoint -= 0x10000;
            appendCodeUnit(hex, 0xD800 + (codePoint >> 10));
            appendCodeUnit(hex, 0xDC00 + (codePoint & 0x3FF));
        } else {
            appendCodeUnit(hex, codePoint);
        }
    }
    return hex;
}

std::string encodeName(const std::string& name, NameEncoding encoding)
{
    switch (encoding) {
    case NameEncoding::Hex:
        return text::hexEncode(name);
    case NameEncoding::Ucs2:
        return encodeUcs2Name(name);
    case NameEncoding::Plain:
        break;
    }
    return name;
}

std::string shapeNameField(const std::string& content, NameEncoding encoding)
{
    std::optional<std::string> decoded;
    if (encoding == NameEncoding::Hex)
        decoded = text::hexDecode(content);
    else if (encoding == NameEncoding::Ucs2)
        decoded = decodeUcs2Name(content);
    return decoded ? text::escapeForQuotes(*decoded) : content;
}

}  // namespace cellctl::at
