// The line discipline and the faults a host must survive.
#include <gtest/gtest.h>

#include "ModemHarness.h"

namespace cellsim::test {
namespace {

ModemHarness withFaults(const Faults& faults) { return ModemHarness(ModemHarness::quickOptions(), true, faults); }

TEST(LineDiscipline, EchoFramingAndCommandLines)
{
    ModemHarness modem(ModemHarness::quickOptions(), false);
    modem.type("AT\r");
    EXPECT_EQ(modem.output, "AT\r\r\nOK\r\n") << "echo is on at start, answers framed by CR LF";
    modem.output.clear();
    modem.type("ATE0\r");
    modem.type("at+cgmr\r");
    EXPECT_EQ(modem.output, "ATE0\r\r\nOK\r\n\r\nCELLSIM TD-HSDPA V1.0.0\r\n\r\nOK\r\n");
    modem.output.clear();

    modem.type("AT+CSQX\r");
    EXPECT_EQ(modem.takeLines(), Lines{"ERROR"}) << "unknown command";
    modem.type("noise\r\n");
    EXPECT_EQ(modem.takeLines(), Lines{}) << "a line without AT is not answered";
    modem.type("AT+CMEE=1;+CFUN=?;+CSQ=?\n");
    EXPECT_EQ(modem.takeLines(), (Lines{"+CFUN: (0,1,4),(0-1)", "+CSQ: (0-31,99),(0-7,99)", "OK"}))
        << "a lone LF ends a line too; answers of a line share one OK";
    modem.type("AT+CFUN=1;+BOGUS;+CMEE=0\r");
    EXPECT_EQ(modem.takeLines(), Lines{"ERROR"});
    EXPECT_EQ(modem.send("AT+CMEE?"), (Lines{"+CMEE: 1", "OK"})) << "nothing after the failing command ran";
    modem.type("AT+CP\bSQ\r");
    EXPECT_EQ(modem.takeLines(), (Lines{"+CSQ: 99,99", "OK"})) << "backspace edits the line";
    modem.type(std::string(Modem::MaxLineLength + 10, 'A') + "\r");
    EXPECT_EQ(modem.takeLines(), Lines{"ERROR"}) << "an overlong line";
    EXPECT_EQ(modem.send("AT"), Lines{"OK"});
}

// A modem that does not abort queues what arrives while a command runs; one
// that does takes the next character as the abort, even in the same read.
TEST(LineDiscipline, LinesWaitForTheRunningCommandAndReportsForItsAnswer)
{
    ModemHarness aborting;
    aborting.send("AT+CFUN=1");
    aborting.type("AT+COPS=?\rAT+CFUN?\r");
    EXPECT_EQ(aborting.takeLines(), Lines{"ERROR"}) << "the scan is aborted, the aborting line discarded";
    EXPECT_FALSE(aborting.modem.busy());

    ModemOptions options = ModemHarness::quickOptions();
    options.abortOnCharacter = false;
    ModemHarness modem(options);
    modem.send("AT+CFUN=1");
    modem.type("AT+COPS=?\rAT+CFUN?\r");
    EXPECT_TRUE(modem.modem.busy());
    EXPECT_EQ(modem.takeLines(), Lines{});
    modem.scheduler.runAll();
    const Lines lines = modem.takeLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].substr(0, 8), "+COPS: (");
    EXPECT_EQ(lines[1], "OK");
    EXPECT_EQ(lines[2], "+CFUN: 1");
}

TEST(Faults, LatencyDelaysEveryCommand)
{
    Faults faults;
    faults.latency = 300ms;
    ModemHarness modem = withFaults(faults);
    modem.type("AT+CPIN?\r");
    modem.scheduler.advance(299ms);
    EXPECT_EQ(modem.takeLines(), Lines{});
    modem.scheduler.advance(1ms);
    EXPECT_EQ(modem.takeLines(), (Lines{"+CPIN: READY", "OK"}));
}

TEST(Faults, DroppedAnswersStillRunTheCommand)
{
    Faults faults;
    faults.dropRate = 1.0;
    ModemHarness modem = withFaults(faults);
    EXPECT_EQ(modem.send("AT+CFUN=1"), Lines{}) << "the answer is lost";
    modem.modem.setFaults(Faults());
    EXPECT_EQ(modem.send("AT+CFUN?"), (Lines{"+CFUN: 1", "OK"})) << "the command ran; later answers arrive";

    faults.dropRate = 0.5;
    modem.modem.setFaults(faults);
    int answered = 0;
    for (int i = 0; i < 100; ++i) {
        answered += modem.send("AT").empty() ? 0 : 1;
    }
    EXPECT_GT(answered, 20);
    EXPECT_LT(answered, 80);
}

TEST(Faults, SplitWritesDeliverTheSameBytesInPieces)
{
    Faults faults;
    faults.splitWrites = true;
    ModemHarness modem = withFaults(faults);
    modem.writes = 0;
    modem.type("AT+CGMR\r");
    EXPECT_LT(modem.output.size(), 5u) << "only the first piece is out before time moves";
    modem.scheduler.runAll();
    EXPECT_EQ(modem.output, "\r\nCELLSIM TD-HSDPA V1.0.0\r\n\r\nOK\r\n");
    EXPECT_GE(modem.writes, 9);
}

TEST(Faults, ForcedEchoIgnoresAte0)
{
    Faults faults;
    faults.forcedEcho = true;
    ModemHarness modem = withFaults(faults);
    modem.type("AT\r");
    EXPECT_EQ(modem.output, "AT\r\r\nOK\r\n");
}

TEST(Faults, GarbageAndStormComeBeforeEveryAnswer)
{
    Faults faults;
    faults.garbage = true;
    faults.storm = 3;
    ModemHarness modem = withFaults(faults);
    const Lines lines = modem.send("AT+CSQ");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_GE(static_cast<unsigned char>(lines[0][0]), 0x80) << "garbage starts with a byte no report starts with";
    EXPECT_EQ(lines[1], "RING");
    EXPECT_EQ(lines[2], "+CRING: VOICE");
    EXPECT_EQ(lines[3], "^DCPI: 1,2,0");
    EXPECT_EQ(lines[4], "+CSQ: 99,99");
    EXPECT_EQ(lines[5], "OK");
    EXPECT_EQ(modem.send("AT").size(), 5u);
}

}  // namespace
}  // namespace cellsim::test
