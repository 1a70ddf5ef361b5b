#pragma once

#include <string>
#include <vector>

#include "CliError.h"

namespace cellctl::cli {

constexpr int kExitSuccess = 0;

struct ExitStatusEntry {
    ErrorKind kind;
    int status;
    const char* name;     // the error's "kind" in JSON
    const char* meaning;  // one line for --help and the manual
};

const ExitStatusEntry& exitStatusEntry(ErrorKind kind);
// Every row, in the order of the statuses.
std::vector<ExitStatusEntry> exitStatusTable();
int exitStatusOf(ErrorKind kind);

// The table as text, one status per line, for the main --help.
std::string exitStatusHelp();

}  // namespace cellctl::cli
