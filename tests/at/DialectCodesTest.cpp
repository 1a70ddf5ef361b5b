// Every code of the dialect, end to end: the library's request, the exact
// command line on the wire, real answer bytes from the device, and the typed
// host callback with its value.

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "LibraryOverChannel.h"

namespace cellctl::at::test {
namespace {

const std::string kChinaMobileGbk = "\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF";
const std::string kChinaUnicomGbk = "\xD6\xD0\xB9\xFA\xC1\xAA\xCD\xA8";

using EveryCode = LibraryOverChannel;

// Codes whose answers no parser of the library reads: the answer text on the
// right signal is the result.
struct RawCase {
    const char* name;
    std::function<void(CPowerHelper&)> send;
    std::string line;
    std::vector<std::string> answer;
    Delivered expected;
};

TEST_F(EveryCode, CommandsWithoutParserDeliverTheAnswerAsIs)
{
    const std::vector<RawCase> cases = {
        {"3",
         &CPowerHelper::RequestRevisionIdentification,
         "AT+CGMR",
         {"REV 2.1.0 Build 17", "OK"},
         queryAnswer(3, "REV 2.1.0 Build 17\nOK")},
        {"113", &CPowerHelper::EnableTestControlModeIndication, "AT^DTCI=1", {"OK"}, modifyAnswer(113, "OK")},
        {"114", &CPowerHelper::EnableReportMobileTerminationError, "AT+CMEE=1", {"OK"}, modifyAnswer(114, "OK")},
        {"115", &CPowerHelper::SetQueryCurrentSignalMode, "AT^DCSQ=0", {"OK"}, modifyAnswer(115, "OK")},
        {"116", &CPowerHelper::EnableNetworkRegistrationStatus, "AT+CGREG=1", {"OK"}, modifyAnswer(116, "OK")},
        {"119", &CPowerHelper::EnablePacketDomainEventReporting, "AT+CGEREP=2,1", {"OK"}, modifyAnswer(119, "OK")},
        {"122", &CPowerHelper::EnableNetworkRegistrationReporting, "AT+CREG=1", {"OK"}, modifyAnswer(122, "OK")},
        {"123", &CPowerHelper::SetTECharacterSet, "AT+CSCS=\"HEX\"", {"OK"}, modifyAnswer(123, "OK")},
        {"124", &CPowerHelper::EnableReadPbByPf, "AT^DRPB=1", {"OK"}, modifyAnswer(124, "OK")},
        {"130", &CPowerHelper::SetPLMNFormat, "AT+COPS=3,2", {"OK"}, modifyAnswer(130, "OK")},
        {"134", &CPowerHelper::EnalbeSupplementaryServiceNotifications, "AT+CSSN=1,1", {"OK"}, modifyAnswer(134, "OK")},
        {"135", &CPowerHelper::EnablePhonebookReadyNotification, "AT^DPRN=1", {"OK"}, modifyAnswer(135, "OK")},
        {"136",
         &CPowerHelper::EnableCallingLineIdentificationPresentation,
         "AT+CLIP=1",
         {"OK"},
         modifyAnswer(136, "OK")},
        {"137", &CPowerHelper::EnablePhoneCallProgressIndication, "AT^DCPI=1", {"OK"}, modifyAnswer(137, "OK")},
        {"138", &CPowerHelper::EnableCellularResultCodes, "AT+CRC=1", {"OK"}, modifyAnswer(138, "OK")},
        {"139", &CPowerHelper::EnableCallStatusIndication, "AT^DSCI=1", {"ERROR"}, modifyAnswer(139, "ERROR")},
        {"140",
         &CPowerHelper::ReadEmergencyNumber,
         "AT^DPBE",
         {"^DPBE: \"112\"", "^DPBE: \"911\"", "OK"},
         modifyAnswer(140, "^DPBE: \"112\"\n^DPBE: \"911\"\nOK")},
        {"141 text", &CPowerHelper::EnableSmsReadyNotification, "AT^DSMN=1", {"OK"}, modifyAnswer(141, "OK")},
        {"141 line", &CPowerHelper::EnableSMSReadyNotification, "AT^DSMN=1", {"OK"}, modifyAnswer(141, "OK")},
        {"142", &CPowerHelper::SelectSmsService, "AT+CGSMS=1", {"OK"}, modifyAnswer(142, "OK")},
        {"143", &CPowerHelper::SelectSmsMessageFormat, "AT+CMGF=0", {"OK"}, modifyAnswer(143, "OK")},
        {"144", &CPowerHelper::EnableNewMessageIndicationsToTE, "AT+CNMI=2,1,0,2,0", {"OK"}, modifyAnswer(144, "OK")},
        {"145",
         &CPowerHelper::SetPreferredSMSStorageMemory,
         "AT+CPMS=ME,ME,ME",
         {"+CPMS: 0,100,0,100,0,100", "OK"},
         modifyAnswer(145, "+CPMS: 0,100,0,100,0,100\nOK")},
        {"146",
         &CPowerHelper::SetPreferredSMSStorageSim,
         "AT+CPMS=SM,SM,SM",
         {"+CME ERROR: 10"},
         modifyAnswer(146, "+CME ERROR: 10")},
    };
    for (const RawCase& c : cases) {
        SCOPED_TRACE(c.name);
        rig.delivered.clear();
        c.send(powerHelper());
        exchange(c.line, c.answer);
        EXPECT_EQ(rig.delivered, std::vector<Delivered>{c.expected});
    }
}

// Reads the library does not make, with which a host checks whether an
// attach or a context definition took: the answer as is.
TEST_F(EveryCode, AttachAndContextReadsOfTheHost)
{
    rig.delivered.clear();
    rig.line.query(PhoneLine::PacketAttach);
    exchange("AT+CGATT?", {"+CGATT: 1", "OK"});
    rig.line.query(PhoneLine::PdpContext);
    exchange("AT+CGDCONT?", {"+CGDCONT: 1,\"IP\",\"cmnet\",\"0.0.0.0\",0,0", "OK"});
    EXPECT_EQ(rig.delivered, (std::vector<Delivered>{
                                 queryAnswer(118, "+CGATT: 1\nOK"),
                                 queryAnswer(121, "+CGDCONT: 1,\"IP\",\"cmnet\",\"0.0.0.0\",0,0\nOK"),
                             }));
}

TEST_F(EveryCode, SignalQualityGsmAndTd)
{
    std::vector<std::pair<int, int>> signals;
    power.connectQuerySignalResult([&](int tech, int level) { signals.emplace_back(tech, level); });
    powerHelper().QuerySignalGsm();
    exchange("AT+CSQ", {"+CSQ: 23,99", "OK"});
    powerHelper().QuerySignalTd();
    exchange("AT^DCSQ?", {"^DCSQ: 45", "OK"});
    EXPECT_EQ(signals, (std::vector<std::pair<int, int>>{{0, 23}, {2, 45}}));
}

TEST_F(EveryCode, RegistrationQueryAndReports)
{
    std::vector<int> states;
    power.connectRegistrationResult([&](int state) { states.push_back(state); });
    power.QueryCregStatus();
    exchange("AT+CREG?", {"+CREG: 2,1,\"00A1\",\"1B2C\"", "OK"});
    power.QueryCregStatus();
    exchange("AT+CREG?", {"+CREG: 0,5", "OK"});
    report({"+CREG: 2"}, [&] { return states.size() == 3; });
    report({"+CREG: 1,\"00A1\",\"1B2C\""}, [&] { return states.size() == 4; });
    EXPECT_EQ(states, (std::vector<int>{1, 5, 2, 1}));
}

TEST_F(EveryCode, PowerOnOffResetAndPowerState)
{
    std::vector<std::string> results;
    auto record = [&](const char* name) {
        return [&results, name](bool value) { results.push_back(std::string(name) + (value ? "=1" : "=0")); };
    };
    power.connectDisableReadPbByPfResult(record("phonebook"));
    power.connectPowerOnResult(record("on"));
    power.connectPowerOffResult(record("off"));
    power.connectSoftResetResult(record("reset"));
    power.connectQueryPowerOnResult(record("state"));

    powerHelper().DisableReadPbByPf();
    exchange("AT^DRPB=0", {"OK"});
    powerHelper().SetPhoneFunctionality();
    exchange("AT+CFUN=1,0", {"OK"});
    powerHelper().QueryPhoneFunctionality();
    exchange("AT+CFUN?", {"+CFUN: 1", "OK"});
    power.PowerOff();
    exchange("AT+CFUN=0,0", {"+CME ERROR: 3"});
    power.SoftReset();
    exchange("AT+CFUN=1,1", {"OK"});
    powerHelper().QueryPhoneFunctionality();
    exchange("AT+CFUN?", {"+CFUN: 0", "OK"});
    EXPECT_EQ(results, (std::vector<std::string>{"phonebook=1", "on=1", "state=1", "off=0", "reset=1", "state=0"}));
}

TEST_F(EveryCode, SimPresenceStatusAndRemainingAttempts)
{
    std::vector<std::string> results;
    usim.connectQuerySimCardExistResult([&](bool absent) { results.push_back(absent ? "absent" : "present"); });
    usim.connectNeedCheckPinResult([&](bool need) { results.push_back(need ? "pin" : "ready"); });
    usim.connectNeedCheckPukResult([&](bool) { results.push_back("puk"); });
    usim.connectQueryAttemptRemain([&](std::string text) { results.push_back(text); });

    usim.QuerySimCardMode();
    exchange("AT^DUSIM?", {"+CME ERROR: 10"});
    usim.QueryPinStatus();
    exchange("AT+CPIN?", {"+CPIN: SIM PIN", "OK"});
    usim.QueryPinStatus();
    exchange("AT+CPIN?", {"+CPIN: READY", "OK"});
    usim.QueryPinStatus();
    exchange("AT+CPIN?", {"+CPIN: SIM PUK", "OK"});
    usim.QueryAttemptRemainCount();
    exchange("AT^DRAP?", {"^DRAP: 3,10,3,10", "OK"});
    EXPECT_EQ(results, (std::vector<std::string>{"absent", "pin", "ready", "puk", "^DRAP: 3,10,3,10\nOK"}));
}

TEST_F(EveryCode, PinEntryLockAndPasswords)
{
    std::vector<std::string> results;
    usim.connectCheckPinResult(
        [&](bool ok, int left) { results.push_back("pin " + std::to_string(ok) + "," + std::to_string(left)); });
    usim.connectCheckPukResult(
        [&](bool ok, int left) { results.push_back("puk " + std::to_string(ok) + "," + std::to_string(left)); });
    usim.connectQueryIsPinStarted([&](std::string text) { results.push_back(text); });
    usim.connectChangeLockSimCardPassword([&](bool ok) { results.push_back("lock password " + std::to_string(ok)); });
    usim.connectChangeSimFixedDialingMemoryPassword([&](bool ok) { results.push_back("pin2 " + std::to_string(ok)); });

    usim.CheckPin("0000");
    exchange("AT+CPIN=\"0000\"", {"+CME ERROR: 16"});
    usim.CheckPin("1234");
    exchange("AT+CPIN=\"1234\"", {"OK"});
    usim.ChangePin("12345678", "4321");
    exchange("AT+CPIN=\"12345678\",\"4321\"", {"OK"});
    usim.CheckPuk("12345678,4321");
    exchange("AT+CPIN=\"12345678\",\"4321\"", {"OK"});
    usim.QueryIsPinStarted();
    exchange("AT+CLCK=\"SC\",2", {"+CLCK: 1", "OK"});
    usim.StartupPin("4321");
    exchange("AT+CLCK=\"SC\",1,\"4321\"", {"OK"});
    usim.ClosePin("9999");
    exchange("AT+CLCK=\"SC\",0,\"9999\"", {"+CME ERROR: 16"});
    usim.ChangeLockSimCardPassword("4321", "5678");
    exchange("AT+CPWD=\"SC\",\"4321\",\"5678\"", {"OK"});
    usim.ChangeSimFixedDialingMemoryPassword("1111", "2222");
    exchange("AT+CPWD=\"P2\",\"1111\",\"2222\"", {"+CME ERROR: 16"});
    EXPECT_EQ(results, (std::vector<std::string>{"pin 0,2", "pin 1,3", "puk 1,10", "pin 1,3", "+CLCK: 1\nOK", "pin 1,3",
                                                 "pin 0,2", "lock password 1", "pin2 0"}));
}

TEST_F(EveryCode, CurrentOperatorAndSelection)
{
    std::vector<CCopsInfo> current;
    std::vector<bool> selected;
    cops.connectQueryCopsResult([&](const CCopsInfo& info) { current.push_back(info); });
    cops.connectSelectCopsResult([&](bool ok) { selected.push_back(ok); });

    cops.QueryCops();
    exchange("AT+COPS?", {"+COPS: 0,2,\"46001\",2", "OK"});
    switchToHexNames();
    cops.QueryCops();
    exchange("AT+COPS?", {"+COPS: 1,0,\"D6D0B9FAD2C6B6AF\",2", "OK"});
    ASSERT_EQ(current.size(), 2u);
    EXPECT_EQ(current[0].GetOperatorNumericName(), "46001");
    EXPECT_EQ(current[0].GetOperatorLongName(), kChinaUnicomGbk);
    EXPECT_EQ(current[1].GetModeType(), CCopsInfo::ModeManual);
    EXPECT_EQ(current[1].GetFormat(), CCopsInfo::FormatLong);
    EXPECT_EQ(current[1].GetOperatorLongName(), kChinaMobileGbk);
    EXPECT_EQ(current[1].GetAccessTechType(), CCopsInfo::AccessTechTd);

    CCopsInfo byCode;
    byCode.SetModeType(CCopsInfo::ModeManual);
    byCode.SetOperatorName(CCopsInfo::FormatNumeric, "46000");
    byCode.SetFormat(CCopsInfo::FormatNumeric);
    cops.SelectCops(&byCode);
    exchange("AT+COPS=1,2,\"46000\"", {"OK"});
    CCopsInfo byName;
    byName.SetModeType(CCopsInfo::ModeManual);
    byName.SetFormat(CCopsInfo::FormatLong);
    byName.SetOperatorName(CCopsInfo::FormatLong, kChinaMobileGbk);
    cops.SelectCops(&byName);
    exchange("AT+COPS=1,0,\"D6D0B9FAD2C6B6AF\"", {"+CME ERROR: 30"});
    EXPECT_EQ(selected, (std::vector<bool>{true, false}));
}

TEST_F(EveryCode, NetworkScanFromAnUntidyDevice)
{
    std::vector<CCopsInfo> found;
    bool reported = false;
    cops.connectQueryAvailableCops([&](const std::vector<CCopsInfo>& list) {
        found = list;
        reported = true;
    });
    switchToHexNames();
    cops.QueryAvailableCops();
    exchange("AT+COPS=?", {"+COPS: (2,\"D6D0B9FAD2C6B6AF\",\"434D4343\",\"46000\",2),",
                           "(1,\"D6D0B9FAC1AACDA8\",,\"46001\"),0),(3,\"D6D0B9FA\",\"43",
                           "4E43\",\"46006\",0),,(0,1,2,3,4),(0,1,2)", "OK"});
    ASSERT_TRUE(reported);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].GetState(), CCopsInfo::StateCurrent);
    EXPECT_EQ(found[0].GetOperatorLongName(), kChinaMobileGbk);
    EXPECT_EQ(found[0].GetOperatorShortName(), "CMCC");
    EXPECT_EQ(found[0].GetOperatorNumericName(), "46000");
    EXPECT_EQ(found[0].GetAccessTechType(), CCopsInfo::AccessTechTd);
    EXPECT_EQ(found[1].GetState(), CCopsInfo::StateAvailable);
    EXPECT_EQ(found[1].GetOperatorLongName(), kChinaUnicomGbk);
    EXPECT_EQ(found[1].GetOperatorShortName(), "");
    EXPECT_EQ(found[1].GetOperatorNumericName(), "46001");
    EXPECT_EQ(found[1].GetAccessTechType(), CCopsInfo::AccessTechGsm);
    EXPECT_EQ(found[2].GetState(), CCopsInfo::StateForbidden);
    EXPECT_EQ(found[2].GetOperatorShortName(), "CNC");
    EXPECT_EQ(found[2].GetOperatorNumericName(), "46006");

