#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <cellctl/cops/CCopsAssistor.h>
#include <cellctl/mode/CModeAssistor.h>
#include <cellctl/power/CPowerAssistorHsdpa.h>

#include "PowerTestSupport.h"

namespace {

using cellctl::test::AttachedPower;
using cellctl::test::RecordingPhoneLine;
using Commands = std::vector<RecordingPhoneLine::Command>;
using Events = std::vector<std::string>;

RecordingPhoneLine::Command query(int code) { return RecordingPhoneLine::Query(code); }
RecordingPhoneLine::Command modify(int code, const char* text) { return RecordingPhoneLine::Modify(code, text); }

// A mode assistor on the same line as the power assistor under test.
struct WithMode {
    WithMode() { mode.SetPhoneLine(&line); }
    ~WithMode() { mode.ResetPhoneLine(); }

    // The commands that SetupFeature of Assistor sends.
    template <typename Assistor>
    Commands setup(bool dualMode, bool giveMode)
    {
        Assistor power(nullptr, nullptr, giveMode ? &mode : nullptr);
        power.SetPhoneLine(&line);
        power.SetSupportDualMode(dualMode);
        line.clear();
        power.SetupFeature();
        power.ResetPhoneLine();
        return line.sent();
    }

    RecordingPhoneLine line;
    CModeAssistor mode;
};

TEST(PowerAssistorSetup, DualModeAddsTheModeQueryBetweenItsTwoCommands)
{
    WithMode fixture;
    EXPECT_EQ(fixture.setup<CPowerAssistor>(false, true), (Commands{modify(114, "1"), modify(115, "0")}));
    EXPECT_EQ(fixture.setup<CPowerAssistor>(true, true), (Commands{modify(114, "1"), query(132), modify(115, "0")}));
    // dual mode without a mode assistor has nobody to ask
    EXPECT_EQ(fixture.setup<CPowerAssistor>(true, false), (Commands{modify(114, "1"), modify(115, "0")}));
}

TEST(PowerAssistorSetup, HsdpaSwitchesOnBothReportsThroughTheModeAssistor)
{
    WithMode fixture;
    EXPECT_EQ(fixture.setup<CPowerAssistorHsdpa>(false, true),
              (Commands{modify(114, "1"), modify(115, "0"), modify(157, "1"), modify(156, "1")}));
    EXPECT_EQ(fixture.setup<CPowerAssistorHsdpa>(true, true),
              (Commands{modify(114, "1"), query(132), modify(115, "0"), modify(157, "1"), modify(156, "1")}));
    EXPECT_EQ(fixture.setup<CPowerAssistorHsdpa>(true, false), (Commands{modify(114, "1"), modify(115, "0")}));
}

TEST(PowerAssistorSetup, WithoutAHelperNothingIsSentEvenThroughTheModeAssistor)
{
    WithMode fixture;
    CPowerAssistorHsdpa power(nullptr, nullptr, &fixture.mode);
    power.SetSupportDualMode(true);
    power.SetPowerHelp(nullptr);
    fixture.line.clear();
    power.SetPhoneLine(&fixture.line);
    power.SetupFeature();
    power.PowerOn();
    power.PowerOff();
    power.SoftReset();
    power.QuerySignal();
    power.QueryCregStatus();
    EXPECT_TRUE(fixture.line.sent().empty());
}

TEST(PowerAssistorCommands, PowerOnWithoutOtherAssistorsSkipsTheSimQueries)
{
    AttachedPower<> power;
    EXPECT_FALSE(power.assistor.GetSupportDualMode());
    power.assistor.PowerOn();
    EXPECT_EQ(power.line.sent(),
              (Commands{query(165), modify(114, "1"), modify(115, "0"), modify(135, "1"), modify(141, "1"),
                        modify(125, "0"), modify(126, "1,0"), modify(122, "1"), modify(130, "3,2")}));
}

TEST(PowerAssistorCommands, PowerOffSoftResetAndRegistration)
{
    AttachedPower<> power;
    power.assistor.PowerOff();
    power.assistor.SoftReset();
    power.assistor.QueryCregStatus();
    EXPECT_EQ(power.line.sent(), (Commands{modify(127, "0,0"), modify(164, ""), query(10)}));
}

TEST(PowerAssistorCommands, NothingIsSentBeforeSetPhoneLine)
{
    RecordingPhoneLine line;
    CModeAssistor mode;
    mode.SetPhoneLine(&line);
    CPowerAssistorHsdpa power(nullptr, nullptr, &mode);
    power.SetSupportDualMode(true);
    power.PowerOn();
    power.PowerOff();
    power.SoftReset();
    power.QuerySignal();
    power.QueryCregStatus();
    // only what goes through the (attached) mode assistor
    EXPECT_EQ(line.sent(), (Commands{query(132), modify(157, "1"), modify(156, "1")}));
    mode.ResetPhoneLine();
}

TEST(PowerAssistorCommands, QueryCopsGoesThroughTheOperatorAssistor)
{
    RecordingPhoneLine line;
    CCopsAssistor cops;
    cops.SetPhoneLine(&line);
    CPowerAssistor power(nullptr, &cops);
    power.SetPhoneLine(&line);
    cellctl::test::PowerEvents events(power);
    std::vector<std::string> names;
    cops.connectQueryCopsResult([&names](const CCopsInfo& info) { names.push_back(info.GetOperatorNumericName()); });
    power.QueryCops();
    EXPECT_EQ(line.sent(), Commands{query(11)});
    line.answerQuery(11, "+COPS: 1,2,\"46001\",2\nOK");
    EXPECT_EQ(names, std::vector<std::string>{"46001"});
    EXPECT_TRUE(events.list().empty());  // the operator assistor reports it, not the power assistor

    CPowerAssistor alone;
    alone.SetPhoneLine(&line);
    line.clear();
    alone.QueryCops();
    EXPECT_TRUE(line.sent().empty());
    alone.ResetPhoneLine();
    power.ResetPhoneLine();
    cops.ResetPhoneLine();
}

// The signal query QuerySignal sends when the mode assistor has seen the given
// answer to query 132 (none: no answer yet).
Commands signalQueryAfterMode(const char* modeAnswer)
{
    WithMode fixture;
    CPowerAssistor power(nullptr, nullptr, &fixture.mode);
    power.SetPhoneLine(&fixture.line);
    if (modeAnswer != nullptr)
        fixture.line.answerQuery(132, modeAnswer);
    fixture.line.clear();
    power.QuerySignal();
    power.ResetPhoneLine();
    return fixture.line.sent();
}

TEST(PowerAssistorCommands, QuerySignalPicksGsmOnlyForAKnownGsmMode)
{
    EXPECT_EQ(signalQueryAfterMode("^DSTM: 1,2,0\nOK"), Commands{query(6)});
    EXPECT_EQ(signalQueryAfterMode("^DSTM: 1,2,2\nOK"), Commands{query(115)});
    EXPECT_EQ(signalQueryAfterMode("^DSTM: 1,2,7\nOK"), Commands{query(115)});
    EXPECT_EQ(signalQueryAfterMode(nullptr), Commands{query(115)});

    AttachedPower<> power;  // no mode assistor at all
    power.assistor.QuerySignal();
    EXPECT_EQ(power.line.sent(), Commands{query(115)});
}

TEST(PowerAssistorHelper, ReplacingTheHelperUnbindsAndDeletesTheOldOne)
{
    AttachedPower<> power;
    auto* replacement = new CPowerHelper(&power.assistor);
    power.assistor.SetPowerHelp(replacement);
    EXPECT_EQ(power.assistor.GetPowerHelp(), replacement);
    // the old helper no longer hears the line: one answer fires once, not twice
    power.assistor.SetPhoneLine(&power.line);
    power.line.answerModify(126, "OK");
    EXPECT_EQ(power.events.list(), Events{"PowerOn(1)"});
    power.assistor.PowerOff();
    EXPECT_EQ(power.line.sent(), Commands{modify(127, "0,0")});
}

TEST(PowerAssistorHelper, ReplacingWithTheSameHelperKeepsIt)
{
    AttachedPower<> power;
    CPowerHelper* helper = power.assistor.GetPowerHelp();
    power.assistor.SetPowerHelp(helper);
    EXPECT_EQ(power.assistor.GetPowerHelp(), helper);
    power.line.answerModify(127, "OK");
    EXPECT_EQ(power.events.list(), Events{"PowerOff(1)"});
}

}  // namespace
