// Answers in the forms real firmware sends (3GPP TS 27.007 and ITU-T V.250 as
// devices bend them), played over a pty through AtPhoneLine into the real
// assistors. Each case checks the whole list of host callbacks that fired:
// the right one, once, with the right value, and nothing else.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "LibraryOverChannel.h"

namespace cellctl::at::test {
namespace {

using Query = PhoneLine::QueryType;
using Lines = std::vector<std::string>;
using Fired = std::vector<std::string>;

std::string flag(bool value) { return value ? "true" : "false"; }

// Every host callback of the assistors, recorded as "<name> <values>".
class RealFirmware : public LibraryOverChannel {
protected:
    RealFirmware()
    {
        power.connectRegistrationResult([this](int status) { log("registration " + std::to_string(status)); });
        power.connectQuerySignalResult(
            [this](int tech, int level) { log("signal " + std::to_string(tech) + "," + std::to_string(level)); });
        power.connectQueryPowerOnResult([this](bool on) { log("powered " + flag(on)); });
        power.connectPowerOnResult([this](bool ok) { log("power on " + flag(ok)); });
        usim.connectNeedCheckPinResult([this](bool need) { log("need pin " + flag(need)); });
        usim.connectNeedCheckPukResult([this](bool need) { log("need puk " + flag(need)); });
        usim.connectCheckPinResult(
            [this](bool ok, int left) { log("check pin " + flag(ok) + "," + std::to_string(left)); });
        usim.connectCheckPukResult(
            [this](bool ok, int left) { log("check puk " + flag(ok) + "," + std::to_string(left)); });
        usim.connectQuerySimCardExistResult([this](bool absent) { log("sim absent " + flag(absent)); });
        cops.connectQueryCopsResult([this](const CCopsInfo& info) {
            log("operator " + info.GetOperatorLongName() + "," + std::to_string(info.GetAccessTechType()));
        });
        cops.connectQueryAvailableCops([this](const std::vector<CCopsInfo>& found) {
            std::string names;
            for (const CCopsInfo& info : found)
                names += " " + info.GetOperatorLongName();
            log("scan" + names);
        });
        cops.connectQueryPreferredCopsList([this](const std::vector<CCopsInfo>& list) {
            std::string entries;
            for (const CCopsInfo& info : list)
                entries += " " + std::to_string(info.GetPreferredPLMNListIndex()) + ":" + info.GetOperatorLongName() +
                           "/" + info.GetOperatorNumericName();
            log("preferred" + entries);
        });
    }

    void log(const std::string& entry) { fired.push_back(entry); }

    // The command goes out, the device answers, and every callback that
    // fired is returned (cleared for the next case).
    Fired answered(const std::function<void()>& send, const std::string& line, const Lines& answer)
    {
        fired.clear();
        send();
        exchange(line, answer);
        rig.settle();
        return std::move(fired);
    }

    Fired reported(const Lines& lines)
    {
        fired.clear();
        std::size_t before = rig.delivered.size();
        report(lines, [&] { return rig.delivered.size() > before; });
        rig.settle();
        return std::move(fired);
    }

