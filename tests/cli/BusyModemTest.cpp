// A long command that cellctl gives up on (its step ran out of time, or the
// user pressed Ctrl-C) must not leave the modem busy with it: the next run
// has to find the modem ready, not deaf for the rest of a network scan.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>

#include <cellsim/ServerThread.h>

#include "ExitStatus.h"
#include "ProgramRun.h"

namespace cellctl::cli::test {
namespace {

TEST(BusyModem, AScanGivenUpOnIsAbortedSoTheNextRunFindsTheModemReady)
{
    cellsim::ModemOptions options;
    options.scanDuration = std::chrono::minutes(5);
    options.registrationDelay = std::chrono::milliseconds(100);
    cellsim::ServerThread modem(options);
    modem.start();
    std::mutex mutex;
    int aborts = 0;  // scans the modem saw aborted
    auto abortsSeen = [&] {
        std::lock_guard<std::mutex> lock(mutex);
        return aborts;
    };
    modem.withModem([&](cellsim::Modem& m) {
        m.setTrace([&](char, const std::string& line) {
            std::lock_guard<std::mutex> lock(mutex);
            if (line.find("aborts the command") != std::string::npos)
                ++aborts;
        });
    });
    const std::string device = modem.slavePath();

    const ProgramRun outOfTime = runProgram({"--device", device, "--timeout", "2", "operators", "scan"});
    EXPECT_EQ(outOfTime.status, exitStatusOf(ErrorKind::Timeout)) << outOfTime.err;
    EXPECT_EQ(abortsSeen(), 1) << "cellctl left without aborting the scan";

    const ProgramRun next = runProgram({"--device", device, "--json", "status"});
    EXPECT_EQ(next.status, 0) << next.err;
    EXPECT_TRUE(next.json().contains("signal")) << next.out;

    const ProgramRun interrupted = runProgramInterrupted({"--device", device, "operators", "scan"}, {"Scanning"});
    EXPECT_EQ(interrupted.status, exitStatusOf(ErrorKind::Interrupted)) << interrupted.err;
    EXPECT_EQ(abortsSeen(), 2) << "cellctl left without aborting the scan";
    const ProgramRun afterInterrupt = runProgram({"--device", device, "status"});
    EXPECT_EQ(afterInterrupt.status, 0) << afterInterrupt.err;
}

}  // namespace
}  // namespace cellctl::cli::test
