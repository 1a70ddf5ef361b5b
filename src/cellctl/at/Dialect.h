#pragma once

#include <chrono>
#include <string>

// The one table of the AT dialect: for every command code, the AT command line
// of a query and of a modify, the response prefix of the answer, how the answer
// is shaped for the library, how long the device may take to answer, and for
// report codes the unsolicited prefix.
// docs/at-dialect.md is the same table for people.

namespace cellctl::at {

// How a command line is made from the code's command and the parameter text.
enum class LineForm {
    Unavailable,          // the code has no such command: answered ERROR
    Fixed,                // the command is the whole line; the text is not sent
    Argument,             // command + text
    OperatorSelection,    // command + text; a format 0/1 name is hex-encoded under HEX
    WholeLine,            // the text is the whole command line
    WholeLineOrArgument,  // the text if it is a whole line, else command + text
    QuotedPin,            // command + "text" (a text "puk,pin" as PukAndNewPin)
    PukAndNewPin          // command + "puk","newpin" from the text puk,newpin
};

// How the device's answer becomes the text the library reads.
enum class Shaping {
    AsIs,                // information lines and final result joined with "\n"
    RegistrationRead,    // "+CREG: [n,]stat[,lac,ci]" -> "stat[,lac,ci]"; no line: nothing
    SignalQuality,       // "+CSQ:rssi,ber" -> "+CSQ: rssi,ber"; no line: nothing
    PinStatus,           // "+CPIN: READY" -> "Ready", other values without prefix and quotes
    CurrentOperator,     // as is, the name decoded
    OperatorScan,        // the scan list normalised to one fully quoted line
    PreferredOperators,  // well-formed lines only, operator quoted, names decoded
    PhoneFunctionality,  // "+CFUN: fun": 1 stays, any other level reads 0 (not on)
    AttachState,         // "OK" -> "<text>\nOK"
    CharacterSetChoice   // as is; on OK the channel remembers the character set
};

// How an unsolicited report becomes the text the library reads.
enum class ReportShaping {
    None,          // the code is no report
    Registration,  // without its prefix: "stat[,lac,ci]", from either form
    BareInteger,   // the leading integer alone
    AsIs           // the line as it came
};

// Most commands answer within this.
constexpr std::chrono::seconds kDefaultCommandTimeout{3};

struct CommandForm {
    LineForm form;
    const char* command;  // the fixed line, or the head the text is appended to
    // Prefix of the information lines that belong to the answer. nullptr: the
    // command takes no information lines; "": it takes lines without prefix.
    // Whole command lines take the prefix named by their own command.
    const char* responsePrefix;
    Shaping shaping;
    // How long the device may take to answer, before the channel's scaling.
    std::chrono::seconds timeout = kDefaultCommandTimeout;
    // Zero, or how long the final result is awaited once an information line
    // is in, before that line is taken as the whole answer.
    std::chrono::seconds finalGrace{0};
};

struct DialectEntry {
    int code;
    CommandForm query;
    CommandForm modify;
    const char* reportPrefix;  // nullptr when the code is no report
    ReportShaping reportShaping;
};

// The entry of a code; nullptr for codes outside the dialect.
const DialectEntry* findEntry(int code);
// The report entry whose prefix begins `line`; nullptr when none does.
const DialectEntry* findReportEntry(const std::string& line);
// Unsolicited lines the dialect names but the library does not use.
bool isIgnoredUnsolicited(const std::string& line);

// The form whose command a whole command line begins with (the longest such
// command, case ignored), so that a line the host writes itself is timed as
// the dialect's own command; a form of the default timing when none does.
const CommandForm& formOfWholeLine(const std::string& line);
// The timeout of the channel's own probes (echo off, resynchronisation).
std::chrono::milliseconds probeTimeout();

}  // namespace cellctl::at
