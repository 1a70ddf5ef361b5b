// The channel over a real pty: the test plays the device byte by byte.

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DeviceRig.h"

namespace cellctl::at::test {
namespace {

using Query = PhoneLine::QueryType;

bool traced(const DeviceRig& rig, const std::string& fragment)
{
    return std::any_of(rig.trace.begin(), rig.trace.end(),
                       [&](const std::string& line) { return line.find(fragment) != std::string::npos; });
}

class Channel : public ::testing::Test {
protected:
    void SetUp() override { rig.openLine(); }

    DeviceRig rig;
};

TEST_F(Channel, OpensWithEchoOffAndReportsIt)
{
    ASSERT_FALSE(rig.events.empty());
    EXPECT_EQ(rig.events.front().first, ChannelEvent::Opened);
    EXPECT_EQ(rig.events.front().second, rig.pty->slavePath());
    EXPECT_TRUE(rig.line.isOpen());
    EXPECT_TRUE(rig.delivered.empty());
}

TEST_F(Channel, AnswerSplitAtEveryByteBoundaryReadsTheSame)
{
    const std::string answer = "\r\n+CSQ: 23,99\r\n\r\nOK\r\n";
    for (std::size_t cut = 0; cut <= answer.size(); ++cut) {
        rig.line.query(Query::SignalQualityGsm);
        ASSERT_EQ(rig.nextCommand(), "AT+CSQ");
        rig.deviceSends(answer.substr(0, cut));
        rig.deviceSends(answer.substr(cut));
        ASSERT_TRUE(rig.runUntilAnswered());
    }
    rig.line.query(Query::SignalQualityGsm);
    ASSERT_EQ(rig.nextCommand(), "AT+CSQ");
    rig.deviceSendsBytewise(answer);
    ASSERT_TRUE(rig.runUntilAnswered());

    ASSERT_EQ(rig.delivered.size(), answer.size() + 2);
    for (const Delivered& delivered : rig.delivered)
        EXPECT_EQ(delivered, queryAnswer(6, "+CSQ: 23,99\nOK"));
}

TEST_F(Channel, BareCrAndBareLfEndLinesToo)
{
    rig.line.query(Query::PhoneFunctionality);
    ASSERT_EQ(rig.nextCommand(), "AT+CFUN?");
    rig.deviceSends("+CFUN: 1\rOK\n");
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_EQ(rig.delivered.back(), queryAnswer(165, "+CFUN: 1\nOK"));
}

TEST_F(Channel, EchoLeftOnIsSkippedAndResultsGluedToItSurvive)
{
    rig.line.query(Query::SignalQualityGsm);
    ASSERT_EQ(rig.nextCommand(), "AT+CSQ");
    rig.deviceSends("AT+CSQ\r\r\n+CSQ: 5,99\r\n\r\nOK\r\n");
    rig.line.query(Query::PhoneFunctionality);
    ASSERT_EQ(rig.nextCommand(), "AT+CFUN?");
    rig.deviceSends("AT+CFUN?\rERROR\r\n");
    rig.line.modify(Query::PowerOn, "1,0");
    ASSERT_EQ(rig.nextCommand(), "AT+CFUN=1,0");
    rig.deviceSends("AT+CFUN=1,0NO CARRIER\r\n");
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_EQ(rig.delivered, (std::vector<Delivered>{queryAnswer(6, "+CSQ: 5,99\nOK"), queryAnswer(165, "ERROR"),
                                                     modifyAnswer(126, "NO CARRIER")}));
}

TEST_F(Channel, ReportsBeforeInsideAndAfterAnAnswerGoToTheModifySignal)
{
    rig.deviceAnswers({"+CREG: 1"});
    rig.line.query(Query::PreferredOperators);
    ASSERT_EQ(rig.nextCommand(), "AT+CPOL?");
    rig.deviceAnswers({"+HSIND: 1"});
    rig.deviceSends("\r\n+CPOL: 1,2,\"46000\",0,0,1\r\n+CGREG: 5\r\n+CPOL: 2,2,\"46001\",1,0,0\r\n\r\nOK\r\n");
    rig.deviceAnswers({"^DSTMR: 2", "^DCINFO: 0,1,1,0"});
    ASSERT_TRUE(rig.runUntil([&] { return rig.delivered.size() == 6; }));
    EXPECT_EQ(rig.delivered,
              (std::vector<Delivered>{modifyAnswer(10, "1"), modifyAnswer(158, "+HSIND: 1"), modifyAnswer(117, "5"),
                                      queryAnswer(93, "+CPOL: 1,2,\"46000\",0,0,1\n+CPOL: 2,2,\"46001\",1,0,0\nOK"),
                                      modifyAnswer(149, "2"), modifyAnswer(159, "^DCINFO: 0,1,1,0")}));
}

TEST_F(Channel, ALineWithThePrefixOfTheCommandInFlightIsItsAnswer)
{
    rig.line.query(Query::NetworkRegistration);
    ASSERT_EQ(rig.nextCommand(), "AT+CREG?");
    rig.deviceAnswers({"+CREG: 5", "+CREG: 2,1,\"00A1\",\"1B2C\"", "OK"});
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_EQ(rig.delivered, (std::vector<Delivered>{queryAnswer(10, "1,\"00A1\",\"1B2C\"\nOK")}));
}

TEST_F(Channel, ASetCommandTakesNoInformationLinesSoAReportDuringItStaysAReport)
{
    rig.line.modify(Query::HsdpaNotification, "1");
    ASSERT_EQ(rig.nextCommand(), "AT+HSIND=1");
    rig.deviceAnswers({"+HSIND: 1", "OK"});
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_EQ(rig.delivered, (std::vector<Delivered>{modifyAnswer(158, "+HSIND: 1"), modifyAnswer(156, "OK")}));
}

TEST_F(Channel, UnusedAndUnknownUnsolicitedLinesAreTracedAndDropped)
{
    rig.deviceAnswers({"RING", "+CPIN: READY"});
    rig.line.query(Query::SignalQualityGsm);
    ASSERT_EQ(rig.nextCommand(), "AT+CSQ");
    rig.deviceAnswers({"+CGEV: ME DETACH", "+CSQ: 7,99", "^WHATEVER: 1", "OK"});
    ASSERT_TRUE(rig.runUntilAnswered());
    rig.settle();
    EXPECT_EQ(rig.delivered, std::vector<Delivered>{queryAnswer(6, "+CSQ: 7,99\nOK")});
    EXPECT_TRUE(traced(rig, "< ^WHATEVER: 1"));
    EXPECT_TRUE(traced(rig, "dropped: unsolicited, not used"));
    EXPECT_TRUE(traced(rig, "dropped: not part of the answer"));
}

TEST_F(Channel, ErrorResultsAreTheAnswer)
{
    rig.line.modify(Query::EnterPin, "0000");
    ASSERT_EQ(rig.nextCommand(), "AT+CPIN=\"0000\"");
    rig.deviceAnswers({"+CME ERROR: 16"});
    rig.line.modify(Query::PdpContext, "1,\"IP\",\"cmnet\",,0,0");
    ASSERT_EQ(rig.nextCommand(), "AT+CGDCONT=1,\"IP\",\"cmnet\",,0,0");
    rig.deviceAnswers({"+CMS ERROR: 500"});
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_EQ(rig.delivered,
              (std::vector<Delivered>{modifyAnswer(63, "+CME ERROR: 16"), modifyAnswer(121, "+CMS ERROR: 500")}));
}

TEST_F(Channel, CommandsWaitTheirTurnOnePerLine)
{
    rig.line.query(Query::SignalQualityGsm);
    rig.line.query(Query::PhoneFunctionality);
    rig.line.modify(Query::ReportMobileTerminationError, "1");
    ASSERT_EQ(rig.nextCommand(), "AT+CSQ");
    EXPECT_EQ(rig.unreadOutput(), "");
    EXPECT_EQ(rig.line.pendingCommands(), 3u);
    rig.deviceAnswers({"+CSQ: 1,99", "OK"});
    ASSERT_EQ(rig.nextCommand(), "AT+CFUN?");
    rig.deviceAnswers({"+CFUN: 0", "OK"});
    ASSERT_EQ(rig.nextCommand(), "AT+CMEE=1");
    rig.deviceAnswers({"OK"});
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_EQ(rig.delivered, (std::vector<Delivered>{queryAnswer(6, "+CSQ: 1,99\nOK"), queryAnswer(165, "+CFUN: 0\nOK"),
                                                     modifyAnswer(114, "OK")}));
}

TEST_F(Channel, CodesOutsideTheDialectAreAnsweredErrorAndNothingIsWritten)
{
    rig.line.query(static_cast<Query>(999));
    rig.line.modify(Query::RevisionIdentification, "1");
    rig.line.query(Query::EnterPin);
    rig.line.query(Query::SignalQualityGsm);
    ASSERT_EQ(rig.nextCommand(), "AT+CSQ");
    rig.deviceAnswers({"+CSQ: 1,99", "OK"});
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_EQ(rig.delivered, (std::vector<Delivered>{queryAnswer(999, "ERROR"), modifyAnswer(3, "ERROR"),
                                                     queryAnswer(63, "ERROR"), queryAnswer(6, "+CSQ: 1,99\nOK")}));
    EXPECT_TRUE(traced(rig, "refused query 999: the code is not in the dialect"));
}

class SlowDevice : public ::testing::Test {
protected:
    void SetUp() override { rig.openLine(); }

