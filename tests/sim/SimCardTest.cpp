// The SIM state machine as a host sees it through AT.
#include <gtest/gtest.h>

#include "ModemHarness.h"

namespace cellsim::test {
namespace {

ModemHarness withSim(SimStart start)
{
    ModemOptions options = ModemHarness::quickOptions();
    options.sim = start;
    return ModemHarness(options);
}

TEST(SimCard, ThreeWrongPinsAskForThePukAndTheRightPukSetsANewPin)
{
    ModemHarness modem = withSim(SimStart::PinLocked);
    EXPECT_EQ(modem.send("AT+CPIN?"), (Lines{"+CPIN: SIM PIN", "OK"}));
    EXPECT_EQ(modem.send("AT^DRAP?"), (Lines{"^DRAP: 3,10,3,10", "OK"}));

    EXPECT_EQ(modem.send("AT+CPIN=\"0000\""), Lines{"+CME ERROR: 16"});
    EXPECT_EQ(modem.send("AT+CPIN=\"1111\""), Lines{"+CME ERROR: 16"});
    EXPECT_EQ(modem.send("AT^DRAP?"), (Lines{"^DRAP: 1,10,3,10", "OK"}));
    EXPECT_EQ(modem.send("AT+CPIN=\"2222\""), Lines{"+CME ERROR: 16"});
    EXPECT_EQ(modem.send("AT+CPIN?"), (Lines{"+CPIN: SIM PUK", "OK"}));
    EXPECT_EQ(modem.send("AT+CPIN=\"1234\""), Lines{"+CME ERROR: 12"}) << "the right PIN no longer helps";

    EXPECT_EQ(modem.send("AT+CPIN=\"87654321\",\"4321\""), Lines{"+CME ERROR: 16"});
    EXPECT_EQ(modem.send("AT^DRAP?"), (Lines{"^DRAP: 0,9,3,10", "OK"}));
    EXPECT_EQ(modem.send("AT+CPIN=\"12345678\",\"4321\""), Lines{"OK"});
    EXPECT_EQ(modem.send("AT+CPIN?"), (Lines{"+CPIN: READY", "OK"}));
    EXPECT_EQ(modem.send("AT^DRAP?"), (Lines{"^DRAP: 3,10,3,10", "OK"}));

    // The new PIN is the one asked after a restart.
    modem.reset();
    EXPECT_EQ(modem.send("AT+CPIN?"), (Lines{"+CPIN: SIM PIN", "OK"}));
    EXPECT_EQ(modem.send("AT+CPIN=\"1234\""), Lines{"+CME ERROR: 16"});
    EXPECT_EQ(modem.send("AT+CPIN=4321"), Lines{"OK"}) << "unquoted arguments are accepted";
}

TEST(SimCard, TenWrongPuksKillTheCard)
{
    ModemHarness modem = withSim(SimStart::PukBlocked);
    EXPECT_EQ(modem.send("AT^DRAP?"), (Lines{"^DRAP: 0,10,3,10", "OK"}));
    for (int i = 0; i < 9; ++i) {
        ASSERT_EQ(modem.send("AT+CPIN=\"00000000\",\"1111\""), Lines{"+CME ERROR: 16"});
    }
    EXPECT_EQ(modem.send("AT+CPIN?"), (Lines{"+CPIN: SIM PUK", "OK"}));
    EXPECT_EQ(modem.send("AT+CPIN=\"00000000\",\"1111\""), Lines{"+CME ERROR: 16"});
    EXPECT_EQ(modem.send("AT+CPIN?"), Lines{"+CME ERROR: 13"});
    EXPECT_EQ(modem.send("AT+CPIN=\"12345678\",\"1111\""), Lines{"+CME ERROR: 13"}) << "not even the right PUK";
}

TEST(SimCard, AnInvalidNewPinCostsNoPukAttempt)
{
    ModemHarness modem = withSim(SimStart::PukBlocked);
    EXPECT_EQ(modem.send("AT+CPIN=\"12345678\",\"12\""), Lines{"+CME ERROR: 50"});
    EXPECT_EQ(modem.send("AT^DRAP?"), (Lines{"^DRAP: 0,10,3,10", "OK"}));
}

TEST(SimCard, PinLockGoesOnAndOffWithThePin)
{
    ModemHarness modem = withSim(SimStart::Ready);
    EXPECT_EQ(modem.send("AT+CLCK=\"SC\",2"), (Lines{"+CLCK: 0", "OK"}));
    EXPECT_EQ(modem.send("AT+CLCK=\"SC\",1,\"9999\""), Lines{"+CME ERROR: 16"});
    EXPECT_EQ(modem.send("AT+CLCK=\"SC\",2"), (Lines{"+CLCK: 0", "OK"}));
    EXPECT_EQ(modem.send("AT+CLCK=\"SC\",1,\"1234\""), Lines{"OK"});
    EXPECT_EQ(modem.send("AT+CLCK=\"SC\",2"), (Lines{"+CLCK: 1", "OK"}));

    // With the lock on, a restart asks for the PIN.
    modem.reset();
    EXPECT_EQ(modem.send("AT+CPIN?"), (Lines{"+CPIN: SIM PIN", "OK"}));
    EXPECT_EQ(modem.send("AT+CLCK=\"SC\",0,\"1234\""), Lines{"+CME ERROR: 11"});
    modem.send("AT+CPIN=\"1234\"");
    EXPECT_EQ(modem.send("AT+CLCK=\"SC\",0,\"1234\""), Lines{"OK"});
    modem.reset();
    EXPECT_EQ(modem.send("AT+CPIN?"), (Lines{"+CPIN: READY", "OK"}));
    EXPECT_EQ(modem.send("AT+CLCK=\"FD\",2"), Lines{"+CME ERROR: 4"});
}

TEST(SimCard, WrongPinsGivenToTheLockCountAgainstThePin)
{
    ModemHarness modem = withSim(SimStart::Ready);
    modem.send("AT+CLCK=\"SC\",1,\"0000\"");
    modem.send("AT+CPWD=\"SC\",\"0000\",\"5555\"");
    EXPECT_EQ(modem.send("AT^DRAP?"), (Lines{"^DRAP: 1,10,3,10", "OK"}));
    modem.send("AT+CLCK=\"SC\",0,\"0000\"");
    EXPECT_EQ(modem.send("AT+CPIN?"), (Lines{"+CPIN: SIM PUK", "OK"}));
}

TEST(SimCard, ChangesThePinAndThePin2)
{
    ModemHarness modem = withSim(SimStart::PinLocked);
    EXPECT_EQ(modem.send("AT+CPWD=\"SC\",\"1234\",\"2468\""), Lines{"+CME ERROR: 11"});
    modem.send("AT+CPIN=\"1234\"");
    EXPECT_EQ(modem.send("AT+CPWD=\"SC\",\"1234\",\"2468\""), Lines{"OK"});
    EXPECT_EQ(modem.send("AT+CPWD=\"SC\",\"1234\",\"1357\""), Lines{"+CME ERROR: 16"}) << "the old PIN is gone";
    EXPECT_EQ(modem.send("AT+CPWD=\"SC\",\"2468\",\"12\""), Lines{"+CME ERROR: 50"});

    EXPECT_EQ(modem.send("AT+CPWD=\"P2\",\"0000\",\"1111\""), Lines{"+CME ERROR: 16"});
    EXPECT_EQ(modem.send("AT^DRAP?"), (Lines{"^DRAP: 2,10,2,10", "OK"}));
    EXPECT_EQ(modem.send("AT+CPWD=\"P2\",\"5678\",\"1111\""), Lines{"OK"});
    EXPECT_EQ(modem.send("AT+CPWD=\"p2\",\"1111\",\"2222\""), Lines{"OK"}) << "facility names in any case";
    EXPECT_EQ(modem.send("AT+CPWD=\"P2\",\"5678\",\"3333\""), Lines{"+CME ERROR: 16"});
    EXPECT_EQ(modem.send("AT+CPWD=\"P2\",\"5678\",\"3333\""), Lines{"+CME ERROR: 16"});
    EXPECT_EQ(modem.send("AT+CPWD=\"P2\",\"5678\",\"3333\""), Lines{"+CME ERROR: 16"});
    EXPECT_EQ(modem.send("AT+CPWD=\"P2\",\"2222\",\"3333\""), Lines{"+CME ERROR: 18"}) << "PIN2 blocked";
    EXPECT_EQ(modem.send("AT+CPWD=\"XX\",\"1\",\"2\""), Lines{"+CME ERROR: 4"});
}

TEST(SimCard, AnAbsentCardAnswersTenToEverySimCommand)
{
    ModemHarness modem = withSim(SimStart::Absent);
    for (const char* command : {"AT+CPIN?", "AT+CPIN=\"1234\"", "AT^DUSIM?", "AT^DRAP?", "AT+CLCK=\"SC\",2",
                                "AT+CPWD=\"SC\",\"1234\",\"4321\"", "AT+CPOL?", "AT+CPLS?", "AT^DUQOS=0", "AT+CIMI"}) {
        EXPECT_EQ(modem.send(command), Lines{"+CME ERROR: 10"}) << command;
    }
    modem.powerOn();
    EXPECT_EQ(modem.send("AT+COPS=?"), Lines{"+CME ERROR: 10"});
    EXPECT_EQ(modem.send("AT+CGATT=1"), Lines{"+CME ERROR: 10"});
    EXPECT_EQ(modem.send("AT+CREG?"), (Lines{"+CREG: 0,0", "OK"})) << "no card, no registration";
}

TEST(SimCard, CardTypeAndTheAnswersOfAReadyCard)
{
    ModemOptions options = ModemHarness::quickOptions();
    options.usim = false;
    ModemHarness modem(options);
    EXPECT_EQ(modem.send("AT^DUSIM?"), (Lines{"^DUSIM: 0", "OK"}));
    EXPECT_EQ(modem.send("AT+CPIN=\"1234\""), Lines{"+CME ERROR: 3"}) << "nothing is asked";
    EXPECT_EQ(modem.send("AT+CIMI"), (Lines{"460001234567890", "OK"}));
}

}  // namespace
}  // namespace cellsim::test
