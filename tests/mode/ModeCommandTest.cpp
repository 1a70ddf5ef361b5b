#include <gtest/gtest.h>

#include <vector>

#include "ModeTestSupport.h"

namespace {

using cellctl::test::AttachedModeAssistor;
using cellctl::test::RecordingPhoneLine;
using Commands = std::vector<RecordingPhoneLine::Command>;

CMode modeOf(int behavior, int modeType, int accessTech)
{
    CMode mode;
    mode.SetBehaviorType(static_cast<CMode::EBehaviorType>(behavior));
    mode.SetModeType(static_cast<CMode::EModeType>(modeType));
    mode.SetAccessTechType(static_cast<CMode::EAccessTechType>(accessTech));
    return mode;
}

TEST(ModeCommands, SwitchSendsAccessTechnologyOnlyWhenModeTypeIsNotZero)
{
    AttachedModeAssistor mode;
    CMode withoutAccessTech = modeOf(1, 0, 2);
    CMode withAccessTech = modeOf(1, 2, 0);
    CMode negative = modeOf(-1, -5, 2);
    mode.assistor.SwitchToMode(&withoutAccessTech);
    mode.assistor.SwitchToMode(&withAccessTech);
    mode.assistor.SwitchToMode(&negative);
    EXPECT_EQ(mode.line.sent(),
              (Commands{RecordingPhoneLine::Modify(132, "1,0"), RecordingPhoneLine::Modify(132, "1,2,0"),
                        RecordingPhoneLine::Modify(132, "-1,-5,2")}));
}

TEST(ModeCommands, PowerOnModeSendsZeroAndTheAccessTechnologyOnly)
{
    AttachedModeAssistor mode;
    CTDMode td;
    CGsmMode gsm;
    CMode other = modeOf(1, 3, 7);
    mode.assistor.SetPowerOnMode(&td);
    mode.assistor.SetPowerOnMode(&gsm);
    mode.assistor.SetPowerOnMode(&other);
    EXPECT_EQ(mode.line.sent(),
              (Commands{RecordingPhoneLine::Modify(133, "0,2"), RecordingPhoneLine::Modify(133, "0,0"),
                        RecordingPhoneLine::Modify(133, "0,7")}));
}

TEST(ModeCommands, ReportSwitchesAndQueries)
{
    AttachedModeAssistor mode;
    mode.assistor.EnableHsdpaNotification(true);
    mode.assistor.EnableHsdpaNotification(false);
    mode.assistor.EnableCellCapabilityChangesReport(true);
    mode.assistor.EnableCellCapabilityChangesReport(false);
    mode.assistor.QueryCurrentMode();
    mode.assistor.QueryPowerOnMode();
    EXPECT_EQ(mode.line.sent(), (Commands{RecordingPhoneLine::Modify(156, "1"), RecordingPhoneLine::Modify(156, "0"),
                                          RecordingPhoneLine::Modify(157, "1"), RecordingPhoneLine::Modify(157, "0"),
                                          RecordingPhoneLine::Query(132), RecordingPhoneLine::Query(133)}));
}

TEST(ModeCommands, NullRecordsAreIgnored)
{
    AttachedModeAssistor mode;
    mode.assistor.SwitchToMode(nullptr);
    mode.assistor.SetPowerOnMode(nullptr);
    EXPECT_TRUE(mode.line.sent().empty());
    EXPECT_TRUE(mode.events.empty());
}

TEST(ModeCommands, NothingIsSentWithoutPhoneLine)
{
    CModeAssistor assistor;
    CTDMode td;
    assistor.QueryCurrentMode();
    assistor.QueryPowerOnMode();
    assistor.SwitchToMode(&td);
    assistor.SetPowerOnMode(&td);
    assistor.EnableHsdpaNotification(true);
    assistor.EnableCellCapabilityChangesReport(true);
    assistor.ResetPhoneLine();  // never attached: harmless

    RecordingPhoneLine line;
    assistor.SetPhoneLine(&line);
    assistor.QueryCurrentMode();
    EXPECT_EQ(line.sent(), Commands{RecordingPhoneLine::Query(132)});
    assistor.ResetPhoneLine();
}

TEST(ModeCommands, AfterResetCommandsStillGoButAnswersAreNotParsed)
{
    AttachedModeAssistor mode;
    mode.assistor.ResetPhoneLine();
    mode.assistor.QueryCurrentMode();
    mode.line.answerQuery(132, "^DSTM: 1,2,0\nOK");
    mode.line.answerModify(156, "OK");
    EXPECT_EQ(mode.line.sent(), Commands{RecordingPhoneLine::Query(132)});
    EXPECT_TRUE(mode.events.empty());
    EXPECT_EQ(mode.assistor.GetCurrentMode(), nullptr);
}

}  // namespace
