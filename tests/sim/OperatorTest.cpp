// Operators: current operator, names in the character set, scan, selection,
// preferred list and selector.
#include <gtest/gtest.h>

#include "ModemHarness.h"

namespace cellsim::test {
namespace {

const std::string cmccLong = "\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF";
const std::string cmccHex = "D6D0B9FAD2C6B6AF";

TEST(Operators, CurrentOperatorInEachFormatAndCharacterSet)
{
    ModemHarness modem;
    modem.powerOn();
    EXPECT_EQ(modem.send("AT+COPS?"), (Lines{"+COPS: 0,0,\"" + cmccLong + "\",2", "OK"})) << "raw GBK under IRA";
    modem.send("AT+CSCS=\"HEX\"");
    EXPECT_EQ(modem.send("AT+COPS?"), (Lines{"+COPS: 0,0,\"" + cmccHex + "\",2", "OK"}));
    modem.send("AT+COPS=3,1");
    EXPECT_EQ(modem.send("AT+COPS?"), (Lines{"+COPS: 0,1,\"434D4343\",2", "OK"})) << "short names too";
    modem.send("AT+COPS=3,2");
    EXPECT_EQ(modem.send("AT+COPS?"), (Lines{"+COPS: 0,2,\"46000\",2", "OK"})) << "codes stay digits";
    EXPECT_EQ(modem.send("AT+CSCS=\"UCS2\""), Lines{"+CME ERROR: 4"});
    EXPECT_EQ(modem.send("at+cscs=ira"), Lines{"OK"}) << "lower case and unquoted";
    EXPECT_EQ(modem.send("AT+CSCS?"), (Lines{"+CSCS: \"IRA\"", "OK"}));
}

TEST(Operators, ScanTakesItsTimeAndListsEveryNetworkWithItsState)
{
    ModemHarness modem;
    modem.powerOn();
    modem.send("AT+CSCS=\"HEX\"");
    modem.type("AT+COPS=?\r");
    modem.scheduler.advance(499ms);
    EXPECT_TRUE(modem.takeLines().empty());
    modem.scheduler.advance(1ms);
    const Lines lines = modem.takeLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0],
              "+COPS: (2,\"" + cmccHex + "\",\"434D4343\",\"46000\",2),(1,\"" + cmccHex +
                  "\",\"434D4343\",\"46000\",0),(1,\"" + cmccHex + "\",\"434D4343\",\"46002\",0),(1,\"" + cmccHex +
                  "\",\"434D4343\",\"46007\",2),(1,\"D6D0B9FAC1AACDA8\",\"43554343\",\"46001\",0),"
                  "(3,\"D6D0B9FAB5E7D0C5\",\"435443\",\"46005\",0),(3,\"D6D0B9FACDF8CDA8\",\"434E43\",\"46006\",0),"
                  ",(0,1,2,3,4),(0,1,2)");
    EXPECT_EQ(lines[1], "OK");
}

TEST(Operators, ScanInSingleModeSeesOnlyThatAccessTechnology)
{
    ModemOptions options = ModemHarness::quickOptions();
    options.mode = ModeStart::Td;
    options.scanDuration = 0ms;
    ModemHarness modem(options);
    modem.powerOn();
    modem.send("AT+CSCS=\"HEX\"");
    const Lines lines = modem.send("AT+COPS=?");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "+COPS: (2,\"" + cmccHex + "\",\"434D4343\",\"46000\",2),(1,\"" + cmccHex +
                            "\",\"434D4343\",\"46007\",2),,(0,1,2,3,4),(0,1,2)");
}

TEST(Operators, ManualSelectionRegistersAfterTheDelayAndAutomaticReturnsHome)
{
    ModemHarness modem;
    modem.powerOn();
    modem.send("AT+CREG=1");
    modem.type("AT+COPS=1,2,\"46001\"\r");
    EXPECT_EQ(modem.takeLines(), Lines{}) << "no answer before the registration settles";
    modem.scheduler.advance(100ms);
    EXPECT_EQ(modem.takeLines(), (Lines{"OK", "+CREG: 2", "+CREG: 5"})) << "46001 is not home";
    EXPECT_EQ(modem.send("AT+COPS?"), (Lines{"+COPS: 1,2,\"46001\",0", "OK"}));

    EXPECT_EQ(modem.send("AT+COPS=1,2,\"46006\""), Lines{"+CME ERROR: 32"}) << "forbidden";
    EXPECT_EQ(modem.send("AT+COPS=1,2,\"99999\""), Lines{"+CME ERROR: 30"});
    EXPECT_EQ(modem.send("AT+COPS?"), (Lines{"+COPS: 1,2,\"46001\",0", "OK"})) << "refusals keep the network";

    EXPECT_EQ(modem.send("AT+COPS=0"), (Lines{"OK", "+CREG: 2", "+CREG: 1"}));
    EXPECT_EQ(modem.send("AT+COPS?"), (Lines{"+COPS: 0,2,\"46000\",2", "OK"}));
    EXPECT_EQ(modem.send("AT+COPS=0"), Lines{"OK"}) << "already there";

    EXPECT_EQ(modem.send("AT+COPS=2"), (Lines{"OK", "+CREG: 0"}));
    EXPECT_EQ(modem.send("AT+COPS?"), (Lines{"+COPS: 2", "OK"}));
}

