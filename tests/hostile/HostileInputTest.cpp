// Texts the host hands in (PINs, PUKs, passwords, APNs, operator names) go
// onto the wire inside a command line. One holding CR, LF, NUL, Ctrl-Z or ESC
// could end that line and smuggle in another command: wherever such a byte
// sits, in every text the library takes, nothing of the request reaches the
// device and the host sees a failure. And the trace never shows a PIN, PUK or
// password, whether the host writes it, the device echoes it or it times out.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <boost/asio/io_context.hpp>

#include <cellctl/at/AtPhoneLine.h>
#include <cellctl/cellctl.h>

#include "FakePtyDevice.h"

namespace cellctl::hostile {
namespace {

using namespace std::chrono_literals;
using test::FakePtyDevice;
using test::framed;

// The assistors that take texts, attached to one line; every verdict they
// report, whatever its kind, lands in `verdicts`.
struct Host {
    CUsimAssistor usim;
    CCopsAssistor cops;
    CConnectionHelper connectionHelper;
    CConnectionAssistor connection{&connectionHelper};
    std::vector<bool> verdicts;

    explicit Host(PhoneLine& line)
    {
        auto verdict = [this](bool ok) { verdicts.push_back(ok); };
        auto verdictWithCount = [this](bool ok, int) { verdicts.push_back(ok); };
        usim.connectCheckPinResult(verdictWithCount);
        usim.connectCheckPukResult(verdictWithCount);
        usim.connectChangeLockSimCardPassword(verdict);
        usim.connectChangeSimFixedDialingMemoryPassword(verdict);
        cops.connectSelectCopsResult(verdict);
        cops.connectModifyCopsListResult(verdict);
        connection.connectSetPdpcontResult(verdict);
        usim.SetPhoneLine(&line);
        cops.SetPhoneLine(&line);
        connectionHelper.SetConnectionAssistor(&connection);
        connectionHelper.SetPhoneLine(&line);
        connectionHelper.Initialize();
    }

