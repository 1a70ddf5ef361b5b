#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PowerTestSupport.h"

namespace {

using cellctl::test::AttachedPower;
using Events = std::vector<std::string>;

// The events that one answer on the given signal produces.
Events queryAnswer(int code, const std::string& answer)
{
    AttachedPower<> power;
    power.line.answerQuery(code, answer);
    return power.events.list();
}

Events modifyAnswer(int code, const std::string& answer)
{
    AttachedPower<> power;
    power.line.answerModify(code, answer);
    return power.events.list();
}

TEST(PowerAnswers, OkAnywhereMeansSuccess)
{
    EXPECT_EQ(modifyAnswer(126, "OK"), Events{"PowerOn(1)"});
    EXPECT_EQ(modifyAnswer(126, "\r\nOK\r\n"), Events{"PowerOn(1)"});
    EXPECT_EQ(modifyAnswer(126, "BOOKED"), Events{"PowerOn(1)"});
    EXPECT_EQ(modifyAnswer(126, "ok"), Events{"PowerOn(0)"});
    EXPECT_EQ(modifyAnswer(126, "+CME ERROR: 3"), Events{"PowerOn(0)"});
    EXPECT_EQ(modifyAnswer(126, ""), Events{"PowerOn(0)"});
    EXPECT_EQ(modifyAnswer(127, "OK"), Events{"PowerOff(1)"});
    EXPECT_EQ(modifyAnswer(127, "ERROR"), Events{"PowerOff(0)"});
    EXPECT_EQ(modifyAnswer(164, "OK"), Events{"SoftReset(1)"});
    EXPECT_EQ(modifyAnswer(164, "ERROR"), Events{"SoftReset(0)"});
    EXPECT_EQ(modifyAnswer(125, "OK"), Events{"DisableReadPbByPf(1)"});
    EXPECT_EQ(modifyAnswer(125, "ERROR"), Events{"DisableReadPbByPf(0)"});
}

TEST(PowerAnswers, SignalLevelFollowsTheSixCharacterPrefix)
{
    EXPECT_EQ(queryAnswer(6, "+CSQ: 23,99\nOK"), Events{"QuerySignal(0,23)"});
    EXPECT_EQ(queryAnswer(115, "+CSQ: 31,99\nOK"), Events{"QuerySignal(2,31)"});
    // shorter than seven characters: no digits to read
    EXPECT_EQ(queryAnswer(6, "+CSQ: "), Events{"QuerySignal(0,0)"});
    EXPECT_EQ(queryAnswer(6, "OK"), Events{"QuerySignal(0,0)"});
    EXPECT_EQ(queryAnswer(115, ""), Events{"QuerySignal(2,0)"});
    // an error answer has no number where the level stands
    EXPECT_EQ(queryAnswer(6, "+CME ERROR: 30"), Events{"QuerySignal(0,0)"});
    // the level is a signed 8-bit reading: above 127 it wraps
    EXPECT_EQ(queryAnswer(6, "+CSQ: 127,99"), Events{"QuerySignal(0,127)"});
    EXPECT_EQ(queryAnswer(6, "+CSQ: 200,99"), Events{"QuerySignal(0,-56)"});
    EXPECT_EQ(queryAnswer(115, "+CSQ: 99999999999999999999"), Events{"QuerySignal(2,-1)"});
}

TEST(PowerAnswers, RegistrationIsTheLeadingNumberOnEitherSignal)
{
    EXPECT_EQ(queryAnswer(10, "1"), Events{"Registration(1)"});
    EXPECT_EQ(modifyAnswer(10, "5"), Events{"Registration(5)"});
    EXPECT_EQ(queryAnswer(10, "  \t-3,1"), Events{"Registration(-3)"});
    EXPECT_EQ(queryAnswer(10, "+2"), Events{"Registration(2)"});
    // an answer that starts with its response prefix holds no leading number
    EXPECT_EQ(queryAnswer(10, "+CREG: 0,1\nOK"), Events{"Registration(0)"});
    EXPECT_EQ(modifyAnswer(10, ""), Events{"Registration(0)"});
}

TEST(PowerAnswers, RegistrationReadingIsDefinedForHugeNumbers)
{
    // wraps modulo 2^32 instead of overflowing
    EXPECT_EQ(queryAnswer(10, "2147483647"), Events{"Registration(2147483647)"});
    EXPECT_EQ(queryAnswer(10, "2147483648"), Events{"Registration(-2147483648)"});
    EXPECT_EQ(queryAnswer(10, "-2147483648"), Events{"Registration(-2147483648)"});
    EXPECT_EQ(queryAnswer(10, "99999999999999999999"), Events{"Registration(1661992959)"});
    EXPECT_EQ(modifyAnswer(10, std::string(5000, '9')).size(), 1u);
}

TEST(PowerAnswers, PowerOnStatusReadsTheFunctionalityLine)
{
    EXPECT_EQ(queryAnswer(165, "+CFUN: 1\nOK"), Events{"QueryPowerOn(1)"});
    EXPECT_EQ(queryAnswer(165, "\r\n+CFUN: 1\r\n\r\nOK\r\n"), Events{"QueryPowerOn(1)"});
    EXPECT_EQ(queryAnswer(165, "+CFUN: 0\nOK"), Events{"QueryPowerOn(0)"});
    EXPECT_EQ(queryAnswer(165, "+CFUN: 4\nOK"), Events{"QueryPowerOn(1)"});
    // no "+CFUN: " line: the number is read from the last line
    EXPECT_EQ(queryAnswer(165, "OK"), Events{"QueryPowerOn(0)"});
    EXPECT_EQ(queryAnswer(165, "ERROR"), Events{"QueryPowerOn(0)"});
    EXPECT_EQ(queryAnswer(165, "junk\n1"), Events{"QueryPowerOn(1)"});
    EXPECT_EQ(queryAnswer(165, "+CFUN:1\nOK"), Events{"QueryPowerOn(0)"});
    EXPECT_EQ(queryAnswer(165, ""), Events{"QueryPowerOn(0)"});
}

TEST(PowerAnswers, OperatorNameIsTheFirstQuotedText)
{
    AttachedPower<> power;
    power.assistor.ParseCopsResult("+COPS: 0,2,\"46000\",2");
    power.assistor.ParseCopsResult("one \" quote");
    power.assistor.ParseCopsResult("\"a\"b\"c\"");
    power.assistor.ParseCopsResult("\"\"");
    EXPECT_EQ(power.events.list(), (Events{"QueryCops(46000)", "QueryCops()", "QueryCops(a)", "QueryCops()"}));
}

TEST(PowerAnswers, OnlyItsOwnCodesReachTheAssistor)
{
    AttachedPower<> power;
    // codes the helper sends but does not parse, and codes of other subsystems
    for (int code : {3,   11,  21,  62,  113, 114, 116, 119, 120, 122, 123, 124, 128, 130, 132, 133,
                     134, 135, 136, 137, 138, 139, 140, 141, 142, 143, 144, 145, 146, 149, 156}) {
        power.line.answerQuery(code, "1\nOK");
        power.line.answerModify(code, "1\nOK");
    }
    // the routed codes on the signal they do not use
    for (int code : {125, 126, 127, 164})
        power.line.answerQuery(code, "1\nOK");
    for (int code : {6, 115, 165})
        power.line.answerModify(code, "1\nOK");
    EXPECT_TRUE(power.events.list().empty());
}

TEST(PowerAnswers, HelperWithoutAssistorDropsAnswers)
{
    cellctl::test::RecordingPhoneLine line;
    CPowerHelper helper(nullptr);
    helper.SetPhoneLine(&line);
    helper.Initialize();
    for (int code : {6, 10, 115, 165})
        line.answerQuery(code, "+CFUN: 1\nOK");
    for (int code : {10, 125, 126, 127, 164})
        line.answerModify(code, "OK");
    helper.ParseCopsResult("\"x\"");
    helper.UnInitialize();

    // the back pointer can be set later, and copies keep it
    AttachedPower<> power;
    helper.SetPowerAssistor(&power.assistor);
    CPowerHelper copy(helper);
    copy.ParsePowerOnResult("OK");
    EXPECT_EQ(power.events.list(), Events{"PowerOn(1)"});
}

TEST(PowerAnswers, QueryCregStatusAnswersArriveAsRegistration)
{
    AttachedPower<> power;
    power.assistor.QueryCregStatus();
    EXPECT_EQ(power.line.sent(),
              std::vector<cellctl::test::RecordingPhoneLine::Command>{cellctl::test::RecordingPhoneLine::Query(10)});
    power.line.answerQuery(10, "1");
    EXPECT_EQ(power.events.list(), Events{"Registration(1)"});
}

TEST(PowerAnswers, CallbacksFollowConnectAndDisconnect)
{
    AttachedPower<> power;  // one callback of each kind already connected
    std::vector<bool> soft;
    power.assistor.connectSoftResetResult([&soft](bool ok) { soft.push_back(ok); });
    power.assistor.disconnectSoftRestResult();
    power.assistor.disconnectSoftRestResult();  // the earlier one stays
    power.line.answerModify(164, "OK");
    EXPECT_TRUE(soft.empty());
    EXPECT_EQ(power.events.list(), Events{"SoftReset(1)"});

    // a fresh assistor: one connect, one disconnect, nothing fires
    CPowerAssistor lone;
    int fired = 0;
    lone.connectSoftResetResult([&fired](bool) { ++fired; });
    lone.disconnectSoftRestResult();
    lone.ParseSoftResetResult("OK");
    lone.disconnectPowerOnResult();  // nothing ever connected
    lone.ParsePowerOnResult("OK");
    EXPECT_EQ(fired, 0);
}

}  // namespace
