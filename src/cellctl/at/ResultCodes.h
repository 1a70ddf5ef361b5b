#pragma once

#include <optional>
#include <string_view>

// The lines that end a command's answer: the result codes of ITU-T V.250, the
// error results of 3GPP TS 27.007 and the vendor forms firmware uses. Header
// only, so that the command line's data link, which talks to the modem port
// itself while it dials, reads results by the same table as the AT channel.

namespace cellctl::at {

enum class ResultCode { Ok, Connect, NoCarrier, Busy, NoAnswer, NoDialtone, Error };

struct ResultCodeForm {
    std::string_view text;
    bool isPrefix;  // the line begins with the text; otherwise it is the text
    ResultCode code;
};

inline constexpr ResultCodeForm kResultCodeForms[] = {
    {"OK", false, ResultCode::Ok},
    {"CONNECT", false, ResultCode::Connect},
    {"CONNECT ", true, ResultCode::Connect},  // CONNECT <speed or text>
    {"NO CARRIER", false, ResultCode::NoCarrier},
    {"BUSY", false, ResultCode::Busy},
    {"NO ANSWER", false, ResultCode::NoAnswer},
    {"NO DIALTONE", false, ResultCode::NoDialtone},
    {"NO DIAL TONE", false, ResultCode::NoDialtone},
    {"ERROR", false, ResultCode::Error},
    {"+CME ERROR", false, ResultCode::Error},
    {"+CME ERROR:", true, ResultCode::Error},
    {"+CMS ERROR:", true, ResultCode::Error},
    {"MODEM ERROR:", true, ResultCode::Error},
    {"COMMAND NOT SUPPORT", false, ResultCode::Error},
};

// The result code `line` is, compared as it stands; nothing for any other line.
inline std::optional<ResultCode> resultCodeOf(std::string_view line)
{
    for (const ResultCodeForm& form : kResultCodeForms) {
        if (form.isPrefix ? line.substr(0, form.text.size()) == form.text : line == form.text)
            return form.code;
    }
    return std::nullopt;
}

}  // namespace cellctl::at