    DeviceRig rig{quickTimeouts()};
};

TEST_F(SlowDevice, ACommandWithoutAnswerTimesOutAndLaterCommandsStillGoInOrder)
{
    rig.line.query(Query::SignalQualityGsm);
    rig.line.query(Query::PhoneFunctionality);
    ASSERT_EQ(rig.nextCommand(), "AT+CSQ");
    // No answer: the channel gives up, answers ERROR and resynchronises.
    ASSERT_EQ(rig.nextCommand(), "AT");
    EXPECT_EQ(rig.delivered, std::vector<Delivered>{queryAnswer(6, "ERROR")});
    rig.deviceAnswers({"OK"});
    // The timed-out command's answer never came: once the probe meets silence
    // the channel knows it was lost and goes on.
    ASSERT_EQ(rig.nextCommand(), "AT+CFUN?");
    rig.deviceAnswers({"+CFUN: 1", "OK"});
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_EQ(rig.delivered, (std::vector<Delivered>{queryAnswer(6, "ERROR"), queryAnswer(165, "+CFUN: 1\nOK")}));
    ASSERT_FALSE(rig.events.empty());
    EXPECT_EQ(rig.events.back(), std::make_pair(ChannelEvent::Timeout, std::string("AT+CSQ")));
}

TEST_F(SlowDevice, ALateAnswerNeverLandsOnTheNextCommand)
{
    rig.line.query(Query::SignalQualityGsm);
    rig.line.query(Query::PhoneFunctionality);
    ASSERT_EQ(rig.nextCommand(), "AT+CSQ");
    ASSERT_EQ(rig.nextCommand(), "AT");
    // The device finishes the old command first, then answers the probe. Taking
    // the first OK for the probe's would hand the probe's OK to AT+CFUN?.
    rig.deviceAnswers({"+CSQ: 9,99", "OK", "OK"});
    ASSERT_EQ(rig.nextCommand(), "AT+CFUN?");
    rig.deviceAnswers({"+CFUN: 0", "OK"});
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_EQ(rig.delivered, (std::vector<Delivered>{queryAnswer(6, "ERROR"), queryAnswer(165, "+CFUN: 0\nOK")}));
    // Both finals came, so the probe's OK ended the resynchronisation; it did
    // not wait out the probe's timeout and guess that answers were lost.
    EXPECT_TRUE(traced(rig, "in step again"));
    EXPECT_FALSE(traced(rig, "answers were lost"));
}

TEST_F(SlowDevice, ASilentDeviceStillAnswersEveryCommandWithError)
{
    rig.line.query(Query::SignalQualityGsm);
    rig.line.query(Query::PhoneFunctionality);
    rig.line.modify(Query::ReportMobileTerminationError, "1");
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_EQ(rig.delivered,
              (std::vector<Delivered>{queryAnswer(6, "ERROR"), queryAnswer(165, "ERROR"), modifyAnswer(114, "ERROR")}));
    EXPECT_EQ(rig.unreadOutput(), "AT+CSQ\rAT\rAT\r");
}

TEST(DeviceLoss, CloseAnswersPendingCommandsAndLaterOnesWithError)
{
    DeviceRig rig;
    rig.openLine();
    rig.line.query(Query::SignalQualityGsm);
    ASSERT_EQ(rig.nextCommand(), "AT+CSQ");
    rig.line.close();
    rig.line.query(Query::PhoneFunctionality);
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_EQ(rig.delivered, (std::vector<Delivered>{queryAnswer(6, "ERROR"), queryAnswer(165, "ERROR")}));
    EXPECT_EQ(rig.events.back().first, ChannelEvent::Closed);
}

TEST_F(Channel, GarbageNeverDisturbsTheNextAnswer)
{
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919 + 13) % 256);
    rig.deviceSends(garbage);
    rig.deviceSends("\r\n");
    rig.line.query(Query::SignalQualityGsm);
    ASSERT_EQ(rig.nextCommand(), "AT+CSQ");
    rig.deviceAnswers({"+CSQ: 3,99", "OK"});
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_EQ(rig.delivered.back(), queryAnswer(6, "+CSQ: 3,99\nOK"));
}

