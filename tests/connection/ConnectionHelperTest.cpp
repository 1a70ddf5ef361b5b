#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WiredConnection.h"

namespace {

using cellctl::test::RecordingPhoneLine;
using cellctl::test::WiredConnection;
using Strings = std::vector<std::string>;

const std::string kQosTail = ",0,0,0,1500,\"0E0\",\"0E0\",,0,0";

TEST(ConnectionHelperCommands, SendExactCodesAndTexts)
{
    WiredConnection c;
    c.helper.GetServiceMappingList();
    c.helper.ReadUsimQos(0);
    c.helper.ReadUsimQos(-7);
    c.helper.EnableNetworkRegistrationStatus();
    c.helper.EnablePsAttach();
    c.helper.EnablePacketDomainEventReporting();
    c.helper.Read3GServiceQuality();
    c.helper.SetPacketDomainQos(1, 3, 64, 384);
    c.helper.SetPacketDomainQos(-1, 0, -2147483647 - 1, 0);
    c.helper.SetPdpContext("cmnet");
    c.helper.SetPdpContext("");
    c.helper.SetPdpContext(" a\"b,c ");  // inserted verbatim, no escaping or trimming

    const std::vector<RecordingPhoneLine::Command> expected = {
        RecordingPhoneLine::Query(111),
        RecordingPhoneLine::Modify(112, "0"),
        RecordingPhoneLine::Modify(112, "-7"),
        RecordingPhoneLine::Modify(116, "1"),
        RecordingPhoneLine::Modify(118, "1"),
        RecordingPhoneLine::Modify(119, "2,1"),
        RecordingPhoneLine::Query(120),
        RecordingPhoneLine::Modify(120, "1,3,64,384" + kQosTail),
        RecordingPhoneLine::Modify(120, "-1,0,-2147483648,0" + kQosTail),
        RecordingPhoneLine::Modify(121, "1,\"IP\",\"cmnet\",,0,0"),
        RecordingPhoneLine::Modify(121, "1,\"IP\",\"\",,0,0"),
        RecordingPhoneLine::Modify(121, "1,\"IP\",\" a\"b,c \",,0,0"),
    };
    EXPECT_EQ(c.line.sent(), expected);
}

TEST(ConnectionHelperCommands, SendNothingWithoutPhoneLine)
{
    CConnectionHelper helper;
    helper.Initialize();
    helper.GetServiceMappingList();
    helper.ReadUsimQos(1);
    helper.EnableNetworkRegistrationStatus();
    helper.EnablePsAttach();
    helper.EnablePacketDomainEventReporting();
    helper.Read3GServiceQuality();
    helper.SetPacketDomainQos(1, 2, 3, 4);
    helper.SetPdpContext("apn");
    helper.UnInitialize();

    // Attaching afterwards shows nothing was queued up meanwhile.
    RecordingPhoneLine line;
    helper.SetPhoneLine(&line);
    EXPECT_TRUE(line.sent().empty());
    helper.EnablePsAttach();
    EXPECT_EQ(line.sent(), (std::vector<RecordingPhoneLine::Command>{RecordingPhoneLine::Modify(118, "1")}));
}

// Delivers "<code>" on one signal for every code from 0 to 200 and returns
// what reached the host.
template <typename Deliver>
Strings answerEveryCode(WiredConnection& c, Deliver deliver)
{
    for (int code = 0; code <= 200; ++code)
        deliver(c.line, code, std::to_string(code));
    return c.log.take();
}

TEST(ConnectionHelperRouting, QueryAnswersReachOnlyTheTwoReadResults)
{
    WiredConnection c;
    const Strings results = answerEveryCode(
        c, [](RecordingPhoneLine& line, int code, const std::string& text) { line.answerQuery(code, text); });
    EXPECT_EQ(results, (Strings{"dsml:111", "quality:120"}));
}

TEST(ConnectionHelperRouting, ModifyAnswersReachTheirResultsAndSkipReportingSwitches)
{
    WiredConnection c;
    const Strings results = answerEveryCode(
        c, [](RecordingPhoneLine& line, int code, const std::string& text) { line.answerModify(code, text); });
    // 116 and 119 are answers this subsystem asks for but does not report.
    EXPECT_EQ(results, (Strings{"usimqos:112", "register:117", "attach:true", "qos:false", "pdp:false"}));

    c.line.answerModify(120, "OK");
    c.line.answerModify(121, "OK");
    c.line.answerQuery(120, "+CGEQREQ: 1,3\nOK");
    EXPECT_EQ(c.log.take(), (Strings{"qos:true", "pdp:true", "quality:+CGEQREQ: 1,3\nOK"}));
}

TEST(ConnectionHelperRouting, AnswersWithoutAssistorAreDropped)
{
    RecordingPhoneLine line;
    CConnectionHelper helper;
    helper.SetPhoneLine(&line);
    helper.Initialize();
    CConnectionAssistor assistor(&helper);
    cellctl::test::ConnectionResultLog log(assistor);

    line.answerQuery(111, "early");
    line.answerModify(118, "1");
    line.answerModify(120, "OK");
    helper.ParseSetQosResult("OK");
    helper.ParseSetPdpcontResult("OK");
    helper.ParsePsAttachResult("1");
    helper.ParsePsRegisterResult("1");
    EXPECT_TRUE(log.take().empty());

    helper.SetConnectionAssistor(&assistor);
    line.answerQuery(111, "late");
    EXPECT_EQ(log.take(), (Strings{"dsml:late"}));
    helper.UnInitialize();
}

TEST(ConnectionHelperRouting, UnInitializeStopsRoutingButNotSending)
{
    WiredConnection c;
    c.assistor.ResetPhoneLine();
    c.line.answerModify(121, "OK");
    c.line.answerQuery(111, "list");
    EXPECT_TRUE(c.log.take().empty());

    c.assistor.AttachGprs();
    EXPECT_EQ(c.line.sent(), (std::vector<RecordingPhoneLine::Command>{RecordingPhoneLine::Modify(118, "1")}));
}

TEST(ConnectionHelperParse, PublicParsersGiveTheAssistorsValues)
{
    WiredConnection c;
    c.helper.ParseSetQosResult("\r\nOK\r\n");
    c.helper.ParseSetPdpcontResult("ERROR");
    c.helper.ParsePsAttachResult(" 0");
    c.helper.ParsePsRegisterResult("-3,x");
    EXPECT_EQ(c.log.take(), (Strings{"qos:true", "pdp:false", "attach:false", "register:-3"}));
}

}  // namespace
