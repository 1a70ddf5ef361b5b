#include <cellctl/at/FinalResult.h>

#include <algorithm>
#include <iterator>
#include <string_view>

#include <cellctl/text/Comparison.h>
#include <cellctl/text/Fields.h>
#include <cellctl/text/Quoting.h>

namespace cellctl::at {
namespace {

constexpr std::string_view kWholeLineResults[] = {"OK",   "ERROR",     "NO CARRIER",          "NO DIALTONE",
                                                  "BUSY", "NO ANSWER", "COMMAND NOT SUPPORT", "+CME ERROR"};
constexpr std::string_view kPrefixedResults[] = {"+CME ERROR:", "+CMS ERROR:", "MODEM ERROR:"};
// Ends the answer of a dial command only; elsewhere it is no final result.
constexpr char kConnect[] = "CONNECT";
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

bool isConnect(std::string_view trimmed)
{
    return trimmed == kConnect || text::startsWith(trimmed, "CONNECT ");
}

}  // namespace

bool isFinalResult(const std::string& line, bool dialling)
{
    std::string_view trimmed = text::trimmedView(line);
    return std::any_of(std::begin(kWholeLineResults), std::end(kWholeLineResults),
                       [&](std::string_view result) { return trimmed == result; })
        || std::any_of(std::begin(kPrefixedResults), std::end(kPrefixedResults),
                       [&](std::string_view prefix) { return text::startsWith(trimmed, prefix); })
        || (dialling && isConnect(trimmed));
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