    Fired fired;
};

struct Case {
    const char* name;
    Lines device;
    Fired expected;
};

TEST_F(RealFirmware, RegistrationIsReadFromEitherFormAndNeverFromN)
{
    const std::vector<Case> answers = {
        {"zero-padded stat", {"+CREG: 0,001", "OK"}, {"registration 1"}},
        {"two-digit stat", {"+CREG: 2,11,\"00A1\",\"1B2C\",7", "OK"}, {"registration 11"}},
        {"lac and ci unquoted", {"+CREG: 2,5,00A1,1B2C", "OK"}, {"registration 5"}},
        {"broken quotes", {"+CREG: 2,1,\"00A1,1B2C\"", "OK"}, {"registration 1"}},
        {"extra fields", {"+CREG: 2,1,\"00A1\",\"1B2C\",2,\"X\",9", "OK"}, {"registration 1"}},
        {"report form while asked", {"+CREG: 5,\"00A1\",\"1B2C\"", "OK"}, {"registration 5"}},
        {"no +CREG line", {"OK"}, {}},
        {"error", {"+CME ERROR: 30"}, {}},
    };
    for (const Case& c : answers) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(answered([&] { power.QueryCregStatus(); }, "AT+CREG?", c.device), c.expected);
    }
    const std::vector<Case> reports = {
        {"with <n> first", {"+CREG: 1,5"}, {"registration 5"}},
        {"with <n> and location", {"+CREG: 2,1,\"00A1\",\"1B2C\""}, {"registration 1"}},
        {"stat only", {"+CREG: 5"}, {"registration 5"}},
        {"padded stat", {"+CREG: 002"}, {"registration 2"}},
        {"stat and location", {"+CREG: 1,\"00A1\",\"1B2C\""}, {"registration 1"}},
        {"stat and unquoted location", {"+CREG: 3,00A1,1B2C"}, {"registration 3"}},
    };
    for (const Case& c : reports) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(reported(c.device), c.expected);
    }
    rig.delivered.clear();
    report({"+CGREG: 1,005,\"00A1\",\"1B2C\""}, [&] { return !rig.delivered.empty(); });
    EXPECT_EQ(rig.delivered, std::vector<Delivered>{modifyAnswer(117, "5,\"00A1\",\"1B2C\"")});
}

TEST_F(RealFirmware, EveryFinalResultEndsTheCommandAndNoIntermediateDoes)
{
    const std::vector<Case> finals = {
        {"OK", {"OK"}, {"power on true"}},
        {"ERROR", {"ERROR"}, {"power on false"}},
        {"CME number", {"+CME ERROR: 3"}, {"power on false"}},
        {"CME text", {"+CME ERROR: operation not allowed"}, {"power on false"}},
        {"CME empty", {"+CME ERROR:"}, {"power on false"}},
        {"CME bare", {"+CME ERROR: "}, {"power on false"}},
        {"CMS", {"+CMS ERROR: 500"}, {"power on false"}},
        {"vendor modem error", {"MODEM ERROR: 4"}, {"power on false"}},
        {"vendor not supported", {"COMMAND NOT SUPPORT"}, {"power on false"}},
        {"no carrier", {"NO CARRIER"}, {"power on false"}},
        {"busy", {"BUSY"}, {"power on false"}},
        {"no answer", {"NO ANSWER"}, {"power on false"}},
        {"no dialtone", {"NO DIALTONE"}, {"power on false"}},
        {"CONNECT is no final result of other commands", {"CONNECT", "OK"}, {"power on true"}},
    };
    for (const Case& c : finals) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(answered([&] { powerHelper().SetPhoneFunctionality(); }, "AT+CFUN=1,0", c.device), c.expected);
    }
    EXPECT_EQ(answered([&] { cops.QueryAvailableCops(); }, "AT+COPS=?", {"COMMAND NOT SUPPORT"}), Fired{"scan"});

    rig.delivered.clear();
    rig.line.modify(Query::SupplementaryServiceNotifications, "ATD*99***1#");
    exchange("ATD*99***1#", {"CONNECT 3600000"});
    EXPECT_EQ(rig.delivered, std::vector<Delivered>{modifyAnswer(134, "CONNECT 3600000")});
}

