#include <cellctl/at/FinalResult.h>

#include <optional>

#include <cellctl/at/ResultCodes.h>
#include <cellctl/text/Comparison.h>
#include <cellctl/text/Fields.h>
#include <cellctl/text/Quoting.h>

namespace cellctl::at {
namespace {

constexpr char kCmeError[] = "+CME ERROR:";

struct CmeText {
    int code;
    const char* text;  // compared without regard to case
};
// The verbose +CME ERROR texts of 3GPP TS 27.007 (AT+CMEE=2) that the library
// tells apart by number.
constexpr CmeText kCmeTexts[] = {
    {0, "phone failure"},
    {3, "operation not allowed"},
    {4, "operation not supported"},
    {10, "SIM not inserted"},
    {11, "SIM PIN required"},
    {12, "SIM PUK required"},
    {13, "SIM failure"},
    {14, "SIM busy"},
    {15, "SIM wrong"},
    {16, "incorrect password"},
    {17, "SIM PIN2 required"},
    {18, "SIM PUK2 required"},
    {30, "no network service"},
    {31, "network timeout"},
    {32, "network not allowed - emergency calls only"},
    {50, "incorrect parameters"},
    {100, "unknown"},
};

}  // namespace

bool isFinalResult(const std::string& line, bool dialling)
{
    std::optional<ResultCode> code = resultCodeOf(text::trimmedView(line));
    // CONNECT ends the answer of a dial command only; elsewhere it is no final result.
    return code && (*code != ResultCode::Connect || dialling);
}

std::string normaliseFinalResult(const std::string& line)
{
    std::string trimmed = text::trimBlanks(line);
    if (!text::startsWith(trimmed, kCmeError))
        return trimmed;
    std::string text = text::unquote(text::afterPrefix(trimmed, kCmeError));
    for (const CmeText& known : kCmeTexts) {
        if (text::equalsIgnoringCase(text, known.text))
            return std::string(kCmeError) + " " + std::to_string(known.code);
    }
    return trimmed;
}

}  // namespace cellctl::at
