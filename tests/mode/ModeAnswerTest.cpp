#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <cellctl/mode/CModeHelper.h>

#include "ModeTestSupport.h"

namespace {

using cellctl::test::AttachedModeAssistor;
using cellctl::test::modeNumbers;
using cellctl::test::RecordingPhoneLine;
using Commands = std::vector<RecordingPhoneLine::Command>;
using Events = std::vector<std::string>;
using Numbers = std::tuple<int, int, int>;

// The mode reported for one answer to query 132.
Numbers currentModeFor(const std::string& answer)
{
    AttachedModeAssistor mode;
    mode.line.answerQuery(132, answer);
    EXPECT_EQ(mode.events, Events{"QueryMode"}) << answer;
    if (mode.modes.size() != 1 || mode.modes[0] == nullptr)
        return Numbers(-1, -1, -1);
    return modeNumbers(*mode.modes[0]);
}

TEST(ModeAnswers, CurrentModeReadsTheModeLine)
{
    EXPECT_EQ(currentModeFor("^DSTM: 1,2,0\nOK"), Numbers(1, 2, 0));
    EXPECT_EQ(currentModeFor("\n^DSTM:   0,0,2\r\n\nOK"), Numbers(0, 0, 2));
    EXPECT_EQ(currentModeFor("^DSTM: 3,4,5"), Numbers(3, 4, 5));
    // numbers missing from the line read as 0, not as the defaults
    EXPECT_EQ(currentModeFor("^DSTM: 1\nOK"), Numbers(1, 0, 0));
    // a line that only contains the prefix later on is not the mode line
    EXPECT_EQ(currentModeFor("x^DSTM: 0,2,0\nOK"), Numbers(1, 0, 2));
}

TEST(ModeAnswers, CurrentModeErrorWordsAndBareOk)
{
    // only lower-case "error" marks a failed read: mode type 1
    EXPECT_EQ(currentModeFor("error"), Numbers(1, 1, 2));
    EXPECT_EQ(currentModeFor("^DSTM: 0,2,0\n+CME error: 3"), Numbers(1, 1, 2));
    // capitals and a bare OK give the defaults
    EXPECT_EQ(currentModeFor("ERROR"), Numbers(1, 0, 2));
    EXPECT_EQ(currentModeFor("OK"), Numbers(1, 0, 2));
    EXPECT_EQ(currentModeFor(""), Numbers(1, 0, 2));
}

TEST(ModeAnswers, CurrentModeKeepsCellCapabilityAndOneRecord)
{
    AttachedModeAssistor mode;
    EXPECT_EQ(mode.assistor.GetCurrentMode(), nullptr);
    mode.line.answerQuery(132, "^DSTM: 1,2,0\nOK");
    ASSERT_EQ(mode.modes.size(), 1u);
    EXPECT_EQ(mode.assistor.GetCurrentMode(), mode.modes[0]);
    mode.modes[0]->SetCellCapability(static_cast<CMode::ECellCapability>(4));

    mode.line.answerQuery(132, "^DSTM: 0,0,2\nOK");
    ASSERT_EQ(mode.modes.size(), 2u);
    EXPECT_EQ(mode.modes[1], mode.modes[0]);
    EXPECT_EQ(mode.assistor.GetCurrentMode(), mode.modes[0]);
    EXPECT_EQ(modeNumbers(*mode.modes[1]), Numbers(0, 0, 2));
    EXPECT_EQ(mode.modes[1]->GetCellCapability(), 4);
}

TEST(ModeAnswers, PowerOnModePutsItsNumbersInModeTypeAndAccessTechnology)
{
    AttachedModeAssistor mode;
    mode.line.answerQuery(133, "^DDTM: 1,2\nOK");
    mode.line.answerQuery(133, "^DDTM: 0,0\nOK");
    ASSERT_EQ(mode.powerOnModes.size(), 2u);
    EXPECT_EQ(mode.powerOnModes[0], mode.powerOnModes[1]);
    EXPECT_EQ(modeNumbers(*mode.powerOnModes[1]), Numbers(0, 0, 0));
    EXPECT_EQ(mode.events, (Events{"QueryPowerOnMode", "QueryPowerOnMode"}));

    mode.line.answerQuery(133, "^DDTM: 1,2\nOK");
    EXPECT_EQ(modeNumbers(*mode.powerOnModes[0]), Numbers(0, 1, 2));
    // the current mode is a separate record and stays unreported
    EXPECT_EQ(mode.assistor.GetCurrentMode(), nullptr);
}

TEST(ModeAnswers, PowerOnModeWithoutItsLineReadsTheLastLine)
{
    AttachedModeAssistor mode;
    mode.line.answerQuery(133, "garbage\n3,4");
    mode.line.answerQuery(133, "ERROR");
    ASSERT_EQ(mode.powerOnModes.size(), 2u);
    EXPECT_EQ(modeNumbers(*mode.powerOnModes[0]), Numbers(0, 0, 0));
    mode.line.answerQuery(133, "garbage\n3,4");
    EXPECT_EQ(modeNumbers(*mode.powerOnModes[0]), Numbers(0, 3, 4));
}

TEST(ModeAnswers, ResultAnswersReachTheirOwnCallbackOnly)
{
    AttachedModeAssistor mode;
    mode.line.answerModify(132, "OK");
    mode.line.answerModify(132, "ERROR");
    mode.line.answerModify(133, "\r\nOK\r\n");
    mode.line.answerModify(133, "ok");
    mode.line.answerModify(156, "OK");
    mode.line.answerModify(157, "+CME ERROR: 4");
    EXPECT_EQ(mode.events, (Events{"ParseSwitchMode=true", "ParseSwitchMode=false", "ParsePowerOnMode=true",
                                   "ParsePowerOnMode=false", "EnableHsdpaNotification=true",
                                   "EnableCellCapabilityChangesReport=false"}));
    EXPECT_TRUE(mode.line.sent().empty());
}

TEST(ModeAnswers, OtherCodesAndSignalsAreIgnored)
{
    AttachedModeAssistor mode;
    mode.line.answerQuery(156, "OK");  // result codes on the query signal
    mode.line.answerQuery(149, "2");
    mode.line.answerQuery(159, "^DCINFO: 1,1,1,1");
    mode.line.answerModify(10, "OK");  // someone else's codes
    mode.line.answerQuery(6, "^DSTM: 1,2,0");
    EXPECT_TRUE(mode.events.empty());
    EXPECT_TRUE(mode.line.sent().empty());
}

TEST(ModeReports, ModeChangeReReadsTheMode)
{
    AttachedModeAssistor mode;
    mode.line.answerModify(149, "2");
    mode.line.answerModify(149, "-1");
    EXPECT_EQ(mode.line.sent(), (Commands{RecordingPhoneLine::Query(132), RecordingPhoneLine::Query(132)}));
    EXPECT_TRUE(mode.events.empty());  // the mode arrives with the answer to the query

    mode.line.answerQuery(132, "^DSTM: 1,2,0\nOK");
    EXPECT_EQ(mode.events, Events{"QueryMode"});
}

TEST(ModeReports, GarbledModeChangeReReadsWithoutThrowing)
{
    AttachedModeAssistor mode;
    for (const char* report : {"x", "", " 2", "2\r\n", "99999999999999999999", "2,3"})
        EXPECT_NO_THROW(mode.line.answerModify(149, report)) << report;
    EXPECT_EQ(mode.line.sent(), Commands(6, RecordingPhoneLine::Query(132)));
    EXPECT_TRUE(mode.events.empty());
}

TEST(ModeReports, HsdpaIndicationSetsOnlyTheThirdFlag)
{
    AttachedModeAssistor mode;
    mode.line.answerModify(158, "+HSIND: 1");
    mode.line.answerModify(158, "+HSIND: 0");
    mode.line.answerModify(158, "\r\n+HSIND: 7\r");
    mode.line.answerModify(158, "nonsense");
    // reported as cell capability, never as the HSDPA notification
    EXPECT_EQ(mode.events, (Events{"CellCapabilityChangesInfo=0010", "CellCapabilityChangesInfo=0000",
                                   "CellCapabilityChangesInfo=0010", "CellCapabilityChangesInfo=0000"}));
}

TEST(ModeReports, CellCapabilityReportSetsTheFourFlagsInOrder)
{
    AttachedModeAssistor mode;
    mode.line.answerModify(159, "^DCINFO: 0,1,1,0");
    mode.line.answerModify(159, "^DCINFO: 2,0,0,9");
    mode.line.answerModify(159, "^DCINFO: 1");
    mode.line.answerModify(159, "");
    EXPECT_EQ(mode.events, (Events{"CellCapabilityChangesInfo=0110", "CellCapabilityChangesInfo=1001",
                                   "CellCapabilityChangesInfo=1000", "CellCapabilityChangesInfo=0000"}));
    EXPECT_TRUE(mode.line.sent().empty());
}

TEST(ModeReports, HelperWithoutAssistorParsesQuietly)
{
    RecordingPhoneLine line;
    CModeHelper helper(nullptr);
    helper.SetPhoneLine(&line);
    helper.Initialize();
    for (int code : {132, 133})
        line.answerQuery(code, "^DSTM: 1,2,0\nOK");
    for (int code : {132, 133, 156, 157, 158, 159})
        line.answerModify(code, "OK");
    line.answerModify(149, "2");
    EXPECT_EQ(line.sent(), Commands{RecordingPhoneLine::Query(132)});
    helper.UnInitialize();
}

}  // namespace
