// Every command on the built-in simulated modem, human and JSON output.
#include <gtest/gtest.h>

#include "ExitStatus.h"
#include "ProgramRun.h"

namespace cellctl::cli::test {
namespace {

// GBK names of the operator table reach people and JSON as UTF-8.
const std::string kChinaMobile = "\xE4\xB8\xAD\xE5\x9B\xBD\xE7\xA7\xBB\xE5\x8A\xA8";
const std::string kChinaUnicom = "\xE4\xB8\xAD\xE5\x9B\xBD\xE8\x81\x94\xE9\x80\x9A";

nlohmann::json jsonRun(const std::vector<std::string>& args)
{
    std::vector<std::string> all = {"--json"};
    all.insert(all.end(), args.begin(), args.end());
    ProgramRun run = runOnSimulator(all);
    EXPECT_EQ(run.status, 0) << testing::PrintToString(args) << "\n" << run.out << run.err;
    nlohmann::json document = run.json();
    EXPECT_EQ(document.value("ok", false), true) << document.dump(2);
    return document;
}

const nlohmann::json* findEntry(const nlohmann::json& list, const std::string& key, const nlohmann::json& value)
{
    for (const nlohmann::json& entry : list) {
        if (entry.at(key) == value)
            return &entry;
    }
    return nullptr;
}

TEST(Status, ShowsOneScreenAfterPoweringOn)
{
    ProgramRun run = runOnSimulator({"status"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* line :
         {"Powering on the radio ... on", "SIM card:         ready", "Registration:     registered, home network",
          "Attempts left:    PIN 3, PUK 10, PIN2 3, PUK2 10", "Signal:           41 (TD-SCDMA)",
          "Network mode:     dual (GSM and TD-SCDMA), preferring TD-SCDMA", "Power-on mode:    TD-SCDMA"})
        EXPECT_NE(run.out.find(line), std::string::npos) << "missing: " << line << "\n" << run.out;
    EXPECT_NE(run.out.find("Operator:         " + kChinaMobile + " (46000), automatic selection"), std::string::npos)
        << run.out;

    nlohmann::json status = jsonRun({"status"});
    EXPECT_EQ(status.at("sim").at("state"), "ready");
    EXPECT_EQ(status.at("sim").at("attempts_left").at("puk"), 10);
    EXPECT_EQ(status.at("registration"), "home");
    EXPECT_EQ(status.at("operator").at("code"), "46000");
    EXPECT_EQ(status.at("operator").at("name"), kChinaMobile);
    EXPECT_EQ(status.at("signal").at("access_technology"), "td");
    EXPECT_EQ(status.at("signal").at("level"), 41);
    EXPECT_EQ(status.at("network_mode").at("mode"), "dual");
    EXPECT_EQ(status.at("power_on_mode").at("access_technology"), "td");
}

TEST(Status, GsmModemReadsTheGsmSignal)
{
    nlohmann::json status = jsonRun({"--sim-mode", "gsm", "status"});
    EXPECT_EQ(status.at("network_mode").at("mode"), "gsm");
    EXPECT_EQ(status.at("signal").at("access_technology"), "gsm");
    EXPECT_EQ(status.at("signal").at("level"), 23);
    EXPECT_EQ(status.at("signal").at("dbm"), -67);
}

TEST(Status, LockedCardIsShownAndUnlockedOnlyWithPin)
{
    nlohmann::json locked = jsonRun({"--sim-state", "pin", "status"});
    EXPECT_EQ(locked.at("sim").at("state"), "pin-required");
    EXPECT_EQ(locked.at("registration"), "not-registered");

    nlohmann::json unlocked = jsonRun({"--sim-state", "pin", "--pin", "1234", "status"});
    EXPECT_EQ(unlocked.at("sim").at("state"), "ready");
    EXPECT_EQ(unlocked.at("registration"), "home");
}

TEST(Status, WithoutACardThereIsNoOperator)
{
    ProgramRun human = runOnSimulator({"--sim-state", "absent", "status"});
    EXPECT_EQ(human.status, 0) << human.err;
    EXPECT_NE(human.out.find("Operator:         none (automatic selection)"), std::string::npos) << human.out;

    nlohmann::json status = jsonRun({"--sim-state", "absent", "status"});
    EXPECT_EQ(status.at("sim").at("state"), "absent");
    EXPECT_TRUE(status.at("operator").is_null()) << status.dump(2);
}

TEST(Sim, StatusUnlockUnblockLockAndPasswords)
{
    nlohmann::json status = jsonRun({"sim"});
    EXPECT_EQ(status.at("state"), "ready");
    EXPECT_EQ(status.at("pin_lock"), false);
    EXPECT_EQ(status.at("attempts_left").at("pin2"), 3);

    ProgramRun human = runOnSimulator({"sim", "status"});
    EXPECT_NE(human.out.find("PIN lock:         off"), std::string::npos) << human.out;

    EXPECT_EQ(jsonRun({"--sim-state", "pin", "sim", "unlock", "1234"}).at("state"), "ready");
    EXPECT_EQ(jsonRun({"--sim-state", "pin", "--pin", "1234", "sim", "unlock"}).at("state"), "ready");
    EXPECT_EQ(
        jsonRun({"--sim-state", "puk", "--sim-puk", "87654321", "sim", "unblock", "87654321", "4321"}).at("state"),
        "ready");
    EXPECT_EQ(jsonRun({"sim", "lock", "on", "1234"}).at("pin_lock"), true);
    EXPECT_EQ(jsonRun({"--sim-state", "pin", "sim", "lock", "off", "1234"}).at("pin_lock"), false);

    ProgramRun pin = runOnSimulator({"sim", "change-pin", "1234", "4321"});
    EXPECT_EQ(pin.status, 0) << pin.err;
    EXPECT_NE(pin.out.find("Changing the PIN ... changed"), std::string::npos) << pin.out;
    ProgramRun pin2 = runOnSimulator({"sim", "change-pin2", "5678", "8765"});
    EXPECT_EQ(pin2.status, 0) << pin2.err;
    EXPECT_NE(pin2.out.find("(PIN2) ... changed"), std::string::npos) << pin2.out;
}

TEST(Sim, WrongPasswordsCountDownAndAreNeverRetried)
{
    ProgramRun puk = runOnSimulator({"--json", "--sim-state", "puk", "sim", "unblock", "11111111", "4321"});
    EXPECT_EQ(puk.status, exitStatusOf(ErrorKind::WrongPassword));
    EXPECT_EQ(puk.json().at("error").at("attempts_left").at("puk"), 9);

    ProgramRun pin2 = runOnSimulator({"sim", "change-pin2", "1111", "8765"});
    EXPECT_EQ(pin2.status, exitStatusOf(ErrorKind::WrongPassword));
    EXPECT_NE(pin2.err.find("wrong PIN2 (2 attempts left)"), std::string::npos) << pin2.err;

    ProgramRun lock = runOnSimulator({"sim", "lock", "on", "9999"});
    EXPECT_EQ(lock.status, exitStatusOf(ErrorKind::WrongPassword));

    ProgramRun notBlocked = runOnSimulator({"sim", "unblock", "12345678", "4321"});
    EXPECT_EQ(notBlocked.status, exitStatusOf(ErrorKind::Failed));
    EXPECT_NE(notBlocked.err.find("not blocked"), std::string::npos) << notBlocked.err;
}

TEST(Operators, CurrentScanSelectAndAutomatic)
{
    nlohmann::json current = jsonRun({"operators"});
    EXPECT_EQ(current.at("operator").at("code"), "46000");
    EXPECT_EQ(current.at("operator").at("short_name"), "CMCC");
    EXPECT_EQ(current.at("selection"), "automatic");
    EXPECT_EQ(current.at("access_technology"), "td");

    nlohmann::json scan = jsonRun({"operators", "scan"});
    const nlohmann::json& found = scan.at("operators");
    EXPECT_EQ(found.size(), 7u);
    const nlohmann::json* unicom = findEntry(found, "code", "46001");
    ASSERT_NE(unicom, nullptr);
    EXPECT_EQ(unicom->at("name"), kChinaUnicom);
    EXPECT_EQ(unicom->at("state"), "available");
    EXPECT_EQ(unicom->at("access_technology"), "gsm");
    EXPECT_EQ(findEntry(found, "code", "46005")->at("state"), "forbidden");
    EXPECT_EQ(findEntry(found, "state", "current")->at("code"), "46000");

    ProgramRun human = runOnSimulator({"operators", "scan"});
    EXPECT_NE(human.out.find("Scanning for networks (this can take a few minutes) ..."), std::string::npos);
    EXPECT_NE(human.out.find("  " + kChinaUnicom + " (46001), GSM, available"), std::string::npos) << human.out;

    nlohmann::json selected = jsonRun({"operators", "select", "46001"});
    EXPECT_EQ(selected.at("operator").at("code"), "46001");
    EXPECT_EQ(selected.at("selection"), "manual");
    EXPECT_EQ(selected.at("access_technology"), "gsm");

    ProgramRun forbidden = runOnSimulator({"operators", "select", "46005"});
    EXPECT_EQ(forbidden.status, exitStatusOf(ErrorKind::Failed));

    nlohmann::json automatic = jsonRun({"operators", "auto"});
    EXPECT_EQ(automatic.at("selection"), "automatic");
    EXPECT_EQ(automatic.at("operator").at("code"), "46000");
}

TEST(Preferred, ListWriteDeleteAndSelector)
{
    nlohmann::json list = jsonRun({"preferred"});
    ASSERT_FALSE(list.at("preferred").empty());
    const nlohmann::json& first = list.at("preferred").at(0);
    EXPECT_EQ(first.at("index"), 1);
    EXPECT_EQ(first.at("code"), "46000");
    EXPECT_EQ(first.at("name"), kChinaMobile);

    nlohmann::json written = jsonRun({"preferred", "write", "3", "46001", "--gsm"});
    const nlohmann::json* entry = findEntry(written.at("preferred"), "index", 3);
    ASSERT_NE(entry, nullptr) << written.dump(2);
    EXPECT_EQ(entry->at("code"), "46001");
    EXPECT_EQ(entry->at("gsm"), true);
    EXPECT_EQ(entry->at("td"), false);

    nlohmann::json both = jsonRun({"preferred", "write", "4", "46007"});
    const nlohmann::json* fourth = findEntry(both.at("preferred"), "index", 4);
    ASSERT_NE(fourth, nullptr) << both.dump(2);
    EXPECT_EQ(fourth->at("gsm"), true);
    EXPECT_EQ(fourth->at("td"), true);

    nlohmann::json deleted = jsonRun({"preferred", "delete", "1"});
    EXPECT_EQ(findEntry(deleted.at("preferred"), "index", 1), nullptr) << deleted.dump(2);

    // An empty slot: nothing is sent, and the outcome says so.
    ProgramRun empty = runOnSimulator({"--trace", "preferred", "delete", "9"});
    EXPECT_EQ(empty.status, 0) << empty.err;
    EXPECT_NE(empty.out.find("Deleting entry 9 ... slot 9 is empty; nothing deleted"), std::string::npos) << empty.out;
    EXPECT_EQ(linesContaining(empty.err, "> AT+CPOL=9"), 0) << empty.err;

    EXPECT_EQ(jsonRun({"preferred", "selector"}).at("selector"), 0);
    EXPECT_EQ(jsonRun({"preferred", "selector", "1"}).at("selector"), 1);
}

TEST(Mode, ShowSwitchAndPowerOnMode)
{
    nlohmann::json shown = jsonRun({"mode"});
    EXPECT_EQ(shown.at("network_mode").at("mode"), "dual");
    EXPECT_EQ(shown.at("power_on_mode").at("access_technology"), "td");

    EXPECT_EQ(jsonRun({"mode", "switch", "gsm"}).at("network_mode").at("mode"), "gsm");
    EXPECT_EQ(jsonRun({"mode", "switch", "td"}).at("network_mode").at("mode"), "td");
    EXPECT_EQ(jsonRun({"--sim-mode", "gsm", "mode", "switch", "dual"}).at("network_mode").at("mode"), "dual");
    EXPECT_EQ(jsonRun({"mode", "power-on", "gsm"}).at("power_on_mode").at("access_technology"), "gsm");

    ProgramRun human = runOnSimulator({"mode", "switch", "gsm"});
    EXPECT_NE(human.out.find("Network mode:     GSM only"), std::string::npos) << human.out;
}

TEST(Power, OnOffReset)
{
    EXPECT_EQ(jsonRun({"power", "on"}).at("steps").at(0).at("result"), "on");
    EXPECT_EQ(jsonRun({"power", "off"}).at("steps").at(0).at("result"), "off");
    EXPECT_EQ(jsonRun({"power", "reset"}).at("steps").at(0).at("result"), "done");
    ProgramRun human = runOnSimulator({"power", "off"});
    EXPECT_NE(human.out.find("Powering off the radio ... off"), std::string::npos) << human.out;
}

TEST(Monitor, FollowsTheModemUntilInterrupted)
{
    // Stopped with Ctrl-C once registration, signal and HSDPA have all shown.
    ProgramRun run = runProgramInterrupted(
        {"--sim-registration-delay", "0.1", "monitor", "--interval", "0.2"},
        {"registration: registered, home network", "signal: 41 (TD-SCDMA)", "cell-capability: HSDPA available"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("(Ctrl-C to stop)"), std::string::npos) << run.out;
}

TEST(Monitor, JsonEventsAndTheEventBound)
{
    // Exactly as many reports as asked, though several arrive together at the start.
    nlohmann::json followed = jsonRun({"monitor", "--events", "3", "--duration", "120", "--interval", "0.2"});
    const nlohmann::json& events = followed.at("events");
    ASSERT_EQ(events.size(), 3u) << followed.dump(2);
    for (const nlohmann::json& event : events) {
        EXPECT_FALSE(event.at("event").get<std::string>().empty());
        EXPECT_GE(event.at("seconds").get<double>(), 0.0);
    }
    ProgramRun human = runOnSimulator({"monitor", "--events", "3", "--duration", "120", "--interval", "0.2"});
    EXPECT_EQ(human.status, 0) << human.err;
    EXPECT_EQ(linesContaining(human.out, ": "), 3) << human.out;
}

TEST(Interrupt, StopsAWaitingCommandWithItsOwnStatus)
{
    ProgramRun run = runProgramInterrupted({"--sim-registration-delay", "600", "connect", "--apn", "cmnet"},
                                           {"Waiting for network registration ..."});
    EXPECT_EQ(run.status, exitStatusOf(ErrorKind::Interrupted)) << run.out << run.err;
    EXPECT_NE(run.err.find("interrupted"), std::string::npos) << run.err;
}

TEST(Help, EveryCommandHasHelpWithExamples)
{
    ProgramRun main = runProgram({"--help"});
    EXPECT_EQ(main.status, 0);
    for (const char* command : {"status", "connect", "sim", "operators", "preferred", "mode", "power", "monitor"})
        EXPECT_NE(main.out.find(std::string("  ") + command), std::string::npos) << command;
    EXPECT_NE(main.out.find("Exit status:"), std::string::npos);

    for (const std::vector<std::string>& command :
         std::vector<std::vector<std::string>>{{"connect", "--help"},
                                               {"sim", "unblock", "--help"},
                                               {"operators", "scan", "--help"},
                                               {"monitor", "--help"}}) {
        ProgramRun run = runProgram(command);
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("Examples:\n  cellctl"), std::string::npos) << run.out;
    }
}

}  // namespace
}  // namespace cellctl::cli::test
