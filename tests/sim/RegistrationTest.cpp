// Radio power, signal and registration with its reports.
#include <gtest/gtest.h>

#include "ModemHarness.h"

namespace cellsim::test {
namespace {

TEST(Power, TheRadioIsOffUntilSwitchedOn)
{
    ModemHarness modem;
    EXPECT_EQ(modem.send("AT+CFUN?"), (Lines{"+CFUN: 0", "OK"}));
    EXPECT_EQ(modem.send("AT+CSQ"), (Lines{"+CSQ: 99,99", "OK"}));
    EXPECT_EQ(modem.send("AT^DCSQ?"), (Lines{"^DCSQ: 99", "OK"}));
    EXPECT_EQ(modem.send("AT+COPS?"), (Lines{"+COPS: 0", "OK"}));
    EXPECT_EQ(modem.send("AT+COPS=?"), Lines{"+CME ERROR: 30"});
    EXPECT_EQ(modem.send("AT+CGATT=1"), Lines{"+CME ERROR: 30"});
    EXPECT_EQ(modem.send("AT+CREG?"), (Lines{"+CREG: 0,0", "OK"}));
    EXPECT_EQ(modem.send("AT+CPIN?"), (Lines{"+CPIN: READY", "OK"})) << "the card answers with the radio off";

    EXPECT_EQ(modem.send("AT+CFUN=1,0"), Lines{"OK"});
    EXPECT_EQ(modem.send("AT+CFUN?"), (Lines{"+CFUN: 1", "OK"}));
    EXPECT_EQ(modem.send("AT+CREG?"), (Lines{"+CREG: 0,1", "OK"}));
    EXPECT_EQ(modem.send("AT^DCSQ?"), (Lines{"^DCSQ: 41", "OK"})) << "camped on TD";
    EXPECT_EQ(modem.send("AT+CSQ"), (Lines{"+CSQ: 99,99", "OK"})) << "no GSM measurement on TD";

    EXPECT_EQ(modem.send("AT+CFUN=0,0"), Lines{"OK"});
    EXPECT_EQ(modem.send("AT+CREG?"), (Lines{"+CREG: 0,0", "OK"}));
    EXPECT_EQ(modem.send("AT+CFUN=7"), Lines{"ERROR"});
    EXPECT_EQ(modem.send("AT+CFUN=1,2"), Lines{"ERROR"});
}

TEST(Power, SignalFollowsTheAccessTechnology)
{
    ModemOptions options = ModemHarness::quickOptions();
    options.mode = ModeStart::Gsm;
    ModemHarness modem(options);
    modem.powerOn();
    EXPECT_EQ(modem.send("AT+CSQ"), (Lines{"+CSQ: 23,99", "OK"}));
    EXPECT_EQ(modem.send("AT^DCSQ?"), (Lines{"^DCSQ: 99", "OK"}));
}

TEST(Registration, ReportsFollowPowerOnAndUnlockAfterTheDelay)
{
    ModemOptions options = ModemHarness::quickOptions();
    options.sim = SimStart::PinLocked;
    ModemHarness modem(options);
    modem.send("AT+CREG=1");
    modem.send("AT+CGREG=1");
    EXPECT_EQ(modem.send("AT+CFUN=1"), Lines{"OK"}) << "no registration with the PIN still asked";
    EXPECT_EQ(modem.send("AT+COPS=?"), Lines{"+CME ERROR: 11"});
    EXPECT_EQ(modem.send("AT+CGATT=1"), Lines{"+CME ERROR: 11"});

    modem.type("AT+CPIN=\"1234\"\r");
    EXPECT_EQ(modem.takeLines(), (Lines{"OK", "+CREG: 2", "+CGREG: 2"})) << "searching, reported after the OK";
    modem.scheduler.advance(99ms);
    EXPECT_TRUE(modem.takeLines().empty());
    modem.scheduler.advance(1ms);
    EXPECT_EQ(modem.takeLines(), (Lines{"+CREG: 1", "+CGREG: 1"}));
    EXPECT_EQ(modem.send("AT+CREG?"), (Lines{"+CREG: 1,1", "OK"}));
    EXPECT_EQ(modem.send("AT+CGREG?"), (Lines{"+CGREG: 1,1", "OK"}));

    EXPECT_EQ(modem.send("AT+CFUN=0"), (Lines{"OK", "+CREG: 0", "+CGREG: 0"}));
}

TEST(Registration, LocationIsReportedInModeTwoAndNothingWithReportsOff)
{
    ModemHarness modem;
    EXPECT_EQ(modem.send("AT+CFUN=1"), Lines{"OK"});
    EXPECT_EQ(modem.send("AT+CREG=2"), Lines{"OK"});
    EXPECT_EQ(modem.send("AT+CREG?"), (Lines{"+CREG: 2,1,\"A100\",\"0C1D2E3F\"", "OK"}));
    EXPECT_EQ(modem.send("AT+CFUN=0"), (Lines{"OK", "+CREG: 0"}));
    EXPECT_EQ(modem.send("AT+CFUN=1"), (Lines{"OK", "+CREG: 2", "+CREG: 1,\"A100\",\"0C1D2E3F\""}));
    EXPECT_EQ(modem.send("AT+CREG=3"), Lines{"ERROR"});
    EXPECT_EQ(modem.send("AT+CREG=?"), (Lines{"+CREG: (0-2)", "OK"}));
}

TEST(Registration, WithoutDelayTheModemRegistersAtOnce)
{
    ModemOptions options = ModemHarness::quickOptions();
    options.registrationDelay = 0ms;
    ModemHarness modem(options);
    modem.send("AT+CREG=1");
    modem.type("AT+CFUN=1\r");
    EXPECT_EQ(modem.takeLines(), (Lines{"OK", "+CREG: 1"}));
}

TEST(Power, SoftResetRestartsWithTheRadioAsAsked)
{
    ModemOptions options = ModemHarness::quickOptions();
    options.sim = SimStart::PinLocked;
    ModemHarness modem(options);
    modem.send("AT+CMEE=2");
    modem.send("AT+CSCS=\"HEX\"");
    modem.send("AT+CREG=1");
    modem.send("AT+CPIN=\"1234\"");
    modem.powerOn();

    EXPECT_EQ(modem.reset(1), (Lines{"OK", "+CPIN: SIM PIN"})) << "the card restarts";
    EXPECT_EQ(modem.send("AT+CFUN?"), (Lines{"+CFUN: 1", "OK"}));
    EXPECT_EQ(modem.send("AT+CMEE?"), (Lines{"+CMEE: 1", "OK"}));
    EXPECT_EQ(modem.send("AT+CSCS?"), (Lines{"+CSCS: \"IRA\"", "OK"}));
    EXPECT_EQ(modem.send("AT+CREG?"), (Lines{"+CREG: 0,0", "OK"})) << "reports off, PIN asked again";
    EXPECT_EQ(modem.reset(0), (Lines{"OK", "+CPIN: SIM PIN"}));
    EXPECT_EQ(modem.send("AT+CFUN?"), (Lines{"+CFUN: 0", "OK"}));
}

TEST(Power, ErrorsFollowTheErrorMode)
{
    ModemOptions options = ModemHarness::quickOptions();
    options.sim = SimStart::PinLocked;
    ModemHarness modem(options);
    modem.send("AT+CMEE=0");
    EXPECT_EQ(modem.send("AT+CPIN=\"0000\""), Lines{"ERROR"});
    modem.send("AT+CMEE=2");
    EXPECT_EQ(modem.send("AT+CPIN=\"0000\""), Lines{"+CME ERROR: incorrect password"});
    EXPECT_EQ(modem.send("AT+CMEE=3"), Lines{"ERROR"});
}

}  // namespace
}  // namespace cellsim::test

namespace cellsim::test {

// The whole-line set-up commands a host sends after power-on are accepted
// with their values in range and refused outside it.
TEST(Power, SetUpSwitchesAcceptTheirRangeOnly)
{
    ModemHarness modem;
    for (const char* line : {"AT+CSSN=1,1", "AT+CLIP=1", "AT^DCPI=1", "AT+CRC=1", "AT^DSCI=1", "AT+CGSMS=1",
                             "AT+CMGF=0", "AT+CNMI=2,1,0,2,0", "AT^DSMN=1"}) {
        EXPECT_EQ(modem.send(line), Lines{"OK"}) << line;
    }
    EXPECT_NE(modem.send("AT+CLIP=2"), Lines{"OK"});
}

}  // namespace cellsim::test
