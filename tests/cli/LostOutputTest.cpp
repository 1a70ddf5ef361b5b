// Output nobody can read stops the command: a full disk, a closed standard
// output, and a reader that goes away (cellctl monitor | head -3) each end the
// run with the output-failed status and a message on stderr.
#include <gtest/gtest.h>

#include "ExitStatus.h"
#include "ProgramRun.h"

namespace cellctl::cli::test {
namespace {

TEST(LostOutput, EveryFailedWriteEndsTheCommandWithItsStatus)
{
    struct Case {
        std::vector<std::string> args;
        StdoutFate fate;
    };
    const std::vector<std::string> status = {"--sim-registration-delay", "0.1", "status"};
    const std::vector<std::string> jsonStatus = {"--sim-registration-delay", "0.1", "--json", "status"};
    const std::vector<std::string> monitor = {"--sim-registration-delay", "0.1", "monitor", "--interval", "0.1"};
    const Case cases[] = {
        {status, {StdoutFate::DevFull}},
        {jsonStatus, {StdoutFate::DevFull}},
        {status, {StdoutFate::Closed}},
        {monitor, {StdoutFate::ReaderLeaves, 3}},
        {jsonStatus, {StdoutFate::ReaderLeaves, 0}},
    };
    for (const Case& c : cases) {
        ProgramRun run = runProgramWithStdout(c.args, c.fate);
        std::string what = testing::PrintToString(c.args) + " stdout " + std::to_string(c.fate.kind);
        EXPECT_EQ(run.status, exitStatusOf(ErrorKind::OutputFailed)) << what << "\n" << run.err;
        EXPECT_NE(run.err.find("standard output"), std::string::npos) << what << "\n" << run.err;
    }
}

}  // namespace
}  // namespace cellctl::cli::test
