#pragma once

#include <chrono>
#include <string>
#include <vector>

#include <cellctl/at/AnswerShaping.h>
#include <cellctl/at/Dialect.h>

// Turns one request (a query or modify of a code, or one of the channel's own
// probes) into the command line to write and the rules for collecting and
// shaping its answer, by the dialect table.

namespace cellctl::at {

enum class RequestKind { Query, Modify, Probe };

struct Request {
    RequestKind kind;
    int code;          // unused for probes
    std::string text;  // the modify text; the line itself for probes
};

struct PreparedCommand {
    std::string line;     // the command line without its CR; empty when refused
    std::string refusal;  // why it is answered ERROR unwritten; empty when sendable
    // Information lines with this prefix belong to the answer (see
    // CommandForm::responsePrefix); takesUnprefixedLines for answers like a
    // revision that carry no prefix.
    std::string responsePrefix;
    bool takesInformationLines = false;
    bool takesUnprefixedLines = false;
    Shaping shaping = Shaping::AsIs;
    std::chrono::milliseconds timeout{0};
    // Zero, or how long to wait for the final result once an information
    // line is in, before that line is taken as the whole answer.
    std::chrono::milliseconds finalGrace{0};

    bool refused() const { return !refusal.empty(); }
    // A dial command (ATD...): its answer may end in CONNECT.
    bool dials() const;
    // A line with the command's response prefix belongs to the command.
    bool ownsByPrefix(const std::string& line) const;
    // A line without that prefix that still belongs: the revision of AT+CGMR,
    // a broken line of a network scan. Checked after the reports.
    bool takesUnprefixedLine(const std::string& line, const std::vector<std::string>& collectedSoFar) const;
};

PreparedCommand prepareCommand(const Request& request, const SessionState& session);

}  // namespace cellctl::at