TEST_F(Channel, AMebibyteLineWithoutNewlineIsDroppedAndTheAnswerStillArrives)
{
    rig.line.query(Query::SignalQualityGsm);
    ASSERT_EQ(rig.nextCommand(), "AT+CSQ");
    rig.deviceSends("\r\n+CSQ: 3,99" + std::string(1 << 20, 'A'));
    rig.deviceAnswers({"+CSQ: 4,99", "OK"});
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_EQ(rig.delivered, std::vector<Delivered>{queryAnswer(6, "+CSQ: 4,99\nOK")});
    EXPECT_TRUE(traced(rig, "line longer than 4096 bytes, dropping it"));
    EXPECT_TRUE(traced(rig, "dropped an overlong line of 1048586 bytes"));
}

TEST_F(Channel, ACommandLineLongerThanThePtyTakesAtOnceGoesOutWholeBeforeTheNext)
{
    // Far more than a pty buffers: the channel writes what fits, the rest as
    // the device reads, and the next command only after its answer.
    const std::string longLine = "AT+CSSN=" + std::string(200000, '1');
    rig.line.modify(Query::SupplementaryServiceNotifications, longLine);
    rig.line.query(Query::SignalQualityGsm);
    ASSERT_EQ(rig.nextCommand(), longLine);
    EXPECT_EQ(rig.unreadOutput(), "");
    rig.deviceAnswers({"OK"});
    ASSERT_EQ(rig.nextCommand(), "AT+CSQ");
    rig.deviceAnswers({"+CSQ: 5,99", "OK"});
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_EQ(rig.delivered, (std::vector<Delivered>{modifyAnswer(134, "OK"), queryAnswer(6, "+CSQ: 5,99\nOK")}));
}

