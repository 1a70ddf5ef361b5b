#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "WholeLibrary.h"

namespace {

using cellctl::test::RecordingPhoneLine;
using cellctl::test::WholeLibrary;
using Commands = std::vector<RecordingPhoneLine::Command>;
using Names = std::vector<std::string>;

enum class Signal { Query, Modify };

// One answer the library handles: the code, the signal it arrives on, a device
// answer, and the one host callback it must reach. The mode-change report
// reaches no callback: it makes the mode helper read the mode again.
struct Route {
    Signal signal;
    int code;
    const char* answer;
    const char* callback;  // empty: none
    Commands followUp;     // commands the answer itself makes the library send
};

const Route kRoutes[] = {
    // power and registration
    {Signal::Query, 6, "+CSQ: 20,99\r\n\r\nOK", "Power.QuerySignal", {}},
    {Signal::Query, 10, "1", "Power.Registration", {}},
    {Signal::Modify, 10, "5", "Power.Registration", {}},
    {Signal::Query, 115, "+CSQ: 20,99\r\n\r\nOK", "Power.QuerySignal", {}},
    {Signal::Query, 165, "+CFUN: 1\r\n\r\nOK", "Power.QueryPowerOn", {}},
    {Signal::Modify, 125, "OK", "Power.DisableReadPbByPf", {}},
    {Signal::Modify, 126, "OK", "Power.PowerOn", {}},
    {Signal::Modify, 127, "OK", "Power.PowerOff", {}},
    {Signal::Modify, 164, "OK", "Power.SoftReset", {}},
    // SIM
    {Signal::Query, 21, "+CLCK: 1\r\n\r\nOK", "Usim.QueryIsPinStarted", {}},
    {Signal::Query, 62, "SIM PIN", "Usim.NeedCheckPin", {}},
    {Signal::Query, 128, "+CME ERROR: 10", "Usim.QuerySimCardExist", {}},
    {Signal::Query, 153, "3,10", "Usim.QueryAttemptRemain", {}},
    {Signal::Modify, 21, "OK", "Usim.CheckPin", {}},
    {Signal::Modify, 37, "OK", "Usim.ChangeLockSimCardPassword", {}},
    {Signal::Modify, 50, "OK", "Usim.ChangeSimFixedDialingMemoryPassword", {}},
    {Signal::Modify, 63, "OK", "Usim.CheckPin", {}},
    {Signal::Modify, 64, "OK", "Usim.CheckPuk", {}},
    // operators
    {Signal::Query, 11, "+COPS: 0,2,\"46000\",2\r\n\r\nOK", "Cops.QueryCops", {}},
    {Signal::Query, 12, "+COPS: (2,\"A\",\"B\",\"46000\",2),,(0,1),(0,1,2)\r\n\r\nOK", "Cops.QueryAvailableCops", {}},
    {Signal::Query, 93, "+CPOL: 1,2,\"46000\",1,0,1\r\n\r\nOK", "Cops.QueryPreferredCopsList", {}},
    {Signal::Query, 94, "^DPLS: 1\r\n\r\nOK", "Cops.QueryPreferredSelector", {}},
    {Signal::Modify, 11, "OK", "Cops.SelectCops", {}},
    {Signal::Modify, 93, "OK", "Cops.ModifyCopsList", {}},
    {Signal::Modify, 94, "OK", "Cops.SelectSelector", {}},
    // network mode
    {Signal::Query, 132, "^DSTM: 1,2,0\r\n\r\nOK", "Mode.QueryMode", {}},
    {Signal::Query, 133, "^DDTM: 0,2\r\n\r\nOK", "Mode.QueryPowerOnMode", {}},
    {Signal::Modify, 132, "OK", "Mode.ParseSwitchMode", {}},
    {Signal::Modify, 133, "OK", "Mode.ParsePowerOnMode", {}},
    {Signal::Modify, 149, "2", "", {RecordingPhoneLine::Query(132)}},
    {Signal::Modify, 156, "OK", "Mode.EnableHsdpaNotification", {}},
    {Signal::Modify, 157, "OK", "Mode.EnableCellCapabilityChangesReport", {}},
    {Signal::Modify, 158, "+HSIND: 1", "Mode.CellCapabilityChangesInfo", {}},
    {Signal::Modify, 159, "^DCINFO: 0,1,1,0", "Mode.CellCapabilityChangesInfo", {}},
    // packet data
    {Signal::Query, 111, "^DSML: 1", "Connection.QueryDsml", {}},
    {Signal::Query, 120, "+CGEQREQ: 1,3,64,384", "Connection.Query3GServiceQuality", {}},
    {Signal::Modify, 112, "^DUSIMQOS: 1", "Connection.ModifyUsimQos", {}},
    {Signal::Modify, 117, "1", "Connection.PsRegister", {}},
    {Signal::Modify, 118, "1", "Connection.PsAttach", {}},
    {Signal::Modify, 120, "OK", "Connection.SetQos", {}},
    {Signal::Modify, 121, "OK", "Connection.SetPdpcont", {}},
};

// Codes the library sends whose answers no helper reads.
const int kUnparsedCodes[] = {3,   113, 114, 116, 119, 122, 123, 124, 130, 134, 135,
                              136, 137, 138, 139, 140, 141, 142, 143, 144, 145, 146};

// An answer that every text test of the library would accept.
const char kAnyAnswer[] = "1,Ready,SIM PIN,ERROR: 10,\"46000\"\r\nOK";

void deliver(RecordingPhoneLine& line, Signal signal, int code, const std::string& answer)
{
    if (signal == Signal::Query)
        line.answerQuery(code, answer);
    else
        line.answerModify(code, answer);
}

bool routed(Signal signal, int code)
{
    for (const Route& route : kRoutes)
        if (route.signal == signal && route.code == code)
            return true;
    return false;
}

template <typename Power>
void expectEachAnswerReachesOnlyItsCallback(bool dualMode)
{
    WholeLibrary<Power> library(dualMode);
    for (const Route& route : kRoutes) {
        library.fired.clear();
        library.line.clear();
        deliver(library.line, route.signal, route.code, route.answer);
        const Names expected = *route.callback ? Names{route.callback} : Names{};
        EXPECT_EQ(library.fired, expected) << (route.signal == Signal::Query ? "query " : "modify ") << route.code;
        EXPECT_EQ(library.line.sent(), route.followUp) << route.code;
    }

    // every other (signal, code) pair of the library's codes reaches nobody
    std::set<int> codes(std::begin(kUnparsedCodes), std::end(kUnparsedCodes));
    for (const Route& route : kRoutes)
        codes.insert(route.code);
    for (Signal signal : {Signal::Query, Signal::Modify}) {
        for (int code : codes) {
            if (routed(signal, code))
                continue;
            library.fired.clear();
            deliver(library.line, signal, code, kAnyAnswer);
            EXPECT_TRUE(library.fired.empty())
                << (signal == Signal::Query ? "query " : "modify ") << code << ": " << library.fired.front();
        }
    }
}

TEST(OneCodeOneMeaning, EveryAnswerReachesExactlyItsCallback)
{
    expectEachAnswerReachesOnlyItsCallback<CPowerAssistor>(false);
    expectEachAnswerReachesOnlyItsCallback<CPowerAssistorHsdpa>(true);
}

TEST(OneCodeOneMeaning, DetachedLibraryHearsNothingAndReattachedHearsEachAnswerOnce)
{
    WholeLibrary<CPowerAssistorHsdpa> library(true);
    library.assistors.ResetPhoneLine();
    for (const Route& route : kRoutes)
        deliver(library.line, route.signal, route.code, route.answer);
    EXPECT_TRUE(library.fired.empty());
    EXPECT_TRUE(library.line.sent().empty());

    // attached again, and then once more over the first: every helper is bound once
    library.assistors.SetPhoneLine(&library.line);
    library.assistors.SetPhoneLine(&library.line);
    Names expected;
    for (const Route& route : kRoutes) {
        deliver(library.line, route.signal, route.code, route.answer);
        if (*route.callback)
            expected.push_back(route.callback);
    }
    EXPECT_EQ(library.fired, expected);
}

}  // namespace
