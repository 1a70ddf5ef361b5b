// cellctl against cellsim processes that lose 5 % of their answers: connect
// without dialling (radio on, SIM, registration, context, QoS, attach) must
// succeed every time, reads being asked again and changes read back. Each
// run has a cellsim of its own with a seed of its own, so a failure repeats
// with cellsim --drop-rate 0.05 --seed N. A lost answer costs the channel's
// limit for its command (150 s for an attach), so the runs go side by side.
// Beside them, monitor at 25 % lost answers must never show a lost answer as
// a reading (no signal, not registered).
#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ProgramRun.h"
#include "SimulatorProcess.h"

namespace cellctl::faults {
namespace {

using cli::test::ProgramRun;
using cli::test::runProgram;

TEST(LostAnswers, ConnectsSucceedAndMonitorShowsOnlyReadings)
{
    // Every simulator starts before any run: a simulator started later would
    // inherit the pipes of the runs under way and hold them open.
    auto simulators = [](int count, const std::string& dropRate) {
        std::vector<std::unique_ptr<test::SimulatorProcess>> started;
        for (int seed = 1; seed <= count; ++seed) {
            started.push_back(std::make_unique<test::SimulatorProcess>(
                CELLCTL_CELLSIM_PATH, std::vector<std::string>{"--drop-rate", dropRate, "--seed", std::to_string(seed),
                                                               "--registration-delay", "100"}));
            started.back()->start();
        }
        return started;
    };
    constexpr int kRuns = 20;
    constexpr int kMonitors = 4;
    std::vector<std::unique_ptr<test::SimulatorProcess>> sims = simulators(kRuns, "0.05");
    std::vector<std::unique_ptr<test::SimulatorProcess>> monitored = simulators(kMonitors, "0.25");
    std::vector<ProgramRun> runs(kRuns);
    std::vector<std::thread> threads;
    for (int i = 0; i < kRuns; ++i) {
        threads.emplace_back([&runs, &sims, i] {
            runs[i] =
                runProgram({"--trace", "--device", sims[i]->slavePath(), "connect", "--apn", "cmnet", "--no-dial"});
        });
    }
    std::vector<ProgramRun> monitors(kMonitors);
    for (int i = 0; i < kMonitors; ++i) {
        threads.emplace_back([&monitors, &monitored, i] {
            monitors[i] = runProgram(
                {"--json", "--device", monitored[i]->slavePath(), "monitor", "--duration", "20", "--interval", "1"});
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    // At 25 % some polls lose their answers; the monitor goes on, or ends
    // naming the lost answers, but shows only readings.
    for (const ProgramRun& monitor : monitors) {
        if (monitor.status != 0) {
            EXPECT_NE(monitor.json().dump().find("answers from the modem were lost"), std::string::npos)
                << monitor.out << monitor.err;
        }
        for (const auto& event : monitor.json().value("events", nlohmann::json::array())) {
            EXPECT_NE(event.value("level", -1), 0) << event.dump();
            EXPECT_NE(event.value("registration", ""), "not-registered") << event.dump();
        }
    }

    int succeeded = 0;
    for (int i = 0; i < kRuns; ++i) {
        EXPECT_EQ(runs[i].status, 0) << "seed " << i + 1 << ":\n" << runs[i].out << runs[i].err;
        succeeded += runs[i].status == 0 ? 1 : 0;
    }
    std::cout << "[ lost     ] " << succeeded << " of " << kRuns << " connects succeeded at 5 % lost answers\n";
}

}  // namespace
}  // namespace cellctl::faults