    cops.QueryAvailableCops();
    exchange("AT+COPS=?", {"+CME ERROR: 30"});
    EXPECT_TRUE(found.empty());
}

TEST_F(EveryCode, PreferredListAndSelector)
{
    std::vector<CCopsInfo> entries;
    std::vector<std::string> results;
    cops.connectQueryPreferredCopsList([&](const std::vector<CCopsInfo>& list) { entries = list; });
    cops.connectModifyCopsListResult([&](bool ok) { results.push_back("list " + std::to_string(ok)); });
    cops.connectQueryPreferredSelector(
        [&](const CCopsInfo& info) { results.push_back("selector " + std::to_string(info.GetSelector())); });
    cops.connectSelectSelectorResult([&](bool ok) { results.push_back("select " + std::to_string(ok)); });

    switchToHexNames();
    cops.QueryPreferredCopsList();
    exchange("AT+CPOL?", {"+CPOL: 1,0,\"D6D0B9FAD2C6B6AF\",0,0,1", "+CPOL: 2,2,\"46001\",1,0,0", "OK"});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].GetOperatorLongName(), kChinaMobileGbk);
    EXPECT_TRUE(entries[0].GetPreferredPLMNListTDSelected());
    EXPECT_EQ(entries[1].GetPreferredPLMNListIndex(), 2);
    EXPECT_EQ(entries[1].GetOperatorNumericName(), "46001");
    EXPECT_TRUE(entries[1].GetPreferredPLMNListGsmSelected());

    CCopsInfo entry;
    entry.SetPreferredPLMNListIndex(1);
    entry.SetFormat(CCopsInfo::FormatNumeric);
    entry.SetOperatorName(CCopsInfo::FormatNumeric, "46000");
    entry.SetAccessTechType(CCopsInfo::AccessTechTd);
    entry.SetAccessTechToPreferredPLMNList();
    cops.ModifyCopsList(&entry);
    exchange("AT+CPOL=1,2,\"46000\",0,0,1", {"OK"});
    entry.SetPreferredPLMNListIndex(12);
    cops.DeleteCopsList(&entry);
    exchange("AT+CPOL=12", {"+CME ERROR: 21"});
    cops.QueryPreferredSelector();
    exchange("AT+CPLS?", {"+CPLS: 1", "OK"});
    entry.SetSelector(static_cast<CCopsInfo::ESelector>(2));
    cops.SelectSelector(&entry);
    exchange("AT+CPLS=2", {"OK"});
    EXPECT_EQ(results, (std::vector<std::string>{"list 1", "list 0", "selector 1", "select 1"}));
}

