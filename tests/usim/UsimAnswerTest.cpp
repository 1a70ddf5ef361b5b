#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "UsimRig.h"

namespace {

using cellctl::test::Events;
using cellctl::test::UsimRig;

enum class Via { Query, Modify };

struct Answer {
    Via via;
    int code;
    std::string text;
};

void deliver(UsimRig& rig, const Answer& answer)
{
    if (answer.via == Via::Query)
        rig.line.answerQuery(answer.code, answer.text);
    else
        rig.line.answerModify(answer.code, answer.text);
}

std::string describe(const Answer& answer)
{
    return (answer.via == Via::Query ? "query " : "modify ") + std::to_string(answer.code) + " \"" + answer.text + '"';
}

TEST(UsimAnswers, EachHandledCodeReachesItsCallback)
{
    const struct {
        Answer answer;
        Events expected;
    } cases[] = {
        {{Via::Query, 21, "+CLCK: 1\nOK"}, {"QueryIsPinStarted(+CLCK: 1\nOK)"}},
        {{Via::Query, 62, "SIM PIN"}, {"NeedCheckPin(true)"}},
        {{Via::Query, 128, "+CME ERROR: 10"}, {"QuerySimCardExist(true)"}},
        {{Via::Query, 153, "+PINC: 3,10\nOK"}, {"QueryAttemptRemain(+PINC: 3,10\nOK)"}},
        {{Via::Modify, 21, "OK"}, {"CheckPin(true,3)"}},
        {{Via::Modify, 21, "ERROR"}, {"CheckPin(false,2)"}},  // a wrong PIN on the lock counts
        {{Via::Modify, 37, "\nOK"}, {"ChangeLockSimCardPassword(true)"}},
        {{Via::Modify, 37, "+CME ERROR: 16"}, {"ChangeLockSimCardPassword(false)"}},
        {{Via::Modify, 50, "OK"}, {"ChangeSimFixedDialingMemoryPassword(true)"}},
        {{Via::Modify, 50, "ok"}, {"ChangeSimFixedDialingMemoryPassword(false)"}},
        {{Via::Modify, 63, "OK"}, {"CheckPin(true,3)"}},
        {{Via::Modify, 63, ""}, {"CheckPin(false,2)"}},
        {{Via::Modify, 64, "ERROR"}, {"CheckPuk(false,9)"}},
        {{Via::Modify, 64, "OK"}, {"CheckPuk(true,10)"}},
    };
    for (const auto& c : cases) {
        UsimRig rig;
        deliver(rig, c.answer);
        EXPECT_EQ(rig.events, c.expected) << describe(c.answer);
    }
}

TEST(UsimAnswers, CodesNotHandledOnASignalChangeNothing)
{
    const Answer unhandled[] = {
        {Via::Modify, 62, "SIM PIN"}, {Via::Modify, 128, "ERROR: 10"}, {Via::Modify, 153, "3,10"},
        {Via::Query, 63, "ERROR"},    {Via::Query, 64, "ERROR"},       {Via::Query, 37, "OK"},
        {Via::Query, 50, "OK"},       {Via::Query, 11, "SIM PUK"},     {Via::Modify, 999, "ERROR"},
    };
    for (const Answer& answer : unhandled) {
        UsimRig rig;
        deliver(rig, answer);
        EXPECT_TRUE(rig.events.empty()) << describe(answer);
        EXPECT_EQ(rig.assistor.GetPinCheckCounterRemain(), 3) << describe(answer);
        EXPECT_EQ(rig.assistor.GetPukCheckCounterRemain(), 10) << describe(answer);
        EXPECT_EQ(rig.assistor.GetAttemptRemainCount(), "") << describe(answer);
    }
}

TEST(UsimAnswers, PinStatusWordsCompareExactlyExceptReady)
{
    const struct {
        const char* status;
        Events expected;
    } cases[] = {
        {"SIM PIN", {"NeedCheckPin(true)"}},
        {"SIM PUK", {"NeedCheckPuk(true)"}},
        {"Ready", {"NeedCheckPin(false)"}},
        {"+CPIN: Ready\nOK", {"NeedCheckPin(false)"}},
        {"SIM PIN Ready", {"NeedCheckPin(false)"}},  // not the whole word, but contains Ready
        {"PUK PIN", {}},
        {"ERROR", {}},
        {"", {}},
        {"sim pin", {}},
        {"SIM PIN\r", {}},
        {" SIM PUK", {}},
        {"READY", {}},
    };
    for (const auto& c : cases) {
        UsimRig rig;
        rig.line.answerQuery(62, c.status);
        EXPECT_EQ(rig.events, c.expected) << '"' << c.status << '"';
    }
}

TEST(UsimAnswers, SimAbsentIsFoundAnywhereInTheModeAnswer)
{
    for (const char* absent : {"ERROR: 10", "+CME ERROR: 10", "+CME ERROR: 100", "x\nERROR: 10\n"}) {
        UsimRig rig;
        rig.line.answerQuery(128, absent);
        EXPECT_EQ(rig.events, Events{"QuerySimCardExist(true)"}) << absent;
    }
    for (const char* silent : {"", "OK", "+CME ERROR: 1", "error: 10", "ERROR:10"}) {
        UsimRig rig;
        rig.line.answerQuery(128, silent);
        EXPECT_TRUE(rig.events.empty()) << silent;
    }
}

TEST(UsimAnswers, EmptyLockStateAndAttemptAnswersAreIgnored)
{
    UsimRig rig;
    rig.line.answerQuery(21, "");
    EXPECT_TRUE(rig.take().empty());

    rig.line.answerQuery(153, "3,10");
    rig.line.answerQuery(153, "");
    EXPECT_EQ(rig.take(), Events{"QueryAttemptRemain(3,10)"});
    EXPECT_EQ(rig.assistor.GetAttemptRemainCount(), "3,10");
}

TEST(UsimPin, ThreeFailuresThenCheckPinIsRefused)
{
    UsimRig rig;
    for (int i = 0; i < 3; ++i)
        rig.enterPin("+CME ERROR: 16");
    EXPECT_EQ(rig.take(), (Events{"CheckPin(false,2)", "CheckPin(false,1)", "CheckPin(false,0)"}));
    EXPECT_EQ(rig.assistor.GetPinCheckCounterRemain(), 0);

    rig.line.clear();
    rig.assistor.CheckPin("0000");
    EXPECT_TRUE(rig.line.sent().empty());
    EXPECT_TRUE(rig.events.empty());

    // Switching the lock also verifies the PIN; its success lifts the block.
    rig.line.answerModify(21, "OK");
    EXPECT_EQ(rig.take(), Events{"CheckPin(true,3)"});
    rig.assistor.CheckPin("0000");
    EXPECT_EQ(rig.line.sent().size(), 1u);
}

TEST(UsimPin, SuccessAfterFailuresReportsTheFullLimit)
{
    UsimRig rig;
    rig.enterPin("ERROR");
    rig.enterPin("ERROR");
    rig.enterPin("\r\nOK\r\n");
    EXPECT_EQ(rig.take(), (Events{"CheckPin(false,2)", "CheckPin(false,1)", "CheckPin(true,3)"}));
}

TEST(UsimPuk, CheckPukIsAPinEntryAndOnlyChangePinMovesThePukRecord)
{
    UsimRig rig;
    for (int i = 0; i < 3; ++i)
        rig.enterPin("ERROR");
    rig.take();
    rig.line.clear();

    // The PIN record is exhausted, yet CheckPuk goes out: its own record allows it.
    rig.assistor.CheckPuk("12345678");
    EXPECT_EQ(rig.line.sent(), std::vector{cellctl::test::RecordingPhoneLine::Modify(63, "12345678")});
    rig.line.answerModify(63, "ERROR");
    EXPECT_EQ(rig.take(), Events{"CheckPin(false,0)"});
    EXPECT_EQ(rig.assistor.GetPukCheckCounterRemain(), 10);

    rig.assistor.ChangePin("12345678", "4321");
    rig.line.answerModify(64, "ERROR");
    rig.line.answerModify(64, "OK");
    EXPECT_EQ(rig.take(), (Events{"CheckPuk(false,9)", "CheckPuk(true,10)"}));
    EXPECT_EQ(rig.assistor.GetPinCheckCounterRemain(), 0);  // the PIN record is left alone
}

TEST(UsimPuk, TenFailedPukAnswersRefuseCheckPuk)
{
    UsimRig rig;
    for (int i = 0; i < 11; ++i)
        rig.line.answerModify(64, "ERROR");
    Events events = rig.take();
    ASSERT_EQ(events.size(), 11u);
    EXPECT_EQ(events[9], "CheckPuk(false,0)");
    EXPECT_EQ(events[10], "CheckPuk(false,0)");

    rig.assistor.CheckPuk("12345678");
    EXPECT_TRUE(rig.line.sent().empty());
    rig.assistor.CheckPin("0000");  // the PIN record still allows its own entry
    EXPECT_EQ(rig.line.sent().size(), 1u);
}

TEST(UsimCallbacks, DisconnectingOneKindLeavesTheOthers)
{
    // Every kind, with the answer that fires it and its disconnect operation.
    const struct {
        Answer answer;
        std::string event;
        std::function<void(CUsimAssistor&)> disconnect;
    } kinds[] = {
        {{Via::Query, 62, "SIM PIN"}, "NeedCheckPin(true)", &CUsimAssistor::disconnectNeedCheckPinResult},
        {{Via::Query, 62, "SIM PUK"}, "NeedCheckPuk(true)", &CUsimAssistor::disconnectNeedCheckPukResult},
        {{Via::Modify, 63, "OK"}, "CheckPin(true,3)", &CUsimAssistor::disconnectCheckPinResult},
        {{Via::Modify, 64, "OK"}, "CheckPuk(true,10)", &CUsimAssistor::disconnectCheckPukResult},
        {{Via::Query, 128, "ERROR: 10"}, "QuerySimCardExist(true)", &CUsimAssistor::disconnectQuerySimCardExistResult},
        {{Via::Query, 153, "3"}, "QueryAttemptRemain(3)", &CUsimAssistor::disconnectQueryAttemptRemain},
        {{Via::Query, 21, "1"}, "QueryIsPinStarted(1)", &CUsimAssistor::disconnectQueryIsPinStarted},
        {{Via::Modify, 37, "OK"},
         "ChangeLockSimCardPassword(true)",
         &CUsimAssistor::disconnectChangeLockSimCardPassword},
        {{Via::Modify, 50, "OK"},
         "ChangeSimFixedDialingMemoryPassword(true)",
         &CUsimAssistor::disconnectChangeSimFixedDialingMemoryPassword},
    };
    for (const auto& removed : kinds) {
        UsimRig rig;
        removed.disconnect(rig.assistor);
        Events expected;
        for (const auto& kind : kinds) {
            deliver(rig, kind.answer);
            if (&kind != &removed)
                expected.push_back(kind.event);
        }
        EXPECT_EQ(rig.events, expected) << "disconnected " << removed.event;
    }
}

TEST(UsimLifecycle, CountersSurviveDetachAndReattach)
{
    UsimRig rig;
    rig.enterPin("ERROR");
    rig.enterPin("ERROR");
    rig.line.answerModify(64, "ERROR");
    rig.line.answerQuery(153, "1,9");
    rig.take();

    rig.assistor.ResetPhoneLine();
    rig.line.answerModify(63, "OK");  // detached: not counted
    EXPECT_TRUE(rig.events.empty());

    cellctl::test::RecordingPhoneLine other;
    rig.assistor.SetPhoneLine(&other);
    EXPECT_EQ(rig.assistor.GetPinCheckCounterRemain(), 1);
    EXPECT_EQ(rig.assistor.GetPukCheckCounterRemain(), 9);
    EXPECT_EQ(rig.assistor.GetAttemptRemainCount(), "1,9");

    rig.assistor.CheckPin("0000");
    other.answerModify(63, "ERROR");
    EXPECT_EQ(rig.take(), Events{"CheckPin(false,0)"});
    rig.assistor.ResetPhoneLine();
    rig.assistor.SetPhoneLine(&rig.line);  // the rig detaches it again at the end
}

}  // namespace
