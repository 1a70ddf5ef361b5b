#pragma once

#include <optional>
#include <string>
#include <vector>

#include <cellctl/at/Dialect.h>
#include <cellctl/at/OperatorNames.h>

// Turns the device's answer to a command, and its unsolicited reports, into
// the texts the library's parsers read (see the shaping column of
// docs/at-dialect.md).

namespace cellctl::at {

// What the channel remembers about the device's settings.
struct SessionState {
    NameEncoding names = NameEncoding::Plain;  // by the last AT+CSCS the device accepted
};

// A command's answer as it came: its information lines and its final result.
struct RawAnswer {
    std::vector<std::string> informationLines;
    std::string finalResult;
};

// The answer text for the library. `requestText` is the modify text (empty for
// queries). CharacterSetChoice updates `session` when the device accepted it.
// nullopt: the answer holds no value the library could read (a registration
// or signal query answered without its information line), so the library is
// told nothing rather than a made-up value.
std::optional<std::string> shapeAnswer(Shaping shaping, const std::string& requestText, const RawAnswer& answer,
                                       SessionState& session);

// The report text for the library, or nullopt when `line` is no report after
// all (a registration line without a status, a mode report without number).
std::optional<std::string> shapeReport(const DialectEntry& entry, const std::string& line);

}  // namespace cellctl::at
