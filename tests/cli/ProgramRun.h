#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace cellctl::cli::test {

// One run of the cellctl program: its exit status and everything it printed.
struct ProgramRun {
    int status = -1;    // exit status; -1 if it was killed by a signal or hung
    bool hung = false;  // killed by the safety limit
    std::string out;
    std::string err;
    // The arguments as the process list showed them when the first output
    // arrived, words separated by spaces.
    std::string commandLine;

    // stdout as the one JSON document it must be (a parse failure fails the test).
    nlohmann::json json() const;
};

// Runs the program with these arguments and waits for it to end. A run that
// has not ended after `safetySeconds` is killed and reported as hung: the
// program must never hang, so that is a failure, not a measurement.
ProgramRun runProgram(const std::vector<std::string>& args, int safetySeconds = 240);

// Where the program's standard output goes, for runs about output failures.
struct StdoutFate {
    enum Kind {
        Captured,     // a pipe read to the end (ProgramRun::out)
        DevFull,      // /dev/full: every write fails with ENOSPC
        Closed,       // no descriptor 1 at all
        ReaderLeaves  // a pipe whose reader goes after `lines` lines
    } kind = Captured;
    int lines = 0;
};

// As runProgram, with standard output going where `fate` says.
ProgramRun runProgramWithStdout(const std::vector<std::string>& args, StdoutFate fate);

// As runProgram, and sends SIGINT (Ctrl-C) once stdout shows every one of `cues`.
ProgramRun runProgramInterrupted(const std::vector<std::string>& args, const std::vector<std::string>& cues);

// As runProgram, with `input` on standard input (a pipe, not a terminal).
ProgramRun runProgramWithInput(const std::vector<std::string>& args, const std::string& input);

// The built-in simulated modem with short delays, then the arguments.
ProgramRun runOnSimulator(const std::vector<std::string>& args);

// The number of lines of `text` that contain `needle`.
int linesContaining(const std::string& text, const std::string& needle);

}  // namespace cellctl::cli::test