TEST_F(RealFirmware, PinStatusQuotedOrNotAndWithoutFinalResult)
{
    const std::vector<Case> cases = {
        {"ready", {"+CPIN: READY", "OK"}, {"need pin false"}},
        {"quoted ready", {"+CPIN: \"READY\"", "OK"}, {"need pin false"}},
        {"quoted pin", {"+CPIN: \"SIM PIN\"", "OK"}, {"need pin true"}},
        {"puk", {"+CPIN: SIM PUK", "OK"}, {"need puk true"}},
        {"quoted puk", {"+CPIN:\"SIM PUK\"", "OK"}, {"need puk true"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(answered([&] { usim.QueryPinStatus(); }, "AT+CPIN?", c.device), c.expected);
    }

    // No OK after the line: taken as the answer after the grace, well before
    // the command's own timeout.
    DeviceRig quick(quickTimeouts());
    quick.openLine();
    CUsimAssistor card;
    Fired seen;
    card.connectNeedCheckPinResult([&](bool need) { seen.push_back("need pin " + flag(need)); });
    card.SetPhoneLine(&quick.line);
    card.QueryPinStatus();
    ASSERT_EQ(quick.nextCommand(), "AT+CPIN?");
    quick.deviceAnswers({"+CPIN: READY"});
    ASSERT_TRUE(quick.runUntilAnswered());
    card.QueryPinStatus();
    ASSERT_EQ(quick.nextCommand(), "AT+CPIN?");
    quick.deviceAnswers({"+CPIN: SIM PIN", "OK"});
    ASSERT_TRUE(quick.runUntilAnswered());
    card.ResetPhoneLine();
    EXPECT_EQ(seen, (Fired{"need pin false", "need pin true"}));
    EXPECT_TRUE(quick.events.empty() || quick.events.back().first != ChannelEvent::Timeout);
}

TEST_F(RealFirmware, SignalLevelWhateverTheSpacingAndNothingWithoutALine)
{
    const std::vector<Case> cases = {
        {"no space", {"+CSQ:4,0", "OK"}, {"signal 0,4"}},
        {"standard", {"+CSQ: 23,99", "OK"}, {"signal 0,23"}},
        {"padded", {"+CSQ: 07,99", "OK"}, {"signal 0,7"}},
        {"rssi only", {"+CSQ: 12", "OK"}, {"signal 0,12"}},
        {"no line", {"OK"}, {}},
        {"error", {"+CME ERROR: 10"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(answered([&] { powerHelper().QuerySignalGsm(); }, "AT+CSQ", c.device), c.expected);
    }
}

TEST_F(RealFirmware, PreferredListTakesBareCodesAndDropsMalformedLines)
{
    const std::vector<Case> cases = {
        {"numeric, unquoted",
         {"+CPOL: 1,2,46000,1,0,1", "+CPOL: 2,2,\"46001\",1,0,0", "OK"},
         {"preferred 1:/46000 2:/46001"}},
        {"malformed lines give no entry",
         {"+CPOL: 1,2,", "+CPOL: 2,\"46000\"", "+CPOL: 3,2,\"\"", "+CPOL: x,0,\"A\"", "+CPOL: 4,2,4600A",
          "+CPOL: 5,2,46002,1,0,0", "OK"},
         {"preferred 5:/46002"}},
        {"long name", {"+CPOL: 1,0,\"Vodafone\",1,0,1", "OK"}, {"preferred 1:Vodafone/"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(answered([&] { cops.QueryPreferredCopsList(); }, "AT+CPOL?", c.device), c.expected);
    }
}

TEST_F(RealFirmware, OnlyFullFunctionalityIsPoweredOn)
{
    const std::vector<Case> cases = {
        {"full", {"+CFUN: 1", "OK"}, {"powered true"}},
        {"no space", {"+CFUN:1", "OK"}, {"powered true"}},
        {"minimum", {"+CFUN: 0", "OK"}, {"powered false"}},
        {"flight mode", {"+CFUN: 4", "OK"}, {"powered false"}},
        {"receive only", {"+CFUN: 3", "OK"}, {"powered false"}},
        {"vendor level", {"+CFUN: 7,0", "OK"}, {"powered false"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(answered([&] { powerHelper().QueryPhoneFunctionality(); }, "AT+CFUN?", c.device), c.expected);
    }
}

TEST_F(RealFirmware, PinAndPukEntriesAreJudgedByTheirErrorCode)
{
    struct Entry {
        const char* name;
        bool puk;
        Lines device;
        Fired expected;
    };
    const std::vector<Entry> cases = {
        {"pin accepted", false, {"OK"}, {"check pin true,3"}},
        {"pin wrong", false, {"+CME ERROR: 16"}, {"check pin false,2"}},
        {"pin wrong, in words", false, {"+CME ERROR: incorrect password"}, {"check pin false,2"}},
        {"pin wrong, no code", false, {"ERROR"}, {"check pin false,2"}},
        {"pin blocked", false, {"+CME ERROR: 12"}, {"check pin false,0", "need puk true"}},
        {"pin blocked, in words", false, {"+CME ERROR: SIM PUK required"}, {"check pin false,0", "need puk true"}},
        {"no card", false, {"+CME ERROR: 10"}, {"check pin false,3", "sim absent true"}},
        {"pin wanted", false, {"+CME ERROR: 11"}, {"check pin false,3"}},
        {"card failure", false, {"+CME ERROR: 13"}, {"check pin false,3"}},
        {"card busy", false, {"+CME ERROR: 14"}, {"check pin false,3"}},
        {"pin2 wanted", false, {"+CME ERROR: 17"}, {"check pin false,3"}},
        {"puk2 wanted", false, {"+CME ERROR: 18"}, {"check pin false,3"}},
        {"bad parameters", false, {"+CME ERROR: 50"}, {"check pin false,3"}},
        {"unknown", false, {"+CME ERROR: 100"}, {"check pin false,3"}},
        {"puk accepted", true, {"OK"}, {"check puk true,10"}},
        {"puk wrong", true, {"+CME ERROR: 16"}, {"check puk false,9"}},
        {"new pin of the wrong length", true, {"+CME ERROR: 50"}, {"check puk false,10"}},
        {"new pin, in words", true, {"+CME ERROR: Incorrect parameters"}, {"check puk false,10"}},
        {"puk still wanted", true, {"+CME ERROR: 12"}, {"check puk false,9"}},
        {"puk, card busy", true, {"+CME ERROR: 14"}, {"check puk false,10"}},
    };
    usim.ResetPhoneLine();  // the fixture's card would answer too
    for (const Entry& c : cases) {
        SCOPED_TRACE(c.name);
        // A fresh card for every case, so each starts with full counts.
        CUsimAssistor card;
        card.connectCheckPinResult(
            [this](bool ok, int left) { log("check pin " + flag(ok) + "," + std::to_string(left)); });
        card.connectCheckPukResult(
            [this](bool ok, int left) { log("check puk " + flag(ok) + "," + std::to_string(left)); });
        card.connectNeedCheckPukResult([this](bool need) { log("need puk " + flag(need)); });
        card.connectQuerySimCardExistResult([this](bool absent) { log("sim absent " + flag(absent)); });
        card.SetPhoneLine(&rig.line);
        Fired seen =
            c.puk ? answered([&] { card.ChangePin("12345678", "1234"); }, "AT+CPIN=\"12345678\",\"1234\"", c.device)
                  : answered([&] { card.CheckPin("1234"); }, "AT+CPIN=\"1234\"", c.device);
        card.ResetPhoneLine();
        EXPECT_EQ(seen, c.expected);
    }
    usim.SetPhoneLine(&rig.line);
}

TEST_F(RealFirmware, Ucs2NamesAreDecodedForDisplay)
{
    rig.line.modify(Query::CharacterSet, "\"UCS2\"");
    exchange("AT+CSCS=\"UCS2\"", {"OK"});
    const std::vector<Case> current = {
        {"ascii", {"+COPS: 0,0,\"004F00720061006E00670065\",2", "OK"}, {"operator Orange,2"}},
        {"accented", {"+COPS: 0,0,\"0053004600520020004D00E9\",0", "OK"}, {"operator SFR M\xC3\xA9,0"}},
        {"chinese",
         {"+COPS: 0,0,\"4E2D56FD79FB52A8\",2", "OK"},
         {"operator \xE4\xB8\xAD\xE5\x9B\xBD\xE7\xA7\xBB\xE5\x8A\xA8,2"}},
    };
    for (const Case& c : current) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(answered([&] { cops.QueryCops(); }, "AT+COPS?", c.device), c.expected);
    }
    EXPECT_EQ(answered([&] { cops.QueryAvailableCops(); }, "AT+COPS=?",
                       {"+COPS: (2,\"004F00720061006E00670065\",\"004F0072\",\"20801\",2),,(0,1,2),(0,1,2)", "OK"}),
              Fired{"scan Orange"});
}

}  // namespace
}  // namespace cellctl::at::test
