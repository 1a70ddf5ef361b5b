// connect on the built-in simulated modem up to the attach (--no-dial); the
// data call itself is in DataLinkTest.cpp.
#include <gtest/gtest.h>

#include "ExitStatus.h"
#include "ProgramRun.h"

namespace cellctl::cli::test {
namespace {

const std::vector<std::string> kPinLockedConnect = {"--sim-state", "pin",     "--sim-pin", "1234",  "--pin",
                                                    "1234",        "connect", "--apn",     "cmnet", "--no-dial"};

std::vector<std::string> stepsOf(const nlohmann::json& document)
{
    std::vector<std::string> steps;
    for (const nlohmann::json& step : document.at("steps"))
        steps.push_back(step.at("step").get<std::string>());
    return steps;
}

TEST(Connect, PinLockedCardComesOnlineShowingEveryStepInOrder)
{
    ProgramRun run = runOnSimulator(kPinLockedConnect);
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const char* steps[] = {"Powering on the radio ... on",
                           "Checking the SIM card ... waiting for its PIN",
                           "Unlocking the SIM card with the PIN ... unlocked",
                           "Waiting for network registration ... registered, home network",
                           "Defining the PDP context (APN cmnet) ... ok",
                           "Requesting quality of service (background, 64/384 kbit/s up/down) ... ok",
                           "Attaching to the packet domain ... attached"};
    size_t position = 0;
    for (const char* step : steps) {
        size_t found = run.out.find(step, position);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << step << "\n" << run.out;
        position = found;
    }
    // The operator's GBK name reaches the terminal as UTF-8, with its code.
    EXPECT_NE(
        run.out.find(
            "Attached (no data link): APN cmnet on \xE4\xB8\xAD\xE5\x9B\xBD\xE7\xA7\xBB\xE5\x8A\xA8 (46000), TD-SCDMA"),
        std::string::npos)
        << run.out;
}

TEST(Connect, JsonDocumentCarriesStepsOperatorAndQos)
{
    std::vector<std::string> args = {"--json"};
    args.insert(args.end(), kPinLockedConnect.begin(), kPinLockedConnect.end());
    ProgramRun run = runOnSimulator(args);
    ASSERT_EQ(run.status, 0) << run.err;
    nlohmann::json document = run.json();
    EXPECT_EQ(document.at("command"), "connect");
    EXPECT_EQ(document.at("ok"), true);
    EXPECT_EQ(document.at("connected"), false);
    EXPECT_EQ(document.at("attached"), true);
    EXPECT_EQ(document.at("apn"), "cmnet");
    EXPECT_EQ(stepsOf(document),
              (std::vector<std::string>{"power-on", "sim", "unlock", "registration", "context", "qos", "attach"}));
    EXPECT_EQ(document.at("operator").at("code"), "46000");
    EXPECT_EQ(document.at("operator").at("name"), "\xE4\xB8\xAD\xE5\x9B\xBD\xE7\xA7\xBB\xE5\x8A\xA8");
    EXPECT_EQ(document.at("operator").at("short_name"), "CMCC");
    EXPECT_EQ(document.at("registration"), "home");
    const nlohmann::json& qos = document.at("steps").at(5);
    EXPECT_EQ(qos.at("traffic_class"), "background");
    EXPECT_EQ(qos.at("uplink_kbps"), 64);
    EXPECT_EQ(qos.at("downlink_kbps"), 384);
    // Human progress never leaks into the JSON stream.
    EXPECT_EQ(run.out.find("Powering on"), std::string::npos);
}

TEST(Connect, OwnQosProfileAndGsmWithoutQos)
{
    ProgramRun qos =
        runOnSimulator({"--json", "connect", "--apn", "cmnet", "--qos", "interactive,128,2048", "--no-dial"});
    ASSERT_EQ(qos.status, 0) << qos.err;
    nlohmann::json step = qos.json().at("steps").at(4);
    EXPECT_EQ(step.at("step"), "qos");
    EXPECT_EQ(step.at("traffic_class"), "interactive");
    EXPECT_EQ(step.at("downlink_kbps"), 2048);

    ProgramRun gsm = runOnSimulator({"--json", "connect", "--apn", "cmwap", "--gsm", "--no-dial"});
    ASSERT_EQ(gsm.status, 0) << gsm.err;
    EXPECT_EQ(stepsOf(gsm.json()), (std::vector<std::string>{"power-on", "sim", "registration", "context", "attach"}));
}

TEST(Connect, TraceShowsTheAtTrafficWithThePinMasked)
{
    ProgramRun run = runOnSimulator({"--trace", "--sim-state", "pin", "--sim-pin", "2468", "--pin", "2468", "connect",
                                     "--apn", "cmnet", "--no-dial"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_GT(linesContaining(run.err, "AT+CPIN"), 0) << run.err;
    EXPECT_GT(linesContaining(run.err, "AT+CGDCONT"), 0) << run.err;
    EXPECT_EQ(linesContaining(run.err, "2468"), 0) << run.err;
    // The trace stays on stderr.
    EXPECT_EQ(linesContaining(run.out, "AT+"), 0) << run.out;
}

}  // namespace
}  // namespace cellctl::cli::test
