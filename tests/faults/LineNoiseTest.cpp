// A device that surrounds its answers with junk, partial and overlong lines,
// and one that sends a burst of ten thousand unsolicited lines: the answers
// come through exact and every routed report reaches its code, in order.
#include <gtest/gtest.h>

#include <algorithm>

#include <cellctl/cellctl.h>

#include "LoadRun.h"
#include "NoisyDevice.h"

namespace cellctl::faults {
namespace {

using namespace std::chrono_literals;

bool runUntil(boost::asio::io_context& io, const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + 120s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        io.run_one_for(50ms);
    }
    return true;
}

TEST(NoiseBetweenAnswers, JunkPartialAndOverlongLinesChangeNoAnswer)
{
    NoisyDevice device({true, 0, 5});
    boost::asio::io_context io;
    at::AtPhoneLine line(io);
    std::size_t dropped = 0;
    line.setTrace([&](const std::string& traced) { dropped += traced.compare(0, 9, "! dropped") == 0; });
    line.open(device.slavePath());

    stress::LoadOptions options;
    options.commands = 3000;
    options.timeLimit = 300s;
    // A revision answer takes lines without prefix, junk included: leave it out.
    options.cycle.erase(std::remove_if(options.cycle.begin(), options.cycle.end(),
                                       [](const stress::LoadStep& step) {
                                           return step.code == PhoneLine::RevisionIdentification;
                                       }),
                        options.cycle.end());
    stress::LoadRun load(io, line, options);
    const stress::LoadCounts counts = load.run();

    EXPECT_TRUE(counts.perfect()) << describe(counts);
    EXPECT_EQ(counts.timeouts, 0u) << describe(counts);
    // The noise was there: every answer brought a line to drop.
    EXPECT_GE(dropped, counts.sent);
}

// The library attached as a host attaches it, counting what reaches it.
struct ReportListeners {
    CPowerAssistor power;
    CModeAssistor mode;
    CConnectionHelper connectionHelper;
    CConnectionAssistor connection{&connectionHelper};
    std::size_t registrations = 0, packetRegistrations = 0, modes = 0, cellCapabilities = 0;

    explicit ReportListeners(PhoneLine& line)
    {
        power.connectRegistrationResult([this](int) { ++registrations; });
        mode.connectQueryModeResult([this](CMode*) { ++modes; });
        mode.connectCellCapabilityChangesInfo([this](const CCellCapabilityInfo&) { ++cellCapabilities; });
        connection.connectPsRegisterResult([this](int) { ++packetRegistrations; });
        power.SetPhoneLine(&line);
        mode.SetPhoneLine(&line);
        connectionHelper.SetConnectionAssistor(&connection);
        connectionHelper.SetPhoneLine(&line);
        connectionHelper.Initialize();
    }

    ~ReportListeners()
    {
        power.ResetPhoneLine();
        mode.ResetPhoneLine();
        connection.ResetPhoneLine();
    }
};

TEST(ReportBurst, TenThousandUnsolicitedLinesArriveInOrderAroundAnIntactAnswer)
{
    const std::size_t burst = 10000;
    NoisyDevice device({false, burst, 1});
    boost::asio::io_context io;
    at::AtPhoneLine line(io);
    line.open(device.slavePath());
    ReportListeners listeners(line);

    std::vector<std::pair<int, std::string>> answers, reports;
    line.connectQueryResult([&](PhoneLine::QueryType code, const std::string& text) {
        answers.emplace_back(code, text);
    });
    line.connectModifyResult([&](PhoneLine::QueryType code, const std::string& text) {
        reports.emplace_back(code, text);
    });
    // The burst comes half before, half after the answer to the first query.
    line.query(PhoneLine::PhoneFunctionality);
    line.query(PhoneLine::SignalQualityGsm);
    const NoisyDevice::BurstCounts sent = NoisyDevice::burstCounts(burst);
    // Each mode report makes the library read the mode again.
    ASSERT_TRUE(runUntil(io, [&] { return answers.size() == 2 + sent.modeChanged && line.pendingCommands() == 0; }));

    EXPECT_EQ(answers[0], std::make_pair(165, std::string("+CFUN: 0\nOK")));
    EXPECT_EQ(answers[1], std::make_pair(6, std::string("+CSQ: 99,99\nOK")));
    std::vector<std::pair<int, std::string>> expected;
    for (std::size_t i = 0; i < burst; ++i) {
        const NoisyDevice::BurstLine& sentLine = NoisyDevice::burstLine(i);
        if (sentLine.code >= 0)
            expected.emplace_back(sentLine.code, sentLine.delivered);
    }
    ASSERT_EQ(reports.size(), expected.size());
    EXPECT_TRUE(reports == expected) << "reports out of order or altered";

    EXPECT_EQ(listeners.registrations, sent.registration);
    EXPECT_EQ(listeners.packetRegistrations, sent.packetRegistration);
    EXPECT_EQ(listeners.modes, sent.modeChanged);
    EXPECT_EQ(listeners.cellCapabilities, sent.hsdpa + sent.cellCapability);
}

}  // namespace
}  // namespace cellctl::faults
