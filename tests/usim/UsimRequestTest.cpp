#include <gtest/gtest.h>

#include <vector>

#include <cellctl/usim/CUsimAssistor.h>
#include <cellctl/usim/CUsimHelper.h>

#include "UsimRig.h"

namespace {

using cellctl::test::RecordingPhoneLine;
using cellctl::test::UsimRig;
using Commands = std::vector<RecordingPhoneLine::Command>;

TEST(UsimRequests, EachRequestSendsItsCodeAndText)
{
    UsimRig rig;
    CUsimAssistor& a = rig.assistor;
    a.QuerySimCardMode();
    a.QueryPinStatus();
    a.QueryAttemptRemainCount();
    a.QueryIsPinStarted();
    a.CheckPin("1234");
    a.CheckPin("");
    a.CheckPuk("12345678");
    a.ChangePin("12345678", "4321");
    a.StartupPin("1234");
    a.StartupPin("");
    a.ClosePin("12 4");
    a.ChangeLockSimCardPassword("old", "new");
    a.ChangeSimFixedDialingMemoryPassword("a\"b", "");

    EXPECT_EQ(
        rig.line.sent(),
        (Commands{
            RecordingPhoneLine::Query(128), RecordingPhoneLine::Query(62), RecordingPhoneLine::Query(153),
            RecordingPhoneLine::Query(21), RecordingPhoneLine::Modify(63, "1234"), RecordingPhoneLine::Modify(63, ""),
            RecordingPhoneLine::Modify(63, "12345678"),  // the PUK goes out as a PIN entry
            RecordingPhoneLine::Modify(64, "12345678,4321"), RecordingPhoneLine::Modify(21, "1,\"1234\""),
            RecordingPhoneLine::Modify(21, "1,\"\""), RecordingPhoneLine::Modify(21, "0,\"12 4\""),
            RecordingPhoneLine::Modify(37, "\"old\",\"new\""),
            RecordingPhoneLine::Modify(50, "\"a\"b\",\"\""),  // inserted as given, no escaping
        }));
    EXPECT_TRUE(rig.events.empty());
}

TEST(UsimRequests, InterfaceOnlyOperationsSendNothing)
{
    UsimRig rig;
    rig.assistor.Activate();
    rig.assistor.DeActivate();
    rig.assistor.SetPinPassword("1234");
    EXPECT_EQ(rig.assistor.QueryUsimStatus(), 0);
    EXPECT_TRUE(rig.line.sent().empty());

    CUsimAssistor detached;
    EXPECT_EQ(detached.QueryUsimStatus(), 0);
}

TEST(UsimRequests, WithoutPhoneLineNothingHappens)
{
    CUsimAssistor assistor;
    int callbacks = 0;
    assistor.connectCheckPinResult([&](bool, int) { ++callbacks; });
    assistor.QuerySimCardMode();
    assistor.QueryPinStatus();
    assistor.QueryAttemptRemainCount();
    assistor.QueryIsPinStarted();
    for (int i = 0; i < 4; ++i)
        assistor.CheckPin("1234");
    assistor.CheckPuk("12345678");
    assistor.ChangePin("1", "2");
    assistor.StartupPin("1234");
    assistor.ClosePin("1234");
    assistor.ChangeLockSimCardPassword("a", "b");
    assistor.ChangeSimFixedDialingMemoryPassword("a", "b");
    EXPECT_EQ(callbacks, 0);
    EXPECT_EQ(assistor.GetPinCheckCounterRemain(), 3);  // nothing sent, nothing counted
}

TEST(UsimRequests, AfterResetRequestsStillGoOutButAnswersAreNotParsed)
{
    UsimRig rig;
    rig.assistor.ResetPhoneLine();
    rig.enterPin("ERROR");
    EXPECT_EQ(rig.line.sent(), Commands{RecordingPhoneLine::Modify(63, "0000")});
    EXPECT_TRUE(rig.events.empty());
    EXPECT_EQ(rig.assistor.GetPinCheckCounterRemain(), 3);
}

// The helper is exported: a host may drive it alone, with or without an assistor.
TEST(UsimHelper, WithoutAssistorAnswersAreDroppedAndSetAssistorRoutesThem)
{
    RecordingPhoneLine line;
    CUsimHelper helper(nullptr);
    helper.SetPhoneLine(&line);
    helper.Initialize();
    helper.CheckPin("1234");  // unguarded: no record is consulted
    EXPECT_EQ(line.sent(), Commands{RecordingPhoneLine::Modify(63, "1234")});

    for (int code : {21, 62, 128, 153})
        line.answerQuery(code, "ERROR: 10");
    for (int code : {21, 37, 50, 63, 64})
        line.answerModify(code, "OK");

    CUsimAssistor assistor;
    std::vector<int> remaining;
    assistor.connectCheckPinResult([&](bool, int left) { remaining.push_back(left); });
    helper.SetAssistor(&assistor);
    line.answerModify(63, "ERROR");
    EXPECT_EQ(remaining, std::vector<int>{2});
    helper.UnInitialize();
}

}  // namespace
