#include "DialResult.h"

#include <optional>

#include <cellctl/at/ResultCodes.h>

namespace cellctl::cli {

DialOutcome classifyDialLine(const std::string& line)
{
    std::optional<at::ResultCode> code = at::resultCodeOf(line);
    if (!code)
        return DialOutcome::NotFinal;
    switch (*code) {
    case at::ResultCode::Ok:
        return DialOutcome::Ok;
    case at::ResultCode::Connect:
        return DialOutcome::Connected;
    case at::ResultCode::NoCarrier:
        return DialOutcome::NoCarrier;
    case at::ResultCode::Busy:
        return DialOutcome::Busy;
    case at::ResultCode::NoAnswer:
        return DialOutcome::NoAnswer;
    case at::ResultCode::NoDialtone:
        return DialOutcome::NoDialtone;
    case at::ResultCode::Error:
        break;
    }
    return DialOutcome::Error;
}

std::string packetDialCommand(int contextId) { return "ATD*99***" + std::to_string(contextId) + "#"; }

}  // namespace cellctl::cli
