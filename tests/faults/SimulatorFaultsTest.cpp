// A cellsim process that dies mid-command and comes back, freezes past the
// timeouts and thaws, or loses a share of its answers, under a stream of
// commands kept queued in the channel. Every command must still get exactly
// one answer, in order: its own exact answer or "ERROR", never another
// command's. Afterwards the line serves a clean run again. The killed process
// is the tests' device loss: the line closes, answers what was pending at
// once, and reopens on the device's stable name.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <iostream>

#include <boost/asio/steady_timer.hpp>

#include "LoadRun.h"
#include "SimulatorProcess.h"

namespace cellctl::faults {
namespace {

using namespace std::chrono_literals;
using stress::LoadCounts;
using stress::LoadOptions;
using stress::LoadRun;
using test::SimulatorProcess;

std::string linkPath(const char* name)
{
    return ::testing::TempDir() + "cellctl-faults-" + name + "-" + std::to_string(::getpid());
}

at::AtPhoneLineOptions scaledTimeouts(double scale)
{
    at::AtPhoneLineOptions options;
    options.timeoutScale = scale;
    return options;
}

LoadOptions faultyRun(std::uint64_t commands, std::size_t window)
{
    LoadOptions options;
    options.commands = commands;
    options.window = window;
    options.strict = false;
    options.timeLimit = 300s;
    return options;
}

// Every command answered once, in order, by its own answer or ERROR.
void expectEveryCommandAnsweredInOrder(const LoadCounts& counts)
{
    std::cout << "[ counts   ] " << describe(counts) << "\n";
    EXPECT_TRUE(counts.finished) << describe(counts);
    EXPECT_EQ(counts.answered, counts.sent) << describe(counts);
    EXPECT_EQ(counts.exact + counts.failed, counts.sent) << describe(counts);
    EXPECT_EQ(counts.misrouted, 0u) << describe(counts);
    EXPECT_EQ(counts.extra, 0u) << describe(counts);
    EXPECT_EQ(counts.badReports, 0u) << describe(counts);
}

// The line is in step: a clean run over it is answered exactly.
void expectCleanRunAfterwards(boost::asio::io_context& io, at::AtPhoneLine& line)
{
    LoadOptions clean;
    clean.commands = 400;
    clean.timeLimit = 120s;
    LoadRun run(io, line, clean);
    const LoadCounts counts = run.run();
    EXPECT_TRUE(counts.perfect()) << describe(counts);
    EXPECT_EQ(line.pendingCommands(), 0u);
}

TEST(CellsimKilledMidCommand, PendingCommandsAreAnsweredTheLineReopensAndWorkResumes)
{
    const std::string link = linkPath("killed");
    SimulatorProcess sim(CELLCTL_CELLSIM_PATH, {"--link", link});
    sim.start();
    std::vector<std::string> reopenedOn;  // each Reopened event's target
    boost::asio::io_context io;
    at::AtPhoneLine line(io);
    line.connectStatus([&](at::ChannelEvent event, const std::string& target) {
        if (event == at::ChannelEvent::Reopened)
            reopenedOn.push_back(target);
    });
    line.open(link);

    const std::size_t window = 16;
    LoadRun load(io, line, faultyRun(3000, window));
    std::vector<std::uint64_t> killedAt;
    load.afterAnswer = [&](std::uint64_t answered) {
        // Three times, with a full queue behind the command on the wire.
        if (answered % 1000 == 500 && (killedAt.empty() || killedAt.back() != answered) && sim.running()) {
            killedAt.push_back(answered);
            sim.stop(SIGKILL);
        }
    };
    std::size_t openWhenLost = 0;
    load.onEvent = [&](at::ChannelEvent event) {
        if (event == at::ChannelEvent::DeviceLost) {
            openWhenLost += line.isOpen() ? 1 : 0;
            sim.start();  // a fresh simulator under the same name
            line.reopen();
        }
    };
    const LoadCounts counts = load.run();

    expectEveryCommandAnsweredInOrder(counts);
    ASSERT_EQ(killedAt.size(), 3u);
    EXPECT_EQ(counts.devicesLost, 3u);
    EXPECT_EQ(openWhenLost, 0u) << "the line is closed when the loss is announced";
    EXPECT_EQ(reopenedOn, std::vector<std::string>(3, link));
    // Each loss fails the command on the wire and at most the queue behind it,
    // at once: none of them waits out its timeout.
    EXPECT_GE(counts.failed, 3u) << describe(counts);
    EXPECT_LE(counts.failed, 3 * window) << describe(counts);
    EXPECT_EQ(counts.timeouts, 0u) << describe(counts);
    expectCleanRunAfterwards(io, line);
    std::remove(link.c_str());
}

TEST(CellsimFrozenPastTheTimeouts, LateAnswersNeverLandOnOtherCommands)
{
    SimulatorProcess sim(CELLCTL_CELLSIM_PATH, {});
    sim.start();
    boost::asio::io_context io;
    at::AtPhoneLine line(io, scaledTimeouts(0.05));  // 150 ms for most commands, 1.5 s the longest here
    line.open(sim.slavePath());

    LoadRun load(io, line, faultyRun(2000, 8));
    boost::asio::steady_timer thaw(io);
    bool frozen = false;
    load.afterAnswer = [&](std::uint64_t answered) {
        if (answered == 500 && !frozen) {
            frozen = true;
            sim.freeze();
            thaw.expires_after(2s);
            thaw.async_wait([&](const boost::system::error_code&) { sim.thaw(); });
        }
    };
    const LoadCounts counts = load.run();

    expectEveryCommandAnsweredInOrder(counts);
    ASSERT_TRUE(frozen);
    EXPECT_GE(counts.timeouts, 1u) << describe(counts);
    EXPECT_GE(counts.failed, 1u) << describe(counts);
    EXPECT_EQ(counts.devicesLost, 0u);
    expectCleanRunAfterwards(io, line);
}

TEST(CellsimLosesAQuarterOfItsAnswers, TimeoutsFireAndTheQueueMovesOn)
{
    SimulatorProcess sim(CELLCTL_CELLSIM_PATH, {"--drop-rate", "0.25", "--seed", "11"});
    sim.start();
    boost::asio::io_context io;
    at::AtPhoneLine line(io, scaledTimeouts(0.02));  // 60 ms for most commands
    line.open(sim.slavePath());

    LoadOptions options = faultyRun(400, 4);
    // Commands with the short timeout only: each lost answer costs 60 ms.
    options.cycle.erase(std::remove_if(options.cycle.begin(), options.cycle.end(),
                                       [](const stress::LoadStep& step) {
                                           return step.code == PhoneLine::PhoneFunctionality ||
                                                  step.code == PhoneLine::PinStatus;
                                       }),
                        options.cycle.end());
    LoadRun load(io, line, options);
    const LoadCounts counts = load.run();

    expectEveryCommandAnsweredInOrder(counts);
    EXPECT_GE(counts.timeouts, 1u) << describe(counts);
    EXPECT_GE(counts.failed, 1u) << describe(counts);
    // A lost answer costs its own command and, when the resynchronisation
    // probe is lost as well, the next one: most commands still succeed.
    EXPECT_GT(counts.exact, counts.sent / 2) << describe(counts);
}

}  // namespace
}  // namespace cellctl::faults
