#include <gtest/gtest.h>

#include <cellsim/CliOptions.h>

namespace cellsim {
namespace {

TEST(CliOptions, ReadsStartingStateFaultsAndTransport)
{
    const CliParse parsed = parseCliArguments({"--sim", "pin", "--pin=4321", "--mode", "gsm", "--tcp", "0", "--latency",
                                               "50", "--drop-rate", "0.25", "--split-writes", "--echo", "--garbage",
                                               "--storm", "3", "--operators", "46000:2:home,46006:0:forbidden"});
    ASSERT_TRUE(parsed.settings) << parsed.error;
    const CliSettings& settings = *parsed.settings;
    EXPECT_EQ(settings.modem.sim, SimStart::PinLocked);
    EXPECT_EQ(settings.modem.pin, "4321");
    EXPECT_EQ(settings.modem.mode, ModeStart::Gsm);
    EXPECT_EQ(settings.server.transport, ServerSettings::Transport::Tcp);
    EXPECT_EQ(settings.modem.faults.latency, std::chrono::milliseconds(50));
    EXPECT_DOUBLE_EQ(settings.modem.faults.dropRate, 0.25);
    EXPECT_TRUE(settings.modem.faults.splitWrites);
    EXPECT_TRUE(settings.modem.faults.forcedEcho);
    EXPECT_TRUE(settings.modem.faults.garbage);
    EXPECT_EQ(settings.modem.faults.storm, 3u);
    ASSERT_EQ(settings.modem.networks.size(), 2u);
    EXPECT_TRUE(settings.modem.networks[0].home);
    EXPECT_EQ(settings.modem.networks[0].shortName, "CMCC");
    EXPECT_TRUE(settings.modem.networks[1].forbidden);
    EXPECT_EQ(settings.modem.networks[1].shortName, "CNC");
}

TEST(CliOptions, RefusesBadValuesWithAClearMessage)
{
    EXPECT_EQ(parseCliArguments({"--sim", "maybe"}).error, "bad value 'maybe' for --sim");
    EXPECT_EQ(parseCliArguments({"--pin", "12"}).error, "bad value '12' for --pin");
    EXPECT_EQ(parseCliArguments({"--drop-rate", "1.5"}).error, "bad value '1.5' for --drop-rate");
    EXPECT_EQ(parseCliArguments({"--tcp", "70000"}).error, "bad value '70000' for --tcp");
    EXPECT_EQ(parseCliArguments({"--operators", "46000:1"}).error, "bad value '46000:1' for --operators");
    EXPECT_EQ(parseCliArguments({"--latency"}).error, "--latency needs a value (MS)");
    EXPECT_EQ(parseCliArguments({"--garbage=yes"}).error, "--garbage takes no value");
    EXPECT_EQ(parseCliArguments({"--frobnicate"}).error, "unknown option '--frobnicate'");
    EXPECT_TRUE(parseCliArguments({"-h"}).settings->help);
}

TEST(CliOptions, HelpDocumentsEveryOption)
{
    const std::string usage = cliUsage();
    for (const char* option : {"--pty", "--link", "--tcp", "--sim", "--pin", "--puk", "--mode", "--operators",
                               "--registration-delay", "--scan-time", "--latency", "--drop-rate", "--split-writes",
                               "--echo", "--garbage", "--storm", "--seed", "--trace", "--help"}) {
        EXPECT_NE(usage.find(std::string("  ") + option + " "), std::string::npos) << option;
    }
}

}  // namespace
}  // namespace cellsim