TEST_F(Channel, AnAnswerPastSixtyFourFullLinesIsCutAndTheLineStaysInStep)
{
    // Each line just under the 4096-byte line limit, 80 of them: the answer
    // keeps what fits in 64 full lines' worth of bytes and drops the rest.
    const std::string body = "^DSML: " + std::string(4000, '9');
    rig.line.query(Query::ServiceMappingList);
    ASSERT_EQ(rig.nextCommand(), "AT^DSML?");
    rig.deviceAnswers(std::vector<std::string>(80, body));
    rig.deviceAnswers({"OK"});
    ASSERT_TRUE(rig.runUntilAnswered());
    ASSERT_EQ(rig.delivered.size(), 1u);
    const std::string& text = rig.delivered.front().text;
    const auto kept = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    EXPECT_EQ(kept, 65u) << "64 full lines' worth of bytes holds 65 lines of " << body.size();
    EXPECT_EQ(text.substr(text.size() - 3), "\nOK");
    EXPECT_TRUE(traced(rig, "dropped: answer too long"));

    rig.line.query(Query::SignalQualityGsm);
    ASSERT_EQ(rig.nextCommand(), "AT+CSQ");
    rig.deviceAnswers({"+CSQ: 5,99", "OK"});
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_EQ(rig.delivered.back(), queryAnswer(6, "+CSQ: 5,99\nOK"));
}

