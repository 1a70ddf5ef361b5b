// The whole stack against a misbehaving device: every fault of cellsim, and a
// device that loses answers.
#include <gtest/gtest.h>

#include "Stack.h"

namespace cellctl::e2e {
namespace {

using namespace std::chrono_literals;

struct FaultCase {
    const char* name;
    cellsim::Faults faults;
};

cellsim::Faults latency()
{
    cellsim::Faults faults;
    faults.latency = 20ms;
    return faults;
}

cellsim::Faults splitWrites()
{
    cellsim::Faults faults;
    faults.splitWrites = true;
    return faults;
}

cellsim::Faults forcedEcho()
{
    cellsim::Faults faults;
    faults.forcedEcho = true;
    return faults;
}

cellsim::Faults garbage()
{
    cellsim::Faults faults;
    faults.garbage = true;
    return faults;
}

cellsim::Faults storm()
{
    cellsim::Faults faults;
    faults.storm = 5;
    return faults;
}

cellsim::Faults everything()
{
    cellsim::Faults faults = latency();
    faults.splitWrites = faults.forcedEcho = faults.garbage = true;
    faults.storm = 3;
    return faults;
}

class FaultyDevice : public ::testing::TestWithParam<FaultCase> {};

// The start-up, operator, signal and packet-data results are the same as on
// a well-behaved device.
TEST_P(FaultyDevice, TheStartUpGivesTheSameResults)
{
    cellsim::ModemOptions options = Stack::quickModem();
    options.sim = cellsim::SimStart::PinLocked;
    options.faults = GetParam().faults;
    Stack stack(options);
    Results& results = stack.results;

    stack.startUp();
    EXPECT_EQ(results.needPin, std::vector<bool>{true});
    EXPECT_EQ(results.checkPin, (std::vector<std::pair<bool, int>>{{true, 3}}));
    EXPECT_EQ(results.powerOn, std::vector<bool>{true});
    ASSERT_FALSE(results.registration.empty());
    EXPECT_EQ(results.registration.back(), 1);

    stack.useLongOperatorNames();
    stack.cops.QueryCops();
    stack.cops.QueryAvailableCops();
    stack.power.QuerySignal();
    stack.connection.PdpActive(1, "cmnet", 3, 64, 384);
    stack.connection.AttachGprs();
    ASSERT_TRUE(stack.waitFor(results.attach));

    ASSERT_EQ(results.currentOperator.size(), 1u);
    EXPECT_EQ(results.currentOperator[0].GetOperatorLongName(), chinaMobile);
    ASSERT_EQ(results.availableOperators.size(), 1u);
    ASSERT_EQ(results.availableOperators[0].size(), 7u);
    EXPECT_EQ(results.availableOperators[0][6].GetOperatorNumericName(), "46006");
    EXPECT_EQ(results.signal, (std::vector<std::pair<int, int>>{{2, 41}}));
    EXPECT_EQ(results.pdpContext, std::vector<bool>{true});
    EXPECT_EQ(results.qos, std::vector<bool>{true});
    EXPECT_EQ(results.attach, std::vector<bool>{true});
    for (const auto& [event, detail] : results.channel) {
        EXPECT_NE(event, at::ChannelEvent::Timeout) << detail;
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultyDevice,
                         ::testing::Values(FaultCase{"Latency", latency()}, FaultCase{"SplitWrites", splitWrites()},
                                           FaultCase{"ForcedEcho", forcedEcho()}, FaultCase{"Garbage", garbage()},
                                           FaultCase{"Storm", storm()}, FaultCase{"Everything", everything()}),
                         [](const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

std::size_t countEvents(const Results& results, at::ChannelEvent wanted)
{
    std::size_t count = 0;
    for (const auto& entry : results.channel) {
        count += entry.first == wanted ? 1 : 0;
    }
    return count;
}

TEST(DroppedAnswers, TimeoutsReachTheHostAsFailuresAndLaterCommandsWork)
{
    cellsim::ModemOptions options = Stack::quickModem();
    options.faults.dropRate = 1.0;
    Stack stack(options, 0.1);
    Results& results = stack.results;

    stack.power.GetPowerHelp()->SetPhoneFunctionality();
    stack.connection.AttachGprs();
    CCopsInfo automatic;
    automatic.SetModeType(CCopsInfo::ModeAutomatic);
    stack.cops.SelectCops(&automatic);
    ASSERT_TRUE(stack.waitFor(results.selectOperator));
    EXPECT_EQ(results.powerOn, std::vector<bool>{false});
    EXPECT_EQ(results.attach, std::vector<bool>{false});
    EXPECT_EQ(results.selectOperator, std::vector<bool>{false});
    EXPECT_GE(countEvents(results, at::ChannelEvent::Timeout), 3u);

    ASSERT_TRUE(stack.server.withModem([](cellsim::Modem& modem) { modem.setFaults(cellsim::Faults()); }));
    stack.power.GetPowerHelp()->SetPhoneFunctionality();
    stack.power.QuerySignal();
    ASSERT_TRUE(stack.waitFor(results.signal));
    EXPECT_EQ(results.powerOn, (std::vector<bool>{false, true}));
    EXPECT_EQ(results.signal, (std::vector<std::pair<int, int>>{{2, 41}}));
}

}  // namespace
}  // namespace cellctl::e2e