TEST_F(EveryCode, NetworkModeQueriesSwitchesAndTheModeReport)
{
    std::vector<std::string> modes;
    auto describe = [](const CMode* m) {
        return std::to_string(m->GetBehaviorType()) + "," + std::to_string(m->GetModeType()) + "," +
               std::to_string(m->GetAccessTechType());
    };
    mode.connectQueryModeResult([&](CMode* m) { modes.push_back("current " + describe(m)); });
    mode.connectQueryPowerOnModeResult([&](CMode* m) { modes.push_back("power-on " + describe(m)); });
    mode.connectParseSwitchModeResult([&](bool ok) { modes.push_back("switch " + std::to_string(ok)); });
    mode.connectParsePowerOnModeResult([&](bool ok) { modes.push_back("set power-on " + std::to_string(ok)); });

    mode.QueryCurrentMode();
    exchange("AT^DSTM?", {"^DSTM: 1,2,0", "OK"});
    CMode dual;
    dual.SetModeType(static_cast<CMode::EModeType>(2));
    dual.SetAccessTechType(CMode::AccessTechGsm);
    mode.SwitchToMode(&dual);
    exchange("AT^DSTM=1,2,0", {"OK"});
    // The mode changed: the helper reads the current mode again.
    rig.deviceAnswers({"^DSTMR: 2"});
    exchange("AT^DSTM?", {"^DSTM: 1,2,2", "OK"});
    mode.QueryPowerOnMode();
    exchange("AT^DDTM?", {"^DDTM: 2,2", "OK"});
    CTDMode td;
    mode.SetPowerOnMode(&td);
    exchange("AT^DDTM=0,2", {"OK"});
    EXPECT_EQ(modes, (std::vector<std::string>{"current 1,2,0", "switch 1", "current 1,2,2", "power-on 0,2,2",
                                               "set power-on 1"}));
}