    ~Host()
    {
        usim.ResetPhoneLine();
        cops.ResetPhoneLine();
        connection.ResetPhoneLine();
    }
};

CCopsInfo operatorNamed(CCopsInfo::EFormat format, const std::string& name)
{
    CCopsInfo record;
    record.SetModeType(CCopsInfo::ModeManual);
    record.SetFormat(format);
    record.SetOperatorName(format, name);
    record.SetPreferredPLMNListIndex(1);
    record.SetAccessTechType(CCopsInfo::AccessTechTd);
    record.SetAccessTechToPreferredPLMNList();
    return record;
}

struct TextEntry {
    const char* name;
    std::function<void(Host&, const std::string&)> send;
};

// Every place a host text goes in, each of the two texts of a change.
const std::vector<TextEntry>& textEntries()
{
    static const std::vector<TextEntry> entries = {
        {"PIN", [](Host& h, const std::string& t) { h.usim.CheckPin(t); }},
        {"PUK entry", [](Host& h, const std::string& t) { h.usim.CheckPuk(t); }},
        {"PUK of an unblock", [](Host& h, const std::string& t) { h.usim.ChangePin(t, "1234"); }},
        {"new PIN of an unblock", [](Host& h, const std::string& t) { h.usim.ChangePin("12345678", t); }},
        {"PIN locking the card", [](Host& h, const std::string& t) { h.usim.StartupPin(t); }},
        {"PIN unlocking the card", [](Host& h, const std::string& t) { h.usim.ClosePin(t); }},
        {"old SIM lock password", [](Host& h, const std::string& t) { h.usim.ChangeLockSimCardPassword(t, "5678"); }},
        {"new SIM lock password", [](Host& h, const std::string& t) { h.usim.ChangeLockSimCardPassword("1234", t); }},
        {"old PIN2", [](Host& h, const std::string& t) { h.usim.ChangeSimFixedDialingMemoryPassword(t, "5678"); }},
        {"new PIN2", [](Host& h, const std::string& t) { h.usim.ChangeSimFixedDialingMemoryPassword("5678", t); }},
        {"APN", [](Host& h, const std::string& t) { h.connection.GsmPdpActive(1, t, 0, 0, 0); }},
        {"long operator name",
         [](Host& h, const std::string& t) {
             CCopsInfo record = operatorNamed(CCopsInfo::FormatLong, t);
             h.cops.SelectCops(&record);
         }},
        {"short operator name",
         [](Host& h, const std::string& t) {
             CCopsInfo record = operatorNamed(CCopsInfo::FormatShort, t);
             h.cops.SelectCops(&record);
         }},
        {"numeric operator",
         [](Host& h, const std::string& t) {
             CCopsInfo record = operatorNamed(CCopsInfo::FormatNumeric, t);
             h.cops.SelectCops(&record);
         }},
        {"preferred-list operator name",
         [](Host& h, const std::string& t) {
             CCopsInfo record = operatorNamed(CCopsInfo::FormatLong, t);
             h.cops.ModifyCopsList(&record);
         }},
    };
    return entries;
}

bool runUntil(boost::asio::io_context& io, const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        io.run_one_for(20ms);
    }
    return true;
}

struct Forbidden {
    const char* name;
    char byte;
};

class ForbiddenByte : public ::testing::TestWithParam<Forbidden> {};

// Sends each text through every entry, expecting each refused with a
// failure, then checks that the device received nothing but the echo switch
// and a closing query.
void expectNoneReachesTheWire(const std::vector<std::string>& texts)
{
    FakePtyDevice device([](const std::string&) { return framed({"OK"}); });
    boost::asio::io_context io;
    at::AtPhoneLine line(io);
    line.open(device.slavePath());

    for (const TextEntry& entry : textEntries()) {
        for (const std::string& text : texts) {
            SCOPED_TRACE(std::string(entry.name) + ", text of " + std::to_string(text.size()) + " bytes");
            Host host(line);
            entry.send(host, text);
            ASSERT_TRUE(runUntil(io, [&] { return !host.verdicts.empty(); }));
            EXPECT_EQ(host.verdicts, std::vector<bool>{false});
        }
    }

    // Whatever went out before a command the device answers has arrived.
    bool answered = false;
    line.connectQueryResult([&](PhoneLine::QueryType, const std::string&) { answered = true; });
    line.query(PhoneLine::PhoneFunctionality);
    ASSERT_TRUE(runUntil(io, [&] { return answered; }));
    EXPECT_EQ(device.wire(), "ATE0\rAT+CFUN?\r");
}

TEST_P(ForbiddenByte, NeverReachesTheWireFromAnyHostText)
{
    const std::string byte(1, GetParam().byte);
    expectNoneReachesTheWire({byte + "1234", "12" + byte + "34", "1234" + byte + "AT+CFUN=0"});
}

INSTANTIATE_TEST_SUITE_P(HostTexts, ForbiddenByte,
                         ::testing::Values(Forbidden{"CR", '\r'}, Forbidden{"LF", '\n'}, Forbidden{"NUL", '\0'},
                                           Forbidden{"CtrlZ", '\x1a'}, Forbidden{"ESC", '\x1b'}),
                         [](const ::testing::TestParamInfo<Forbidden>& info) { return info.param.name; });

// Closing the quotes and appending a command with ';' is refused as well.
TEST(QuoteAndSemicolon, NeverAppendASecondCommandFromAnyHostText)
{
    expectNoneReachesTheWire({"1234\";+CFUN=0;\"", "1234\";+CFUN=0", "\";+CGATT=0;+CGDCONT=2,\"IP\",\"x"});
}

// Distinct secrets, none a part of any other traced text.
const std::vector<std::string> kSecrets = {"8642", "97531864", "2468", "1357", "9753", "4826", "6284"};

void sendEverySecret(Host& host)
{
    host.usim.CheckPin("8642");
    host.usim.CheckPuk("97531864,2468");
    host.usim.ChangePin("97531864", "2468");
    host.usim.StartupPin("8642");
    host.usim.ClosePin("8642");
    host.usim.ChangeLockSimCardPassword("1357", "9753");
    host.usim.ChangeSimFixedDialingMemoryPassword("4826", "6284");
}

TEST(Trace, NeverShowsAPinPukOrPasswordWrittenEchoedOrTimedOut)
{
    // The device echoes every line, and never answers the password changes.
    FakePtyDevice device([](const std::string& line) {
        return line.find("CPWD") != std::string::npos ? std::string() : line + "\r" + framed({"OK"});
    });
    boost::asio::io_context io;
    at::AtPhoneLineOptions options;
    options.timeoutScale = 0.02;
    at::AtPhoneLine line(io, options);
    std::vector<std::string> trace;
    line.setTrace([&](const std::string& traced) { trace.push_back(traced); });
    line.open(device.slavePath());

    Host host(line);
    sendEverySecret(host);
    ASSERT_TRUE(runUntil(io, [&] { return host.verdicts.size() == 7 && line.pendingCommands() == 0; }));
    EXPECT_EQ(host.verdicts, (std::vector<bool>{true, true, true, true, true, false, false}));

    for (const std::string& traced : trace) {
        for (const std::string& secret : kSecrets)
            EXPECT_EQ(traced.find(secret), std::string::npos) << "the trace shows a secret: " << traced;
    }
    // The secrets did go out, and came back, and timed out: masked each time.
    auto traced = [&](const std::string& wanted) {
        return std::find(trace.begin(), trace.end(), wanted) != trace.end();
    };
    EXPECT_TRUE(traced("> AT+CPIN=***"));
    EXPECT_TRUE(traced("< AT+CPIN=***"));
    EXPECT_TRUE(traced("> AT+CLCK=\"SC\",***"));
    EXPECT_TRUE(traced("! timeout: AT+CPWD=\"SC\",***"));
    EXPECT_TRUE(traced("! timeout: AT+CPWD=\"P2\",***"));
    EXPECT_NE(device.wire().find("AT+CPIN=\"8642\""), std::string::npos) << "the PIN itself reaches the device";
}

}  // namespace
}  // namespace cellctl::hostile
