#include "SimAnswers.h"

#include <cctype>
#include <vector>

namespace cellctl::cli {
namespace {

// The comma-separated numbers after `prefix` on the first line that starts
// with it. Reading stops at the first field that is not a plain number.
std::vector<int> numbersAfter(const std::string& answer, const std::string& prefix)
{
    std::vector<int> numbers;
    size_t lineStart = 0;
    while (lineStart <= answer.size()) {
        size_t lineEnd = answer.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = answer.size();
        if (answer.compare(lineStart, prefix.size(), prefix) == 0) {
            size_t pos = lineStart + prefix.size();
            for (;;) {
                while (pos < lineEnd && answer[pos] == ' ')
                    ++pos;
                long value = 0;
                size_t digits = 0;
                while (pos < lineEnd && std::isdigit(static_cast<unsigned char>(answer[pos])) && digits < 6) {
                    value = value * 10 + (answer[pos] - '0');
                    ++pos;
                    ++digits;
                }
                if (digits == 0)
                    break;
                numbers.push_back(static_cast<int>(value));
                while (pos < lineEnd && answer[pos] == ' ')
                    ++pos;
                if (pos >= lineEnd || answer[pos] != ',')
                    break;
                ++pos;
            }
            return numbers;
        }
        lineStart = lineEnd + 1;
    }
    return numbers;
}

}  // namespace

SimAttempts readAttempts(const std::string& answer)
{
    std::vector<int> numbers = numbersAfter(answer, "^DRAP:");
    SimAttempts attempts;
    std::optional<int>* fields[] = {&attempts.pin, &attempts.puk, &attempts.pin2, &attempts.puk2};
    for (size_t i = 0; i < numbers.size() && i < 4; ++i)
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