TEST_F(EveryCode, HsdpaAndCellCapabilityReports)
{
    std::vector<std::string> results;
    mode.connectEnableHsdpaNotificationResult([&](bool ok) { results.push_back("hsdpa " + std::to_string(ok)); });
    mode.connectEnableCellCapabilityChangesReport([&](bool ok) { results.push_back("cell " + std::to_string(ok)); });
    mode.connectCellCapabilityChangesInfo([&](const CCellCapabilityInfo& info) {
        results.push_back(std::to_string(info.m_capability1) + std::to_string(info.m_capability2) +
                          std::to_string(info.m_capability3) + std::to_string(info.m_capability4));
    });
    mode.EnableCellCapabilityChangesReport(true);
    exchange("AT^DCINFO=1", {"OK"});
    mode.EnableHsdpaNotification(true);
    exchange("AT+HSIND=1", {"+HSIND: 1", "OK"});
    report({"^DCINFO: 0,1,1,0"}, [&] { return results.size() == 4; });
    EXPECT_EQ(results, (std::vector<std::string>{"cell 1", "0010", "hsdpa 1", "0110"}));
}

TEST_F(EveryCode, PacketDataContextQosAttachAndRegistration)
{
    std::vector<std::string> results;
    connection.connectSetPdpcontResult([&](bool ok) { results.push_back("context " + std::to_string(ok)); });
    connection.connectSetQosResult([&](bool ok) { results.push_back("qos " + std::to_string(ok)); });
    connection.connectPsAttachResult([&](bool ok) { results.push_back("attach " + std::to_string(ok)); });
    connection.connectPsRegisterResult([&](int state) { results.push_back("registered " + std::to_string(state)); });

    connection.Initialize();
    exchange("AT+CGREG=1", {"OK"});
    connection.PdpActive(1, "cmnet", 3, 64, 384);
    exchange("AT+CGDCONT=1,\"IP\",\"cmnet\",,0,0", {"OK"});
    exchange("AT+CGEQREQ=1,3,64,384,0,0,0,1500,\"0E0\",\"0E0\",,0,0", {"OK"});
    connection.AttachGprs();
    exchange("AT+CGATT=1", {"+CME ERROR: 30"});
    connection.AttachGprs();
    exchange("AT+CGATT=1", {"+CGREG: 1", "OK"});
    report({"+CGREG: 5,\"00A1\",\"1B2C\""}, [&] { return results.size() == 6; });
    EXPECT_EQ(results,
              (std::vector<std::string>{"context 1", "qos 1", "attach 0", "registered 1", "attach 1", "registered 5"}));
}

