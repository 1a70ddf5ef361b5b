// Fuzzes every entry point of the answer reader on arbitrary text: both
// AtResponseParser constructors followed by an arbitrary sequence of line
// searches and field reads, and the text kit's readers it builds on at
// arbitrary cursor positions (past the end included). Besides the sanitizers, each call is
// checked against what its contract promises.
//
// Input: the answer text, then (taken from the end) the control values. A
// plain device answer is therefore a valid input, which is what the seeds are.

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include <cellctl/framework/AtResponseParser.h>
#include <cellctl/text/Hex.h>
#include <cellctl/text/Numbers.h>
#include <cellctl/text/Quoting.h>

namespace {

using cellctl::AtResponse;
using cellctl::AtResponseParser;
using cellctl::text::extractQuoted;
using cellctl::text::hexDigitValue;
using cellctl::text::readLeadingInt;
using cellctl::text::readSmallNumber;

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// An arbitrary cursor: usually inside the text or just past it, sometimes any
// 32-bit value.
unsigned pickCursor(FuzzedDataProvider& in, const std::string& text)
{
    const std::uint32_t raw = in.ConsumeIntegral<std::uint32_t>();
    if (raw & 1u)
        return raw;
    return static_cast<unsigned>((raw >> 1) % (text.size() + 2));
}

void checkHexDigitValue(const std::string& text)
{
    for (char c : text) {
        int expected = -1;
        if (c >= '0' && c <= '9')
            expected = c - '0';
        else if (c >= 'a' && c <= 'f')
            expected = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            expected = c - 'A' + 10;
        require(hexDigitValue(c) == expected);
    }
}

void checkExtractQuoted(const std::string& text, unsigned start)
{
    unsigned pos = start;
    const std::string value = extractQuoted(text, pos);
    require(pos <= text.size());
    if (start >= text.size() || text.find('"', start) == std::string::npos) {
        require(value.empty());
        require(pos == text.size());
        return;
    }
    // Escapes only ever shorten the field.
    require(pos > start);
    require(value.size() <= pos - start);
}

void checkReadSmallNumber(const std::string& text, unsigned start)
{
    unsigned pos = start;
    const int value = readSmallNumber(text, pos);
    require(value >= -128 && value <= 127);
    require(pos >= start);
    if (start < text.size())
        require(pos <= text.size());
    else
        require(pos == start);
}

// readLeadingInt must agree with the C library wherever the number fits an int.
void checkReadLeadingInt(const std::string& text)
{
    const int value = readLeadingInt(text);
    errno = 0;
    const long long expected = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == 0 && expected >= INT_MIN && expected <= INT_MAX)
        require(value == static_cast<int>(expected));
}

// Walks a parser through an arbitrary sequence of operations.
void driveParser(AtResponseParser& parser, FuzzedDataProvider& in, const std::string& text)
{
    const int steps = in.ConsumeIntegralInRange<int>(0, 24);
    for (int i = 0; i < steps; ++i) {
        switch (in.ConsumeIntegralInRange<int>(0, 4)) {
        case 0: {
            // A prefix cut from the text itself, so that it often matches.
            const unsigned from = pickCursor(in, text);
            const std::size_t length = in.ConsumeIntegralInRange<std::size_t>(0, 12);
            const std::string prefix = from < text.size() ? text.substr(from, length) : std::string();
            const bool found = parser.findLine(prefix);
            const std::string line = parser.currentLine();
            require(line.find('\n') == std::string::npos);
            if (found)
                require(line.empty() || line[0] != ' ');
            break;
        }
        case 1:
            parser.readInt();
            break;
        case 2: {
            const int digit = parser.readDigit();
            require(digit >= 0 && digit <= 9);
            break;
        }
        case 3:
            parser.readQuoted();
            break;
        case 4:
            require(parser.currentLine().find('\n') == std::string::npos);
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string text(reinterpret_cast<const char*>(data), size);

    checkHexDigitValue(text);
    checkReadLeadingInt(text);
    checkExtractQuoted(text, pickCursor(in, text));
    checkReadSmallNumber(text, pickCursor(in, text));

    AtResponseParser byText(text);
    driveParser(byText, in, text);

    AtResponse response;
    response.text = text;
    AtResponseParser byResponse(response);
    driveParser(byResponse, in, text);
    return 0;
}
