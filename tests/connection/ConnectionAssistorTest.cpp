#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WiredConnection.h"

namespace {

using cellctl::test::RecordingPhoneLine;
using cellctl::test::WiredConnection;
using Commands = std::vector<RecordingPhoneLine::Command>;
using Strings = std::vector<std::string>;
using namespace std::string_literals;

const std::string kQosTail = ",0,0,0,1500,\"0E0\",\"0E0\",,0,0";

TEST(ConnectionAssistorRequests, EachRequestSendsItsCommands)
{
    WiredConnection c;
    c.assistor.Initialize();
    c.assistor.UnInitialize();
    c.assistor.AttachGprs();
    c.assistor.GetServiceMappingList();
    c.assistor.ReadUsimQos(3);
    c.assistor.Get3GServiceQuality();
    EXPECT_EQ(c.line.sent(), (Commands{
                                 RecordingPhoneLine::Modify(116, "1"),
                                 RecordingPhoneLine::Modify(118, "1"),
                                 RecordingPhoneLine::Query(111),
                                 RecordingPhoneLine::Modify(112, "3"),
                                 RecordingPhoneLine::Query(120),
                             }));
}

TEST(ConnectionAssistorRequests, PdpActiveDefinesContextOneThenRequestsQos)
{
    WiredConnection c;
    c.assistor.PdpActive(1, "internet", 3, 64, 384);
    c.assistor.PdpActive(2, "", -1, 0, 0);
    EXPECT_EQ(c.line.sent(), (Commands{
                                 RecordingPhoneLine::Modify(121, "1,\"IP\",\"internet\",,0,0"),
                                 RecordingPhoneLine::Modify(120, "1,3,64,384" + kQosTail),
                                 RecordingPhoneLine::Modify(121, "1,\"IP\",\"\",,0,0"),
                                 RecordingPhoneLine::Modify(120, "2,-1,0,0" + kQosTail),
                             }));
}

TEST(ConnectionAssistorRequests, GsmPdpActiveDefinesTheContextOnly)
{
    WiredConnection c;
    c.assistor.GsmPdpActive(5, "gprs", 1, 2, 3);
    EXPECT_EQ(c.line.sent(), (Commands{RecordingPhoneLine::Modify(121, "1,\"IP\",\"gprs\",,0,0")}));
}

TEST(ConnectionAssistorRequests, NullHelperSendsNothingButResultsStillFire)
{
    WiredConnection c;
    c.assistor.SetHelper(nullptr);
    c.assistor.Initialize();
    c.assistor.AttachGprs();
    c.assistor.PdpActive(1, "a", 1, 1, 1);
    c.assistor.GsmPdpActive(1, "a", 1, 1, 1);
    c.assistor.GetServiceMappingList();
    c.assistor.ReadUsimQos(1);
    c.assistor.Get3GServiceQuality();
    c.assistor.ResetPhoneLine();
    EXPECT_TRUE(c.line.sent().empty());

    c.assistor.ParseSetQosResult("OK");
    c.assistor.GetServiceMappingListResult("list");
    EXPECT_EQ(c.log.take(), (Strings{"qos:true", "dsml:list"}));

    // The helper was never unbound: answers still reach the assistor.
    c.line.answerModify(121, "OK");
    EXPECT_EQ(c.log.take(), (Strings{"pdp:true"}));

    c.assistor.SetHelper(&c.helper);
    c.assistor.AttachGprs();
    EXPECT_EQ(c.line.sent(), (Commands{RecordingPhoneLine::Modify(118, "1")}));
}

TEST(ConnectionAssistorResults, OkResultsLookForCapitalOkAnywhere)
{
    WiredConnection c;
    for (const char* answer : {"\r\nOK\r\n", "OK", "+CGDCONT: BOOKED", "ERROR", "ok", "", "O\nK"})
        c.assistor.ParseSetPdpcontResult(answer);
    EXPECT_EQ(c.log.take(),
              (Strings{"pdp:true", "pdp:true", "pdp:true", "pdp:false", "pdp:false", "pdp:false", "pdp:false"}));

    for (const char* answer : {"\nOK\n", "+CME ERROR: 30", "Ok"})
        c.assistor.ParseSetQosResult(answer);
    EXPECT_EQ(c.log.take(), (Strings{"qos:true", "qos:false", "qos:false"}));
}

TEST(ConnectionAssistorResults, NumberResultsReadTheLeadingInteger)
{
    WiredConnection c;
    for (const char* answer : {"5", "", "2,1", "  \t7", "-4", "+9", "OK", "x12", "2147483647", "-2147483648"})
        c.assistor.ParsePsRegisterResult(answer);
    EXPECT_EQ(c.log.take(),
              (Strings{"register:5", "register:0", "register:2", "register:7", "register:-4", "register:9",
                       "register:0", "register:0", "register:2147483647", "register:-2147483648"}));

    for (const char* answer : {"1", "0", "OK", " 2", "", "-1", "0,1"})
        c.assistor.ParsePsAttachResult(answer);
    EXPECT_EQ(c.log.take(), (Strings{"attach:true", "attach:false", "attach:false", "attach:true", "attach:false",
                                     "attach:true", "attach:false"}));
}

TEST(ConnectionAssistorResults, OverlongNumbersWrapInsteadOfOverflowing)
{
    WiredConnection c;
    // 99999999999 is 23 * 2^32 + 1215752191; 2^32 itself wraps to 0.
    c.assistor.ParsePsRegisterResult("99999999999");
    c.assistor.ParsePsAttachResult("4294967296");
    c.assistor.ParsePsRegisterResult(std::string(5000, '9') + "\nOK");
    const Strings results = c.log.take();
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0], "register:1215752191");
    EXPECT_EQ(results[1], "attach:false");
    EXPECT_EQ(results[2].rfind("register:", 0), 0u);
}

TEST(ConnectionAssistorResults, TextResultsCarryTheWholeAnswer)
{
    WiredConnection c;
    const std::string raw = "+CGEQREQ: 1,3,64,384\r\n\nERROR\0x"s;
    c.line.answerQuery(111, "");
    c.line.answerModify(112, raw);
    c.line.answerQuery(120, "+CME ERROR: 4");
    EXPECT_EQ(c.log.take(), (Strings{"dsml:", "usimqos:" + raw, "quality:+CME ERROR: 4"}));
}

TEST(ConnectionAssistorCallbacks, EveryCallbackRunsInRegistrationOrder)
{
    CConnectionAssistor assistor(nullptr);
    std::vector<std::string> calls;
    assistor.ParseSetQosResult("OK");  // nobody listening: dropped
    assistor.connectSetQosResult([&](bool ok) { calls.push_back(std::string("first:") + (ok ? "1" : "0")); });
    assistor.connectSetQosResult([&](bool ok) { calls.push_back(std::string("second:") + (ok ? "1" : "0")); });
    assistor.ParseSetQosResult("OK");
    assistor.ParseSetQosResult("ERROR");
    EXPECT_EQ(calls, (Strings{"first:1", "second:1", "first:0", "second:0"}));
}

}  // namespace