TEST_F(EveryCode, PacketDataReadsDeliverTheirText)
{
    std::vector<std::string> texts;
    connection.connectQueryDsmlResult([&](std::string text) { texts.push_back(text); });
    connection.connectModifyUsimQosResult([&](std::string text) { texts.push_back(text); });
    connection.connectQuery3GServiceQualityResult([&](std::string text) { texts.push_back(text); });

    connection.GetServiceMappingList();
    exchange("AT^DSML?", {"^DSML: 1,\"cmnet\",3", "^DSML: 2,\"cmwap\",1", "OK"});
    connection.ReadUsimQos(1);
    exchange("AT^DUQOS=1", {"^DUQOS: 1,3,64,384", "OK"});
    connection.Get3GServiceQuality();
    exchange("AT+CGEQREQ?", {"+CGEQREQ: 1,3,64,384,0,0,0,1500,\"0E0\",\"0E0\",,0,0", "OK"});
    EXPECT_EQ(texts,
              (std::vector<std::string>{"^DSML: 1,\"cmnet\",3\n^DSML: 2,\"cmwap\",1\nOK", "^DUQOS: 1,3,64,384\nOK",
                                        "+CGEQREQ: 1,3,64,384,0,0,0,1500,\"0E0\",\"0E0\",,0,0\nOK"}));
}

