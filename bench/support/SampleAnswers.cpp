#include "SampleAnswers.h"

#include <cstddef>
#include <iterator>

namespace bench {

namespace {

struct Operator {
    const char* longName;  // GBK bytes
    const char* shortName;
    const char* numeric;
};

const Operator kOperators[] = {
    {"\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF", "CMCC", "46000"}, {"\xD6\xD0\xB9\xFA\xC1\xAA\xCD\xA8", "CUCC", "46001"},
    {"\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF", "CMCC", "46002"}, {"\xD6\xD0\xB9\xFA\xB5\xE7\xD0\xC5", "CTC", "46005"},
    {"\xD6\xD0\xB9\xFA\xCD\xF8\xCD\xA8", "CNC", "46006"},  {"\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF", "CMCC", "46007"},
};
constexpr std::size_t kOperatorCount = std::size(kOperators);

std::string quoted(const char* text) { return std::string("\"") + text + "\""; }

}  // namespace

const char kSignalAnswer[] = "+CSQ: 23,99\nOK";
const char kRegistrationReport[] = "1,\"00A1\",\"1B2C\"";
const char kCurrentOperatorAnswer[] = "+COPS: 0,0,\"\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF\",2\nOK";
const char kModeAnswer[] = "^DSTM: 0,2,2\nOK";
const char kRevisionAnswer[] = "CELLSIM TD-HSDPA V1.0.0\nOK";

std::string availableOperatorsAnswer(int count)
{
    std::string answer = "+COPS: ";
    for (int i = 0; i < count; ++i) {
        const Operator& op = kOperators[i % kOperatorCount];
        const int state = i == 0 ? 2 : (i % 4 == 3 ? 3 : 1);  // current, available, forbidden
        const int accessTech = i % 2 == 0 ? 2 : 0;
        answer += "(" + std::to_string(state) + "," + quoted(op.longName) + "," + quoted(op.shortName) + "," +
                  quoted(op.numeric) + "," + std::to_string(accessTech) + "),";
    }
    answer += ",(0,1,2,3,4),(0,1,2)\nOK";
    return answer;
}

std::string preferredListAnswer(int count)
{
    std::string answer;
    for (int i = 0; i < count; ++i) {
        const Operator& op = kOperators[i % kOperatorCount];
        const bool numeric = i % 2 == 1;
        answer += "+CPOL: " + std::to_string(i + 1) + (numeric ? ",2," : ",0,") +
                  quoted(numeric ? op.numeric : op.longName) + (i % 3 == 0 ? ",1,0,1\n" : ",1,0,0\n");
    }
    answer += "OK";
    return answer;
}

}  // namespace bench
