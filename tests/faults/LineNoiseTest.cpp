// A device that surrounds its answers with junk, partial and overlong lines,
// and one that sends a burst of ten thousand unsolicited lines: the answers
// come through exact and every routed report reaches its code, in order.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include <cellctl/cellctl.h>

#include "FakePtyDevice.h"
#include "LoadRun.h"

namespace cellctl::faults {
namespace {

using namespace std::chrono_literals;
using test::FakePtyDevice;
using test::framed;

// The load cycle's commands answered as a fresh cellsim answers them, a mode
// switch followed by its report.
std::string answerAsCellsim(const std::string& command)
{
    static const std::map<std::string, std::vector<std::string>> answers = {
        {"ATE0", {"OK"}},
        {"AT", {"OK"}},
        {"AT+CSQ", {"+CSQ: 99,99", "OK"}},
        {"AT^DSTM=1,2,2", {"OK", "^DSTMR: 2"}},
        {"AT+CFUN?", {"+CFUN: 0", "OK"}},
        {"AT^DSTM=1,0", {"OK", "^DSTMR: 0"}},
        {"AT^DUSIM?", {"^DUSIM: 1", "OK"}},
        {"AT^DRAP?", {"^DRAP: 3,10,3,10", "OK"}},
        {"AT+CGMR", {"CELLSIM TD-HSDPA V1.0.0", "OK"}},
        {"AT+CPIN?", {"+CPIN: READY", "OK"}},
        {"AT^DSTM?", {"^DSTM: 1,2,2", "OK"}},
    };
    const auto found = answers.find(command);
    return framed(found == answers.end() ? std::vector<std::string>{"ERROR"} : found->second);
}

// Unsolicited lines of a burst, in the order sent, with what the channel
// delivers for each.
struct BurstLine {
    const char* line;
    int code;               // delivered on the modify-result signal with this code; -1: dropped
    const char* delivered;  // the text delivered
};

const BurstLine& burstLine(std::size_t index)
{
    static const BurstLine lines[] = {
        {"+CREG: 1", PhoneLine::NetworkRegistration, "1"},
        {"+CGREG: 5", PhoneLine::PacketRegistration, "5"},
        {"^DSTMR: 2", PhoneLine::NetworkModeChanged, "2"},
        {"RING", -1, ""},
        {"+HSIND: 1", PhoneLine::HsdpaIndication, "+HSIND: 1"},
        {"^DCINFO: 1,0,1,1", PhoneLine::CellCapabilityReport, "^DCINFO: 1,0,1,1"},
        {"+CREG: 5,\"1A2B\",\"00C3F1\"", PhoneLine::NetworkRegistration, "5,\"1A2B\",\"00C3F1\""},
        {"+CGEV: ME DETACH", -1, ""},
    };
    return lines[index % (sizeof lines / sizeof lines[0])];
}

std::size_t burstLinesWithCode(std::size_t size, int code)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < size; ++i)
        count += burstLine(i).code == code ? 1 : 0;
    return count;
}

// Answers as cellsim does, with a burst of `size` unsolicited lines half
// before and half after the answer to the first AT+CFUN?.
FakePtyDevice::Answer answerWithBurst(std::size_t size)
{
    auto burst = [](std::size_t from, std::size_t to) {
        std::string bytes;
        for (std::size_t i = from; i < to; ++i)
            bytes += framed({burstLine(i).line});
        return bytes;
    };
    return [size, burst, sent = false](const std::string& command) mutable {
        const std::string answer = answerAsCellsim(command);
        if (sent || command != "AT+CFUN?")
            return answer;
        sent = true;
        return burst(0, size / 2) + answer + burst(size / 2, size);
    };
}

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
    FakePtyDevice::Options noisy;
    noisy.noise = true;
    noisy.seed = 5;
    FakePtyDevice device(answerAsCellsim, noisy);
    boost::asio::io_context io;
    at::AtPhoneLine line(io);
    std::size_t dropped = 0;
    line.setTrace([&](const std::string& traced) { dropped += traced.compare(0, 9, "! dropped") == 0; });
    line.open(device.slavePath());

    stress::LoadOptions options;
    options.commands = 3000;
    options.timeLimit = 300s;
    // A revision answer takes lines without prefix, junk included: leave it out.
    options.cycle.erase(
        std::remove_if(options.cycle.begin(), options.cycle.end(),
                       [](const stress::LoadStep& step) { return step.code == PhoneLine::RevisionIdentification; }),
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
    FakePtyDevice device(answerWithBurst(burst));
    boost::asio::io_context io;
    at::AtPhoneLine line(io);
    line.open(device.slavePath());
    ReportListeners listeners(line);

    std::vector<std::pair<int, std::string>> answers, reports;
    line.connectQueryResult(
        [&](PhoneLine::QueryType code, const std::string& text) { answers.emplace_back(code, text); });
    line.connectModifyResult(
        [&](PhoneLine::QueryType code, const std::string& text) { reports.emplace_back(code, text); });
    // The burst comes half before, half after the answer to the first query.
    line.query(PhoneLine::PhoneFunctionality);
    line.query(PhoneLine::SignalQualityGsm);
    const std::size_t modeReports = burstLinesWithCode(burst, PhoneLine::NetworkModeChanged);
    // Each mode report makes the library read the mode again.
    ASSERT_TRUE(runUntil(io, [&] { return answers.size() == 2 + modeReports && line.pendingCommands() == 0; }));

    EXPECT_EQ(answers[0], std::make_pair(165, std::string("+CFUN: 0\nOK")));
    EXPECT_EQ(answers[1], std::make_pair(6, std::string("+CSQ: 99,99\nOK")));
    std::vector<std::pair<int, std::string>> expected;
    for (std::size_t i = 0; i < burst; ++i) {
        const BurstLine& sentLine = burstLine(i);
        if (sentLine.code >= 0)
            expected.emplace_back(sentLine.code, sentLine.delivered);
    }
    ASSERT_EQ(reports.size(), expected.size());
    EXPECT_TRUE(reports == expected) << "reports out of order or altered";

    EXPECT_EQ(listeners.registrations, burstLinesWithCode(burst, PhoneLine::NetworkRegistration));
    EXPECT_EQ(listeners.packetRegistrations, burstLinesWithCode(burst, PhoneLine::PacketRegistration));
    EXPECT_EQ(listeners.modes, modeReports);
    EXPECT_EQ(listeners.cellCapabilities, burstLinesWithCode(burst, PhoneLine::HsdpaIndication) +
                                              burstLinesWithCode(burst, PhoneLine::CellCapabilityReport));
}

}  // namespace
}  // namespace cellctl::faults
