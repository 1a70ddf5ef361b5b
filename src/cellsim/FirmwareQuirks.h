#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

// Ways real firmware bends 3GPP TS 27.007 and ITU-T V.250 in what it sends,
// for testing hosts against them (cellsim --firmware-quirks LIST). Each quirk
// rewrites lines on their way out, after the modem has made them.

namespace cellsim {

enum class FirmwareQuirk {
    RegistrationWithN,   // creg-with-n: reports +CREG:/+CGREG: carry <n> first, as a read does
    PaddedStatus,        // padded-stat: the <stat> of registration lines zero-padded to three digits
    BareLocation,        // bare-lac: lac and ci without quotes
    PinWithoutOk,        // cpin-no-ok: +CPIN? answered by its line alone, no final result
    QuotedPin,           // quoted-cpin: +CPIN: "SIM PIN"
    SignalWithoutSpace,  // csq-no-space: +CSQ:23,99
    BarePreferredCodes,  // cpol-bare-code: numeric +CPOL operators unquoted
    VendorErrors         // vendor-errors: ERROR as COMMAND NOT SUPPORT, +CME ERROR: <n> as MODEM ERROR: <n>
};

struct FirmwareQuirks {
    std::set<FirmwareQuirk> on;
    bool has(FirmwareQuirk quirk) const { return on.count(quirk) != 0; }
};

// Quirk names separated by commas; nullopt when one is unknown.
std::optional<FirmwareQuirks> parseFirmwareQuirks(const std::string& list);

// An information line or report as the quirky firmware writes it.
std::string quirkyLine(const FirmwareQuirks& quirks, const std::string& line);
// The final result as the quirky firmware writes it; nullopt: none is sent.
// `lines` are the answer's information lines.
std::optional<std::string> quirkyFinalResult(const FirmwareQuirks& quirks, const std::vector<std::string>& lines,
                                             const std::string& result);

}  // namespace cellsim