TEST_F(Channel, TraceShowsBothDirectionsWithSecretsMasked)
{
    rig.line.modify(Query::EnterPin, "1234");
    ASSERT_EQ(rig.nextCommand(), "AT+CPIN=\"1234\"");
    rig.deviceSends("AT+CPIN=\"1234\"\r\r\nOK\r\n");
    rig.line.modify(Query::EnterPuk, "87654321,4321");
    ASSERT_EQ(rig.nextCommand(), "AT+CPIN=\"87654321\",\"4321\"");
    rig.deviceAnswers({"OK"});
    rig.line.modify(Query::PinLock, "1,\"4321\"");
    ASSERT_EQ(rig.nextCommand(), "AT+CLCK=\"SC\",1,\"4321\"");
    rig.deviceAnswers({"OK"});
    rig.line.modify(Query::SimLockPassword, "\"4321\",\"5678\"");
    ASSERT_EQ(rig.nextCommand(), "AT+CPWD=\"SC\",\"4321\",\"5678\"");
    rig.deviceAnswers({"OK"});
    rig.line.modify(Query::FixedDialingPassword, "\"1111\",\"2222\"");
    ASSERT_EQ(rig.nextCommand(), "AT+CPWD=\"P2\",\"1111\",\"2222\"");
    rig.deviceAnswers({"OK"});
    ASSERT_TRUE(rig.runUntilAnswered());

    for (const std::string& line : rig.trace) {
        for (const char* secret : {"1234", "8765", "4321", "5678", "1111", "2222"})
            EXPECT_EQ(line.find(secret), std::string::npos) << line;
    }
    EXPECT_TRUE(traced(rig, "> AT+CPIN=***"));
    EXPECT_TRUE(traced(rig, "< AT+CPIN=***"));
    EXPECT_TRUE(traced(rig, "> AT+CLCK=\"SC\",***"));
    EXPECT_TRUE(traced(rig, "> AT+CPWD=\"P2\",***"));
    EXPECT_TRUE(traced(rig, "< OK"));
}

TEST_F(Channel, TraceStopsWhenItsCallbackIsClearedAndResumesWhenSetAgain)
{
    rig.line.setTrace(nullptr);
    rig.trace.clear();
    rig.line.query(Query::SignalQualityGsm);
    ASSERT_EQ(rig.nextCommand(), "AT+CSQ");
    rig.deviceAnswers({"+CSQ: 23,99", "OK"});
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_TRUE(rig.trace.empty());

    rig.line.setTrace([this](const std::string& text) { rig.trace.push_back(text); });
    rig.line.query(Query::SignalQualityGsm);
    ASSERT_EQ(rig.nextCommand(), "AT+CSQ");
    rig.deviceAnswers({"+CSQ: 17,99", "OK"});
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_TRUE(traced(rig, "> AT+CSQ"));
    EXPECT_TRUE(traced(rig, "< +CSQ: 17,99"));
    ASSERT_EQ(rig.delivered.size(), 2u);
    EXPECT_EQ(rig.delivered.back(), queryAnswer(6, "+CSQ: 17,99\nOK"));
}

}  // namespace
}  // namespace cellctl::at::test
