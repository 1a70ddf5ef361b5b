// Network mode, power-on mode and the cell reports.
#include <gtest/gtest.h>

#include "ModemHarness.h"

namespace cellsim::test {
namespace {

TEST(Mode, SwitchAnswersOkThenReportsTheNewModeType)
{
    ModemHarness modem;
    modem.powerOn();
    EXPECT_EQ(modem.send("AT^DSTM?"), (Lines{"^DSTM: 1,0,2", "OK"})) << "dual mode, on TD";

    EXPECT_EQ(modem.send("AT^DSTM=1,2,0"), (Lines{"OK", "^DSTMR: 2"}));
    EXPECT_EQ(modem.send("AT^DSTM?"), (Lines{"^DSTM: 1,2,0", "OK"}));
    EXPECT_EQ(modem.send("AT+COPS=3,2;+COPS?"), (Lines{"+COPS: 0,2,\"46000\",0", "OK"})) << "handed over to GSM";
    EXPECT_EQ(modem.send("AT+CSQ"), (Lines{"+CSQ: 23,99", "OK"}));

    EXPECT_EQ(modem.send("AT^DSTM=1,0"), (Lines{"OK", "^DSTMR: 0"}));
    EXPECT_EQ(modem.send("AT^DSTM?"), (Lines{"^DSTM: 1,0,2", "OK"})) << "dual mode prefers TD";
    EXPECT_EQ(modem.send("AT^DCSQ?"), (Lines{"^DCSQ: 41", "OK"}));

    EXPECT_EQ(modem.send("AT^DSTM=1,2"), Lines{"+CME ERROR: 50"}) << "single mode needs its technology";
    EXPECT_EQ(modem.send("AT^DSTM=1,2,1"), Lines{"+CME ERROR: 50"});
    EXPECT_EQ(modem.send("AT^DSTM=1"), Lines{"ERROR"});
    EXPECT_EQ(modem.send("AT^DSTM?"), (Lines{"^DSTM: 1,0,2", "OK"})) << "refusals change nothing";
}

TEST(Mode, SwitchingAwayFromAManualNetworkDropsTheRegistration)
{
    ModemHarness modem;
    modem.powerOn();
    modem.send("AT+COPS=1,2,\"46007\"");
    modem.send("AT+CREG=1");
    EXPECT_EQ(modem.send("AT^DSTM=1,2,0"), (Lines{"OK", "^DSTMR: 2", "+CREG: 0"}));
    EXPECT_EQ(modem.send("AT+COPS?"), (Lines{"+COPS: 1", "OK"}));
}

TEST(Mode, PowerOnModeAppliesAfterAReset)
{
    ModemHarness modem;
    EXPECT_EQ(modem.send("AT^DDTM?"), (Lines{"^DDTM: 0,2", "OK"}));
    EXPECT_EQ(modem.send("AT^DDTM=2,0"), Lines{"OK"});
    EXPECT_EQ(modem.send("AT^DDTM?"), (Lines{"^DDTM: 2,0", "OK"}));
    EXPECT_EQ(modem.send("AT^DSTM?"), (Lines{"^DSTM: 1,0,2", "OK"})) << "the current mode is untouched";
    modem.reset();
    EXPECT_EQ(modem.send("AT^DSTM?"), (Lines{"^DSTM: 1,2,0", "OK"}));
    EXPECT_EQ(modem.send("AT^DDTM=0,1"), Lines{"+CME ERROR: 50"});
}

TEST(Mode, HsdpaAndCellReportsFollowTheServingCell)
{
    ModemOptions options = ModemHarness::quickOptions();
    options.mode = ModeStart::Gsm;
    ModemHarness modem(options);
    EXPECT_EQ(modem.send("AT+HSIND=1"), Lines{"OK"}) << "nothing to report before registration";
    EXPECT_EQ(modem.send("AT^DCINFO=1"), Lines{"OK"});
    EXPECT_EQ(modem.send("AT+CFUN=1"), (Lines{"OK", "^DCINFO: 1,0,0,0"})) << "on GSM: no HSDPA to report";
    EXPECT_EQ(modem.send("AT^DCINFO?"), (Lines{"^DCINFO: 1,0,0,0", "OK"}));

    EXPECT_EQ(modem.send("AT^DSTM=1,2,2"), (Lines{"OK", "^DSTMR: 2", "+HSIND: 1", "^DCINFO: 0,1,1,0"}));
    EXPECT_EQ(modem.send("AT+HSIND?"), (Lines{"+HSIND: 1,1", "OK"}));
    EXPECT_EQ(modem.send("AT^DSTM=1,2,0"), (Lines{"OK", "^DSTMR: 2", "+HSIND: 0", "^DCINFO: 1,0,0,0"}));
    modem.send("AT+HSIND=0");
    EXPECT_EQ(modem.send("AT^DSTM=1,2,2"), (Lines{"OK", "^DSTMR: 2", "^DCINFO: 0,1,1,0"}));
    EXPECT_EQ(modem.send("AT+HSIND=1"), (Lines{"OK", "+HSIND: 1"})) << "switching on reports the current value";
    EXPECT_EQ(modem.send("AT+HSIND=2"), Lines{"ERROR"});
}

}  // namespace
}  // namespace cellsim::test