TEST(Operators, ManualSelectionByNameUnderHexAndWithAccessTechnology)
{
    ModemHarness modem;
    modem.powerOn();
    modem.send("AT+CSCS=\"HEX\"");
    EXPECT_EQ(modem.send("AT+COPS=1,1,\"43554343\""), Lines{"OK"});
    EXPECT_EQ(modem.send("AT+COPS?"), (Lines{"+COPS: 1,1,\"43554343\",0", "OK"}));
    EXPECT_EQ(modem.send("AT+COPS=1,0,\"" + cmccHex + "\",0"), Lines{"OK"});
    EXPECT_EQ(modem.send("AT+COPS=3,2;+COPS?"), (Lines{"+COPS: 1,2,\"46000\",0", "OK"}));
    EXPECT_EQ(modem.send("AT+COPS=1,0,\"CMCC\""), Lines{"+CME ERROR: 30"}) << "plain text is no HEX name";
    EXPECT_EQ(modem.send("AT+COPS=4,2,\"99999\""), Lines{"OK"}) << "mode 4 falls back to automatic";
    EXPECT_EQ(modem.send("AT+COPS?"), (Lines{"+COPS: 0,2,\"46000\",2", "OK"}));
    EXPECT_EQ(modem.send("AT+COPS=1"), Lines{"ERROR"});
    EXPECT_EQ(modem.send("AT+COPS=5"), Lines{"ERROR"});
}

TEST(Operators, PreferredListIsWrittenAndDeleted)
{
    ModemHarness modem;
    EXPECT_EQ(modem.send("AT+CPOL?"),
              (Lines{"+CPOL: 1,2,\"46000\",1,0,1", "+CPOL: 2,2,\"46002\",1,0,0", "+CPOL: 3,2,\"46007\",0,0,1", "OK"}));
    EXPECT_EQ(modem.send("AT+CPOL=5,2,\"46001\",1,0,0"), Lines{"OK"});
    EXPECT_EQ(modem.send("AT+CPOL=2"), Lines{"OK"});
    EXPECT_EQ(modem.send("AT+CPOL=,2,\"46006\",1,0,0"), Lines{"OK"}) << "no index: the first free one";
    modem.send("AT+CSCS=\"HEX\"");
    modem.send("AT+CPOL=,1");
    EXPECT_EQ(modem.send("AT+CPOL?"), (Lines{"+CPOL: 1,1,\"434D4343\",1,0,1", "+CPOL: 2,1,\"434E43\",1,0,0",
                                             "+CPOL: 3,1,\"434D4343\",0,0,1", "+CPOL: 5,1,\"43554343\",1,0,0", "OK"}));
    EXPECT_EQ(modem.send("AT+CPOL=6,0,\"D6D0B9FAB5E7D0C5\",0,0,1"), Lines{"OK"}) << "written by long name";
    modem.send("AT+CPOL=,2");
    EXPECT_EQ(modem.send("AT+CPOL?").at(4), "+CPOL: 6,2,\"46005\",0,0,1");

    EXPECT_EQ(modem.send("AT+CPOL=17,2,\"46000\",1,0,0"), Lines{"+CME ERROR: 21"});
    EXPECT_EQ(modem.send("AT+CPOL=0"), Lines{"+CME ERROR: 21"});
    EXPECT_EQ(modem.send("AT+CPOL=1,2,\"4600\",1,0,0"), Lines{"ERROR"});
    EXPECT_EQ(modem.send("AT+CPOL=1,0,\"4E4F4E45\""), Lines{"+CME ERROR: 22"});
    EXPECT_EQ(modem.send("AT+CPOL=1,2,\"46000\",2,0,0"), Lines{"ERROR"});
}

TEST(Operators, PreferredListFillsUp)
{
    ModemHarness modem;
    for (int i = 4; i <= 16; ++i) {
        ASSERT_EQ(modem.send("AT+CPOL=,2,\"46001\",1,0,0"), Lines{"OK"});
    }
    EXPECT_EQ(modem.send("AT+CPOL=,2,\"46001\",1,0,0"), Lines{"+CME ERROR: 20"});
}

TEST(Operators, SelectorAndSimGates)
{
    ModemOptions options = ModemHarness::quickOptions();
    options.sim = SimStart::PinLocked;
    ModemHarness modem(options);
    EXPECT_EQ(modem.send("AT+CPLS?"), Lines{"+CME ERROR: 11"});
    EXPECT_EQ(modem.send("AT+CPOL?"), Lines{"+CME ERROR: 11"});
    modem.send("AT+CPIN=\"1234\"");
    EXPECT_EQ(modem.send("AT+CPLS?"), (Lines{"+CPLS: 0", "OK"}));
    EXPECT_EQ(modem.send("AT+CPLS=1"), Lines{"OK"});
    EXPECT_EQ(modem.send("AT+CPLS?"), (Lines{"+CPLS: 1", "OK"}));
    EXPECT_EQ(modem.send("AT+CPLS=3"), Lines{"ERROR"});
}

}  // namespace
}  // namespace cellsim::test
