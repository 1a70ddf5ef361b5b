#include "DialResult.h"

#include <iterator>

namespace cellctl::cli {
namespace {

struct ResultWord {
    const char* head;
    bool wholeLine;  // the line is exactly this; otherwise it starts with it
    DialOutcome outcome;
};

const ResultWord kResults[] = {
    {"CONNECT", false, DialOutcome::Connected},
    {"NO CARRIER", true, DialOutcome::NoCarrier},
    {"BUSY", true, DialOutcome::Busy},
    {"NO ANSWER", true, DialOutcome::NoAnswer},
    {"NO DIALTONE", true, DialOutcome::NoDialtone},
    {"NO DIAL TONE", true, DialOutcome::NoDialtone},
    {"ERROR", true, DialOutcome::Error},
    {"+CME ERROR:", false, DialOutcome::Error},
    {"+CMS ERROR:", false, DialOutcome::Error},
    {"MODEM ERROR:", false, DialOutcome::Error},
    {"COMMAND NOT SUPPORT", true, DialOutcome::Error},
    {"OK", true, DialOutcome::Ok},
};

}  // namespace

DialOutcome classifyDialLine(const std::string& line)
{
    for (const ResultWord& result : kResults) {
        std::string head = result.head;
        if (result.wholeLine ? line == head : line.compare(0, head.size(), head) == 0)
            return result.outcome;
    }
    return DialOutcome::NotFinal;
}

std::string packetDialCommand(int contextId)
{
    return "ATD*99***" + std::to_string(contextId) + "#";
}

}  // namespace cellctl::cli