TEST_F(EveryCode, TheWholePowerOnSequenceGoesOutInOrder)
{
    bool on = false;
    power.connectPowerOnResult([&](bool ok) { on = ok; });
    power.PowerOn();
    const std::vector<std::pair<std::string, std::vector<std::string>>> sequence = {
        {"AT+CFUN?", {"+CFUN: 0", "OK"}},
        {"AT+CMEE=1", {"OK"}},
        {"AT^DCSQ=0", {"OK"}},
        {"AT^DPRN=1", {"OK"}},
        {"AT^DSMN=1", {"OK"}},
        {"AT^DRPB=0", {"OK"}},
        {"AT+CFUN=1,0", {"OK"}},
        {"AT^DUSIM?", {"^DUSIM: 1", "OK"}},
        {"AT+CPIN?", {"+CPIN: READY", "OK"}},
        {"AT+CREG=1", {"OK"}},
        {"AT+COPS=3,2", {"OK"}},
    };
    for (const auto& step : sequence) {
        ASSERT_EQ(rig.nextCommand(), step.first);
        rig.deviceAnswers(step.second);
    }
    ASSERT_TRUE(rig.runUntilAnswered());
    EXPECT_TRUE(on);
}

// Parameter texts that would put a second command on the line never reach it:
// the request is answered ERROR and the next command is the next on the wire.
TEST_F(EveryCode, InjectionAttemptsWriteNothing)
{
    std::vector<std::string> results;
    usim.connectCheckPinResult([&](bool ok, int) { results.push_back("pin " + std::to_string(ok)); });
    usim.connectChangeLockSimCardPassword([&](bool ok) { results.push_back("password " + std::to_string(ok)); });
    connection.connectSetPdpcontResult([&](bool ok) { results.push_back("context " + std::to_string(ok)); });
    cops.connectSelectCopsResult([&](bool ok) { results.push_back("select " + std::to_string(ok)); });
    bool state = false;
    power.connectQueryPowerOnResult([&](bool on) { state = on; });

    usim.CheckPin("1234\rAT+CFUN=0");
    usim.ChangeLockSimCardPassword("1234", std::string("56\0"
                                                       "78",
                                                       5));
    connection.GsmPdpActive(1, "cmnet\r\nAT+CGATT=0", 0, 0, 0);
    connection.GsmPdpActive(1, "cmnet\";+CFUN=0;+CGDCONT=2,\"IP\",\"x", 0, 0, 0);
    CCopsInfo sneaky;
    sneaky.SetModeType(CCopsInfo::ModeManual);
    sneaky.SetFormat(CCopsInfo::FormatLong);
    sneaky.SetOperatorName(CCopsInfo::FormatLong,
                           "CMCC\x1b"
                           "AT+CFUN=0\x1a");
    cops.SelectCops(&sneaky);
    powerHelper().QueryPhoneFunctionality();

    exchange("AT+CFUN?", {"+CFUN: 1", "OK"});
    EXPECT_TRUE(state);
    EXPECT_EQ(results, (std::vector<std::string>{"pin 0", "password 0", "context 0", "context 0", "select 0"}));
    EXPECT_EQ(rig.unreadOutput(), "");
}

}  // namespace
}  // namespace cellctl::at::test
