// Packet data: contexts, requested QoS, attach and the reads.
#include <gtest/gtest.h>

#include "ModemHarness.h"

namespace cellsim::test {
namespace {

TEST(PacketData, ContextAndQosAreStoredAsDefined)
{
    ModemHarness modem;
    EXPECT_EQ(modem.send("AT+CGDCONT=1,\"IP\",\"cmnet\",,0,0"), Lines{"OK"});
    EXPECT_EQ(modem.send("AT+CGEQREQ=1,3,64,384,0,0,0,1500,\"0E0\",\"0E0\",,0,0"), Lines{"OK"});
    EXPECT_EQ(modem.send("AT+CGDCONT?"), (Lines{"+CGDCONT: 1,\"IP\",\"cmnet\",\"\",0,0", "OK"}));
    EXPECT_EQ(modem.send("AT+CGEQREQ?"), (Lines{"+CGEQREQ: 1,3,64,384,0,0,0,1500,\"0E0\",\"0E0\",3,0,0", "OK"}))
        << "the empty field takes its subscribed value";
    EXPECT_EQ(modem.send("AT^DSML?"), (Lines{"^DSML: 1,5,\"cmnet\"", "OK"}));

    EXPECT_EQ(modem.send("AT+CGEQREQ=2,5"), Lines{"ERROR"}) << "traffic class out of range";
    EXPECT_EQ(modem.send("AT+CGEQREQ=2,3,64,384,0,0,0,1500,\"0X0\""), Lines{"ERROR"});
    EXPECT_EQ(modem.send("AT+CGDCONT=12,\"IP\",\"x\""), Lines{"ERROR"});
    EXPECT_EQ(modem.send("AT+CGDCONT=2,\"X25\",\"x\""), Lines{"ERROR"});

    EXPECT_EQ(modem.send("AT+CGDCONT=1"), Lines{"OK"}) << "a cid alone undefines the context";
    EXPECT_EQ(modem.send("AT+CGDCONT?"), Lines{"OK"});
    EXPECT_EQ(modem.send("AT^DSML?"), Lines{"OK"});
}

TEST(PacketData, AttachWaitsForTheRegistrationAndDetachReports)
{
    ModemHarness modem;
    modem.send("AT+CGREG=1");
    modem.send("AT+CGEREP=2,1");
    modem.type("AT+CFUN=1\r");
    modem.type("AT+CGATT=1\r");
    EXPECT_EQ(modem.takeLines(), (Lines{"OK", "+CGREG: 2"}));
    modem.scheduler.runAll();
    EXPECT_EQ(modem.takeLines(), (Lines{"OK", "+CGREG: 1"})) << "the attach completes with the registration";
    EXPECT_EQ(modem.send("AT+CGATT?"), (Lines{"+CGATT: 1", "OK"}));

    EXPECT_EQ(modem.send("AT+CGATT=0"), (Lines{"OK", "+CGREG: 0", "+CGEV: ME DETACH"}));
    EXPECT_EQ(modem.send("AT+CGATT?"), (Lines{"+CGATT: 0", "OK"}));
    EXPECT_EQ(modem.send("AT+CGREG?"), (Lines{"+CGREG: 1,0", "OK"}));
    EXPECT_EQ(modem.send("AT+CREG?"), (Lines{"+CREG: 0,1", "OK"})) << "still registered for circuit services";
    EXPECT_EQ(modem.send("AT+CGATT=1"), (Lines{"OK", "+CGREG: 1"}));
    EXPECT_EQ(modem.send("AT+CGATT=2"), Lines{"ERROR"});
}

TEST(PacketData, UsimQosRecords)
{
    ModemHarness modem;
    EXPECT_EQ(modem.send("AT^DUQOS=0"), (Lines{"^DUQOS: 0,3,64,384", "OK"}));
    EXPECT_EQ(modem.send("AT^DUQOS=4"), Lines{"+CME ERROR: 21"});
    EXPECT_EQ(modem.send("AT^DUQOS=x"), Lines{"ERROR"});
}

}  // namespace
}  // namespace cellsim::test
