#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "WholeLibrary.h"

namespace {

using cellctl::test::RecordingPhoneLine;
using cellctl::test::WholeLibrary;
using Commands = std::vector<RecordingPhoneLine::Command>;
using Names = std::vector<std::string>;

RecordingPhoneLine::Command query(int code) { return RecordingPhoneLine::Query(code); }
RecordingPhoneLine::Command modify(int code, const char* text) { return RecordingPhoneLine::Modify(code, text); }

// How the device answers, per code; codes not listed get `otherwise`.
struct Device {
    const char* name;
    std::map<int, std::string> answers;
    std::string otherwise;
};

// A device that answers every command at once, before the call returns, so
// each answer lands in the middle of the sequence being sent.
class AnsweringLine : public RecordingPhoneLine {
public:
    const Device* device = nullptr;

    void query(QueryType code) override
    {
        RecordingPhoneLine::query(code);
        deliverQueryResult(code, answerTo(code));
    }
    void modify(QueryType code, const std::string& text) override
    {
        RecordingPhoneLine::modify(code, text);
        deliverModifyResult(code, answerTo(code));
    }

private:
    std::string answerTo(int code) const
    {
        if (device == nullptr)
            return std::string();
        auto found = device->answers.find(code);
        return found == device->answers.end() ? device->otherwise : found->second;
    }
};

const Device kDevices[] = {
    {"cooperative",
     {{165, "+CFUN: 0\r\n\r\nOK"}, {132, "^DSTM: 1,2,0\r\n\r\nOK"}, {128, "+DUSIM: 1\r\n\r\nOK"}, {62, "Ready"}},
     "OK"},
    {"failing", {{62, "SIM PUK"}, {128, "+CME ERROR: 10"}, {132, "error"}}, "+CME ERROR: 100"},
    {"silent-empty", {}, ""},
    {"garbled", {{165, "+CFUN: 99999999999"}, {132, "^DSTM: 1,2,0,7,7,7"}, {62, "SIM PIN"}}, "\n\r\n,\"\\"},
};

// The commands PowerOn sends with every assistor attached, on each device.
template <typename Power>
void expectPowerOnSends(bool dualMode, const Commands& expected)
{
    for (const Device& device : kDevices) {
        WholeLibrary<Power, AnsweringLine> library(dualMode);
        library.line.device = &device;
        library.power.PowerOn();
        EXPECT_EQ(library.line.sent(), expected) << device.name << (dualMode ? ", dual mode" : "");
    }
}

TEST(StartUp, PowerOnSendsTheSequenceWhateverTheAnswers)
{
    expectPowerOnSends<CPowerAssistor>(
        false, {query(165), modify(114, "1"), modify(115, "0"), modify(135, "1"), modify(141, "1"), modify(125, "0"),
                modify(126, "1,0"), query(128), query(62), modify(122, "1"), modify(130, "3,2")});
    expectPowerOnSends<CPowerAssistor>(
        true, {query(165), modify(114, "1"), query(132), modify(115, "0"), modify(135, "1"), modify(141, "1"),
               modify(125, "0"), modify(126, "1,0"), query(128), query(62), modify(122, "1"), modify(130, "3,2")});
}

TEST(StartUp, HsdpaPowerOnAddsBothReportsAfterTheSignalMode)
{
    expectPowerOnSends<CPowerAssistorHsdpa>(
        false, {query(165), modify(114, "1"), modify(115, "0"), modify(157, "1"), modify(156, "1"), modify(135, "1"),
                modify(141, "1"), modify(125, "0"), modify(126, "1,0"), query(128), query(62), modify(122, "1"),
                modify(130, "3,2")});
    expectPowerOnSends<CPowerAssistorHsdpa>(
        true, {query(165), modify(114, "1"), query(132), modify(115, "0"), modify(157, "1"), modify(156, "1"),
               modify(135, "1"), modify(141, "1"), modify(125, "0"), modify(126, "1,0"), query(128), query(62),
               modify(122, "1"), modify(130, "3,2")});
}

TEST(StartUp, EachAnswerOfThePowerOnIsReportedByItsOwner)
{
    WholeLibrary<CPowerAssistorHsdpa, AnsweringLine> library(true);
    library.line.device = &kDevices[0];
    library.power.PowerOn();
    EXPECT_EQ(library.fired,
              (Names{"Power.QueryPowerOn", "Mode.QueryMode", "Mode.EnableCellCapabilityChangesReport",
                     "Mode.EnableHsdpaNotification", "Power.DisableReadPbByPf", "Power.PowerOn", "Usim.NeedCheckPin"}));
    // the mode read during set-up steers the signal query: GSM
    library.line.clear();
    library.power.QuerySignal();
    EXPECT_EQ(library.line.sent(), Commands{query(6)});
}

}  // namespace
