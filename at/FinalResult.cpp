#include <cellctl/at/FinalResult.h>

#include <algorithm>
#include <iterator>

#include <cellctl/at/TextUtil.h>

namespace cellctl::at {
namespace {

constexpr const char* kWholeLineResults[] = {"OK", "ERROR", "NO CARRIER", "NO DIALTONE", "BUSY", "NO ANSWER"};
constexpr const char* kPrefixedResults[] = {"+CME ERROR:", "+CMS ERROR:"};

}  // namespace

bool isFinalResult(const std::string& line)
{
    std::string trimmed = trimBlanks(line);
    return std::any_of(std::begin(kWholeLineResults), std::end(kWholeLineResults),
                       [&](const char* result) { return trimmed == result; })
        || std::any_of(std::begin(kPrefixedResults), std::end(kPrefixedResults),
                       [&](const char* prefix) { return startsWith(trimmed, prefix); });
}

}  // namespace cellctl::at
