#pragma once

#include <optional>
#include <string>
#include <vector>

#include <cellctl/at/Dialect.h>

// Turns the device's answer to a command, and its unsolicited reports, into
// the texts the library's parsers read (see the shaping column of
// docs/at-dialect.md).

namespace cellctl::at {

// What the channel remembers about the device's settings.
struct SessionState {
    bool hexCharacterSet = false;  // AT+CSCS="HEX" was accepted
};

// A command's answer as it came: its information lines and its final result.
struct RawAnswer {
    std::vector<std::string> informationLines;
    std::string finalResult;
};

// The answer text for the library. `requestText` is the modify text (empty for
// queries). CharacterSetChoice updates `session` when the device accepted it.
std::string shapeAnswer(Shaping shaping, const std::string& requestText, const RawAnswer& answer,
                        SessionState& session);

// The report text for the library, or nullopt when `line` is no report after
// all (a registration read form arriving unasked, a mode report without number).
std::optional<std::string> shapeReport(const DialectEntry& entry, const std::string& line);

// "n,stat[,lac,ci[,act]]" (the answer to a read) rather than a report
// "stat[,lac,ci[,act]]": the read form has two or more fields, never three,
// and its second field is a short bare number (a status, not an area code).
bool isRegistrationReadForm(const std::string& body);

}  // namespace cellctl::at
