#include "AccessPointName.h"

#include <cctype>

namespace cellctl::cli {
namespace {

constexpr size_t kMaxNameOctets = 100;
constexpr size_t kMaxLabelOctets = 63;

bool isLabelCharacter(unsigned char c) { return std::isalnum(c) != 0 || c == '-'; }

std::string labelProblem(const std::string& label)
{
    if (label.empty())
        return "it has an empty label (two dots together, or a dot at either end)";
    if (label.size() > kMaxLabelOctets)
        return "it has a label longer than 63 characters";
    for (unsigned char c : label) {
        if (c >= 0x80 || !isLabelCharacter(c))
            return "it has a character other than a letter, digit, hyphen or dot";
    }
    if (label.front() == '-' || label.back() == '-')
        return "it has a label that begins or ends with a hyphen";
    return "";
}

}  // namespace

std::string accessPointNameProblem(const std::string& apn)
{
    std::string problem;
    if (apn.empty())
        problem = "it is empty";
    else if (apn.size() > kMaxNameOctets)
        problem = "it is longer than 100 characters";
    for (size_t start = 0; problem.empty() && start <= apn.size();) {
        size_t dot = apn.find('.', start);
        if (dot == std::string::npos)
            dot = apn.size();
        problem = labelProblem(apn.substr(start, dot - start));
        start = dot + 1;
    }
    if (problem.empty())
        return "";
    return "not an access point name: " + problem +
           " (an APN is labels of letters, digits and hyphens separated by dots, for example cmnet or "
           "internet.example-mobile.com)";
}

}  // namespace cellctl::cli
