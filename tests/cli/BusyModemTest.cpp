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
    int scans = 0;   // scans the modem started
    int aborts = 0;  // scans the modem saw aborted
    auto scansStarted = [&] {
        std::lock_guard<std::mutex> lock(mutex);
        return scans;
    };
    auto scansNotAborted = [&] {
        std::lock_guard<std::mutex> lock(mutex);
        return scans - aborts;
    };
    modem.withModem([&](cellsim::Modem& m) {
        m.setTrace([&](char, const std::string& line) {
            std::lock_guard<std::mutex> lock(mutex);
            scans += line.find("+COPS=?") != std::string::npos;
            aborts += line.find("aborts the command") != std::string::npos;
        });
    });
    const std::string device = modem.slavePath();

    const ProgramRun outOfTime = runProgram({"--device", device, "--timeout", "2", "operators", "scan"});
    EXPECT_EQ(outOfTime.status, exitStatusOf(ErrorKind::Timeout)) << outOfTime.err;
    EXPECT_EQ(scansStarted(), 1);
    EXPECT_EQ(scansNotAborted(), 0) << "cellctl left without aborting the scan";

    const ProgramRun next = runProgram({"--device", device, "--json", "status"});
    EXPECT_EQ(next.status, 0) << next.err;
    EXPECT_TRUE(next.json().contains("signal")) << next.out;

    const ProgramRun interrupted = runProgramInterrupted({"--device", device, "operators", "scan"}, {"Scanning"});
    EXPECT_EQ(interrupted.status, exitStatusOf(ErrorKind::Interrupted)) << interrupted.err;
    // The interrupt may come before the scan was sent; one that was sent is aborted.
    EXPECT_EQ(scansNotAborted(), 0) << "cellctl left without aborting the scan";
    const ProgramRun afterInterrupt = runProgram({"--device", device, "status"});
    EXPECT_EQ(afterInterrupt.status, 0) << afterInterrupt.err;
}

// A modem that does not abort runs the scan to its end whatever cellctl sends.
// The next run must wait for it, saying why, and then work; lines that waited
// in the modem meanwhile must not shift later answers onto the wrong commands.
TEST(BusyModem, AModemFinishingAnEarlierScanIsAwaitedThenUsed)
{
    cellsim::ModemOptions options;
    options.scanDuration = std::chrono::seconds(15);
    options.registrationDelay = std::chrono::milliseconds(100);
    options.abortOnCharacter = false;
    cellsim::ServerThread modem(options);
    modem.start();
    const std::string device = modem.slavePath();

    const ProgramRun outOfTime = runProgram({"--device", device, "--timeout", "2", "operators", "scan"});
    EXPECT_EQ(outOfTime.status, exitStatusOf(ErrorKind::Timeout)) << outOfTime.err;

    const ProgramRun next = runProgram({"--device", device, "--json", "sim"});
    EXPECT_EQ(next.status, 0) << next.err;
    EXPECT_NE(next.err.find("busy, finishing an earlier command"), std::string::npos) << next.err;
    EXPECT_EQ(next.json().value("state", ""), "ready") << next.out;

    const ProgramRun silent = runProgram({"--device", device, "--timeout", "2", "operators", "scan"});
    EXPECT_EQ(silent.status, exitStatusOf(ErrorKind::Timeout)) << silent.err;
    const ProgramRun gaveUp = runProgram({"--device", device, "--timeout", "4", "status"});
    EXPECT_EQ(gaveUp.status, exitStatusOf(ErrorKind::Timeout)) << gaveUp.err;
    EXPECT_NE(gaveUp.err.find("may still be busy, finishing an earlier command"), std::string::npos) << gaveUp.err;
}

}  // namespace
}  // namespace cellctl::cli::test
