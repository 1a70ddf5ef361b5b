#include "SimAnswers.h"

#include <iterator>
#include <string_view>
#include <vector>

#include <cellctl/text/Fields.h>
#include <cellctl/text/Numbers.h>

namespace cellctl::cli {
namespace {

// The numbers on the answer's line that begins with `prefix`, up to the first
// field that is no plain number.
std::vector<int> numbersAfter(const std::string& answer, std::string_view prefix)
{
    return text::readNumberList(text::lineAfter(answer, prefix).value_or(""));
}

}  // namespace

SimAttempts readAttempts(const std::string& answer)
{
    std::vector<int> numbers = numbersAfter(answer, "^DRAP:");
    SimAttempts attempts;
    std::optional<int>* fields[] = {&attempts.pin, &attempts.puk, &attempts.pin2, &attempts.puk2};
    for (size_t i = 0; i < numbers.size() && i < std::size(fields); ++i)
        *fields[i] = numbers[i];
    return attempts;
}

std::optional<bool> readPinLock(const std::string& answer)
{
    std::vector<int> numbers = numbersAfter(answer, "+CLCK:");
    if (numbers.empty())
        return std::nullopt;
    return numbers.front() != 0;
}

}  // namespace cellctl::cli
