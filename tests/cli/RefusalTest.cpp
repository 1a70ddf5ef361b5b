// Input that cannot be right is refused with status 2 before anything reaches
// the modem, and the refusal never echoes control characters; a step the modem
// refuses ends the sequence there.
#include <gtest/gtest.h>

#include "ExitStatus.h"
#include "ProgramRun.h"

namespace cellctl::cli::test {
namespace {

bool hasControlCharacters(const std::string& text)
{
    for (unsigned char c : text) {
        if ((c < 0x20 && c != '\n') || c == 0x7F)
            return true;
    }
    return false;
}

// The run was refused as a bad command line, sent nothing, and printed
// nothing a terminal would act on.
void expectRefusedBeforeSending(const ProgramRun& run, const std::string& because, const std::string& what)
{
    EXPECT_EQ(run.status, exitStatusOf(ErrorKind::BadArguments)) << what << "\n" << run.out << run.err;
    EXPECT_NE(run.err.find(because), std::string::npos) << what << "\n" << run.err;
    EXPECT_EQ(linesContaining(run.err, "> AT"), 0) << what << "\n" << run.err;
    EXPECT_FALSE(hasControlCharacters(run.out + run.err)) << what;
    EXPECT_LT(run.err.size(), 1000u) << what;
}

TEST(Refusal, AccessPointNamesAreCheckedBeforeAnythingIsSent)
{
    const std::string bad[] = {
        "cmnet\",\"10.9.8.7",  // extra +CGDCONT parameters
        "cm\"net",
        "cm;net",
        "cm net",
        "cm\rnet",
        "cm\nnet",
        "cm\x1b[31mnet",
        "",
        ".cmnet",
        "cm..net",
        "cmnet.",
        "-cmnet",
        std::string(64, 'a'),  // a label over 63 octets
        std::string(100000, 'a'),
        "a." + std::string(98, 'b') + ".c",  // 103 octets in labels that fit
    };
    for (const std::string& apn : bad) {
        expectRefusedBeforeSending(runOnSimulator({"--trace", "connect", "--apn", apn, "--no-dial"}),
                                   "not an access point name", testing::PrintToString(apn.substr(0, 40)));
    }

    ProgramRun good = runOnSimulator({"--trace", "connect", "--apn", "3gnet.mnc001.mcc460.gprs", "--no-dial"});
    EXPECT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(linesContaining(good.err, "> AT+CGDCONT=1,\"IP\",\"3gnet.mnc001.mcc460.gprs\""), 1) << good.err;
}

TEST(Refusal, ConnectStopsAtTheFirstStepTheModemRefuses)
{
    ProgramRun context =
        runOnSimulator({"--trace", "--sim-refuse", "+CGDCONT", "connect", "--apn", "cmnet", "--no-dial"});
    EXPECT_EQ(context.status, exitStatusOf(ErrorKind::Failed)) << context.err;
    EXPECT_NE(context.err.find("refused the PDP context"), std::string::npos) << context.err;
    EXPECT_EQ(linesContaining(context.err, "> AT+CGEQREQ"), 0) << context.err;
    EXPECT_EQ(linesContaining(context.err, "> AT+CGATT"), 0) << context.err;

    ProgramRun qos = runOnSimulator({"--trace", "--sim-refuse", "+CGEQREQ", "connect", "--apn", "cmnet", "--no-dial"});
    EXPECT_EQ(qos.status, exitStatusOf(ErrorKind::Failed)) << qos.err;
    EXPECT_NE(qos.err.find("refused the QoS profile"), std::string::npos) << qos.err;
    EXPECT_EQ(linesContaining(qos.err, "> AT+CGATT"), 0) << qos.err;
}

TEST(Refusal, PinsAndPuksNoCardCanHaveAreNeverSent)
{
    const std::string sixteen(16, '1');
    const std::vector<std::vector<std::string>> lines = {
        {"--sim-state", "pin", "--pin", "1", "status"},
        {"--sim-state", "pin", "--pin", sixteen, "status"},
        {"--sim-state", "pin", "sim", "unlock", "123"},
        {"--sim-state", "pin", "sim", "unlock", "123456789"},
        {"--sim-state", "puk", "sim", "unblock", "1234567", "4321"},
        {"--sim-state", "puk", "sim", "unblock", "123456789", "4321"},
        {"--sim-state", "puk", "sim", "unblock", "12345678", "12"},
        {"sim", "change-pin", "1234", "123"},
        {"sim", "change-pin2", "5678", sixteen},
        {"sim", "lock", "on", "12a4"},
    };
    for (const std::vector<std::string>& line : lines) {
        std::vector<std::string> traced = {"--trace"};
        traced.insert(traced.end(), line.begin(), line.end());
        ProgramRun run = runOnSimulator(traced);
        expectRefusedBeforeSending(run, "digits", testing::PrintToString(line));
    }

    // The longest PIN a card can have is taken.
    ProgramRun longest =
        runOnSimulator({"--sim-state", "pin", "--sim-pin", "12345678", "--pin", "12345678", "sim", "unlock"});
    EXPECT_EQ(longest.status, 0) << longest.err;
}

TEST(Refusal, TcpTargetsAreHostAndPortWithoutSerialOptions)
{
    expectRefusedBeforeSending(runProgram({"--trace", "--tcp", "tcp:7000", "status"}), "expected HOST:PORT",
                               "a prefix and a port, no host");
    expectRefusedBeforeSending(runProgram({"--trace", "--baud", "9600", "--tcp", "127.0.0.1:1", "status"}),
                               "--baud applies to serial devices, not --tcp", "--baud with --tcp");

    // tcp:HOST:PORT, as cellctl's own messages name the target, is that target.
    ProgramRun prefixed = runProgram({"--tcp", "tcp:127.0.0.1:1", "status"});
    EXPECT_EQ(prefixed.status, exitStatusOf(ErrorKind::DeviceNotFound)) << prefixed.err;
    EXPECT_NE(prefixed.err.find("nothing answers at tcp:127.0.0.1:1:"), std::string::npos) << prefixed.err;
}

}  // namespace
}  // namespace cellctl::cli::test
