// The start-up of a connection manager on the whole stack: every assistor on
// an AtPhoneLine, cellsim on a real pty.
#include <gtest/gtest.h>

#include "Stack.h"

namespace cellctl::e2e {
namespace {

const std::string chinaUnicom = "\xD6\xD0\xB9\xFA\xC1\xAA\xCD\xA8";

cellsim::ModemOptions modemWith(cellsim::SimStart sim)
{
    cellsim::ModemOptions options = Stack::quickModem();
    options.sim = sim;
    return options;
}

bool lastIs(const std::vector<int>& values, int value) { return !values.empty() && values.back() == value; }

TEST(StartUp, PinLockedSimToRegistrationAndSignal)
{
    Stack stack(modemWith(cellsim::SimStart::PinLocked));
    Results& results = stack.results;
    stack.powerOn();
    ASSERT_TRUE(stack.waitFor(results.needPin));
    ASSERT_TRUE(stack.settle());
    EXPECT_EQ(results.needPin, std::vector<bool>{true});
    EXPECT_TRUE(results.needPuk.empty());
    EXPECT_TRUE(results.simAbsent.empty());
    EXPECT_EQ(results.queryPowerOn, std::vector<bool>{false}) << "the radio is off at start";
    EXPECT_EQ(results.powerOn, std::vector<bool>{true});
    EXPECT_EQ(results.disableReadPb, std::vector<bool>{true});
    EXPECT_EQ(results.hsdpaEnabled, std::vector<bool>{true});
    EXPECT_EQ(results.cellReportsEnabled, std::vector<bool>{true});
    ASSERT_EQ(results.mode.size(), 1u) << "dual-mode support reads the mode at set-up";
    EXPECT_EQ(results.mode[0].modeType, 0);
    EXPECT_EQ(results.mode[0].accessTech, 2);

    stack.usim.CheckPin("0000");
    ASSERT_TRUE(stack.waitFor(results.checkPin, 1));
    EXPECT_EQ(results.checkPin[0], std::make_pair(false, 2));
    stack.usim.CheckPin("1111");
    ASSERT_TRUE(stack.waitFor(results.checkPin, 2));
    EXPECT_EQ(results.checkPin[1], std::make_pair(false, 1));
    stack.usim.QueryAttemptRemainCount();
    ASSERT_TRUE(stack.waitFor(results.attemptsRemaining));
    EXPECT_EQ(results.attemptsRemaining[0], "^DRAP: 1,10,3,10\nOK") << "the card counts as the library does";

    stack.usim.CheckPin("1234");
    ASSERT_TRUE(stack.waitFor(results.checkPin, 3));
    EXPECT_EQ(results.checkPin[2], std::make_pair(true, 3));
    ASSERT_TRUE(stack.runUntil([&] { return lastIs(results.registration, 1); }));
    EXPECT_EQ(results.registration, (std::vector<int>{2, 1})) << "searching, then registered: both reported";
    ASSERT_TRUE(stack.runUntil([&] { return lastIs(results.packetRegistration, 1); }));
    EXPECT_EQ(results.packetRegistration, (std::vector<int>{2, 1}));

    stack.usim.QueryPinStatus();
    ASSERT_TRUE(stack.waitFor(results.needPin, 2));
    EXPECT_FALSE(results.needPin[1]) << "the card is ready";
    stack.power.QueryCregStatus();
    ASSERT_TRUE(stack.waitFor(results.registration, 3));
    EXPECT_EQ(results.registration[2], 1);

    stack.power.QuerySignal();
    ASSERT_TRUE(stack.waitFor(results.signal));
    EXPECT_EQ(results.signal[0], std::make_pair(2, 41)) << "on TD: the TD signal query";
}

TEST(StartUp, OperatorsScanSelectionAndPreferredList)
{
    Stack stack(modemWith(cellsim::SimStart::PinLocked));
    Results& results = stack.results;
    stack.startUp();

    stack.power.QueryCops();
    ASSERT_TRUE(stack.waitFor(results.currentOperator, 1));
    const CCopsInfo& numeric = results.currentOperator[0];
    EXPECT_EQ(numeric.GetFormat(), CCopsInfo::FormatNumeric) << "the power-on sequence asked for codes";
    EXPECT_EQ(numeric.GetOperatorNumericName(), "46000");
    EXPECT_EQ(numeric.GetOperatorLongName(), chinaMobile);
    EXPECT_EQ(numeric.GetOperatorShortName(), "CMCC");
    EXPECT_EQ(numeric.GetAccessTechType(), CCopsInfo::AccessTechTd);

    stack.useLongOperatorNames();
    stack.cops.QueryCops();
    ASSERT_TRUE(stack.waitFor(results.currentOperator, 2));
    EXPECT_EQ(results.currentOperator[1].GetFormat(), CCopsInfo::FormatLong);
    EXPECT_EQ(results.currentOperator[1].GetOperatorLongName(), chinaMobile) << "GBK bytes through HEX";

    stack.cops.QueryAvailableCops();
    ASSERT_TRUE(stack.waitFor(results.availableOperators));
    const std::vector<CCopsInfo>& scan = results.availableOperators[0];
    ASSERT_EQ(scan.size(), 7u);
    EXPECT_EQ(scan[0].GetState(), CCopsInfo::StateCurrent);
    EXPECT_EQ(scan[0].GetOperatorLongName(), chinaMobile);
    EXPECT_EQ(scan[0].GetOperatorShortName(), "CMCC");
    EXPECT_EQ(scan[0].GetOperatorNumericName(), "46000");
    EXPECT_EQ(scan[0].GetAccessTechType(), CCopsInfo::AccessTechTd);
    EXPECT_EQ(scan[4].GetState(), CCopsInfo::StateAvailable);
    EXPECT_EQ(scan[4].GetOperatorLongName(), chinaUnicom);
    EXPECT_EQ(scan[4].GetOperatorNumericName(), "46001");
    EXPECT_EQ(scan[4].GetAccessTechType(), CCopsInfo::AccessTechGsm);
    EXPECT_EQ(scan[6].GetState(), CCopsInfo::StateForbidden);
    EXPECT_EQ(scan[6].GetOperatorShortName(), "CNC");

    CCopsInfo unicom;
    unicom.SetModeType(CCopsInfo::ModeManual);
    unicom.SetFormat(CCopsInfo::FormatNumeric);
    unicom.SetOperatorName(CCopsInfo::FormatNumeric, "46001");
    stack.cops.SelectCops(&unicom);
    ASSERT_TRUE(stack.waitFor(results.selectOperator, 1));
    EXPECT_TRUE(results.selectOperator[0]);
    ASSERT_TRUE(stack.runUntil([&] { return lastIs(results.registration, 5); })) << "roaming on 46001";
    stack.cops.QueryCops();
    ASSERT_TRUE(stack.waitFor(results.currentOperator, 3));
    EXPECT_EQ(results.currentOperator[2].GetModeType(), CCopsInfo::ModeManual);
    EXPECT_EQ(results.currentOperator[2].GetOperatorNumericName(), "46001");
    EXPECT_EQ(results.currentOperator[2].GetOperatorLongName(), chinaUnicom);

    CCopsInfo byName;
    byName.SetModeType(CCopsInfo::ModeManual);
    byName.SetFormat(CCopsInfo::FormatLong);
    byName.SetOperatorName(CCopsInfo::FormatLong, chinaMobile);
    stack.cops.SelectCops(&byName);
    ASSERT_TRUE(stack.waitFor(results.selectOperator, 2));
    EXPECT_TRUE(results.selectOperator[1]) << "a GBK name is hex-encoded on the way and found";
    ASSERT_TRUE(stack.runUntil([&] { return lastIs(results.registration, 1); }));

    CCopsInfo forbidden = unicom;
    forbidden.SetOperatorName(CCopsInfo::FormatNumeric, "46006");
    stack.cops.SelectCops(&forbidden);
    ASSERT_TRUE(stack.waitFor(results.selectOperator, 3));
    EXPECT_FALSE(results.selectOperator[2]);

    CCopsInfo automatic;
    automatic.SetModeType(CCopsInfo::ModeAutomatic);
    stack.cops.SelectCops(&automatic);
    ASSERT_TRUE(stack.waitFor(results.selectOperator, 4));
    EXPECT_TRUE(results.selectOperator[3]);

    stack.cops.QueryPreferredCopsList();
    ASSERT_TRUE(stack.waitFor(results.preferredList, 1));
    ASSERT_EQ(results.preferredList[0].size(), 3u);
    EXPECT_EQ(results.preferredList[0][0].GetPreferredPLMNListIndex(), 1);
    EXPECT_EQ(results.preferredList[0][0].GetOperatorNumericName(), "46000");
    EXPECT_TRUE(results.preferredList[0][0].GetPreferredPLMNListGsmSelected());
    EXPECT_TRUE(results.preferredList[0][0].GetPreferredPLMNListTDSelected());

    CCopsInfo entry;
    entry.SetPreferredPLMNListIndex(4);
    entry.SetFormat(CCopsInfo::FormatNumeric);
    entry.SetOperatorName(CCopsInfo::FormatNumeric, "46001");
    entry.SetAccessTechType(CCopsInfo::AccessTechGsm);
    entry.SetAccessTechToPreferredPLMNList();
    stack.cops.ModifyCopsList(&entry);
    stack.cops.QueryPreferredCopsList();
    ASSERT_TRUE(stack.waitFor(results.preferredList, 2));
    EXPECT_EQ(results.modifyList, std::vector<bool>{true});
    ASSERT_EQ(results.preferredList[1].size(), 4u);
    EXPECT_EQ(results.preferredList[1][3].GetPreferredPLMNListIndex(), 4);
    EXPECT_EQ(results.preferredList[1][3].GetOperatorNumericName(), "46001");
    EXPECT_TRUE(results.preferredList[1][3].GetPreferredPLMNListGsmSelected());
    EXPECT_FALSE(results.preferredList[1][3].GetPreferredPLMNListTDSelected());

    stack.cops.DeleteCopsList(&entry);
    stack.cops.QueryPreferredCopsList();
    ASSERT_TRUE(stack.waitFor(results.preferredList, 3));
    EXPECT_EQ(results.modifyList, (std::vector<bool>{true, true}));
    EXPECT_EQ(results.preferredList[2].size(), 3u);

    stack.cops.QueryPreferredSelector();
    CCopsInfo selector;
    selector.SetSelector(static_cast<CCopsInfo::ESelector>(1));
    stack.cops.SelectSelector(&selector);
    stack.cops.QueryPreferredSelector();
    ASSERT_TRUE(stack.waitFor(results.selector, 2));
    EXPECT_EQ(results.selector[0].GetSelector(), 0);
    EXPECT_EQ(results.selectSelector, std::vector<bool>{true});
    EXPECT_EQ(results.selector[1].GetSelector(), 1);
}

TEST(StartUp, ModeSwitchReportsAndSignalByMode)
{
    Stack stack(modemWith(cellsim::SimStart::PinLocked));
    Results& results = stack.results;
    stack.startUp();
    ASSERT_TRUE(stack.runUntil([&] { return results.cellCapability.size() >= 2; }));
    EXPECT_TRUE(results.cellCapability[0].m_capability3) << "HSDPA on the TD cell";
    EXPECT_TRUE(results.cellCapability[1].m_capability2 && results.cellCapability[1].m_capability3);

    CMode gsmOnly;
    gsmOnly.SetBehaviorType(CMode::BehaviorDefault);
    gsmOnly.SetModeType(static_cast<CMode::EModeType>(2));
    gsmOnly.SetAccessTechType(CMode::AccessTechGsm);
    const std::size_t modesBefore = results.mode.size();
    stack.mode.SwitchToMode(&gsmOnly);
    ASSERT_TRUE(stack.waitFor(results.switchMode));
    EXPECT_TRUE(results.switchMode[0]);
    ASSERT_TRUE(stack.waitFor(results.mode, modesBefore + 1)) << "the mode-change report makes the library re-read";
    EXPECT_EQ(results.mode.back().modeType, 2);
    EXPECT_EQ(results.mode.back().accessTech, 0);
    ASSERT_TRUE(stack.runUntil([&] { return results.cellCapability.size() >= 4; }));
    const CCellCapabilityInfo& noHsdpa = results.cellCapability[2];
    EXPECT_FALSE(noHsdpa.m_capability1 || noHsdpa.m_capability2 || noHsdpa.m_capability3 || noHsdpa.m_capability4);
    EXPECT_TRUE(results.cellCapability[3].m_capability1);
    EXPECT_FALSE(results.cellCapability[3].m_capability3);

    stack.power.QuerySignal();
    ASSERT_TRUE(stack.waitFor(results.signal, 1));
    EXPECT_EQ(results.signal[0], std::make_pair(0, 23)) << "on GSM: the GSM signal query";

    CMode dual;
    stack.mode.SwitchToMode(&dual);
    ASSERT_TRUE(stack.waitFor(results.switchMode, 2));
    ASSERT_TRUE(stack.waitFor(results.mode, modesBefore + 2));
    EXPECT_EQ(results.mode.back().modeType, 0);
    EXPECT_EQ(results.mode.back().accessTech, 2);
    ASSERT_TRUE(stack.runUntil([&] { return results.cellCapability.size() >= 6; }));
    EXPECT_TRUE(results.cellCapability[4].m_capability3);
    stack.power.QuerySignal();
    ASSERT_TRUE(stack.waitFor(results.signal, 2));
    EXPECT_EQ(results.signal[1], std::make_pair(2, 41));

    CGsmMode powerOnGsm;
    stack.mode.SetPowerOnMode(&powerOnGsm);
    stack.mode.QueryPowerOnMode();
    ASSERT_TRUE(stack.waitFor(results.powerOnMode));
    EXPECT_EQ(results.setPowerOnMode, std::vector<bool>{true});
    EXPECT_EQ(results.powerOnMode[0].accessTech, 0);
}

TEST(StartUp, PacketDataContextQosAttachAndReads)
{
    Stack stack(modemWith(cellsim::SimStart::PinLocked));
    Results& results = stack.results;
    stack.startUp();

    stack.connection.PdpActive(1, "cmnet", 3, 64, 384);
    ASSERT_TRUE(stack.waitFor(results.qos));
    EXPECT_EQ(results.pdpContext, std::vector<bool>{true});
    EXPECT_EQ(results.qos, std::vector<bool>{true});
    stack.connection.Get3GServiceQuality();
    ASSERT_TRUE(stack.waitFor(results.serviceQuality));
    EXPECT_EQ(results.serviceQuality[0], "+CGEQREQ: 1,3,64,384,0,0,0,1500,\"0E0\",\"0E0\",3,0,0\nOK");

    stack.connection.AttachGprs();
    ASSERT_TRUE(stack.waitFor(results.attach));
    EXPECT_TRUE(results.attach[0]);

    stack.connection.GetServiceMappingList();
    stack.connection.ReadUsimQos(0);
    stack.connection.ReadUsimQos(9);
    ASSERT_TRUE(stack.waitFor(results.usimQos, 2));
    EXPECT_EQ(results.serviceMapping, std::vector<std::string>{"^DSML: 1,5,\"cmnet\"\nOK"});
    EXPECT_EQ(results.usimQos[0], "^DUQOS: 0,3,64,384\nOK");
    EXPECT_EQ(results.usimQos[1], "+CME ERROR: 21");

    stack.connection.GsmPdpActive(1, "internet", 0, 0, 0);
    ASSERT_TRUE(stack.waitFor(results.pdpContext, 2));
    EXPECT_TRUE(results.pdpContext[1]);
    stack.connection.GetServiceMappingList();
    ASSERT_TRUE(stack.waitFor(results.serviceMapping, 2));
    EXPECT_EQ(results.serviceMapping[1], "^DSML: 1,5,\"internet\"\nOK");
    EXPECT_EQ(results.qos.size(), 1u) << "no QoS request on GSM";
}

TEST(StartUp, SimPasswordsAndPinLock)
{
    Stack stack(modemWith(cellsim::SimStart::PinLocked));
    Results& results = stack.results;
    stack.startUp();

    stack.usim.QueryIsPinStarted();
    ASSERT_TRUE(stack.waitFor(results.pinLockState));
    EXPECT_EQ(results.pinLockState[0], "+CLCK: 1\nOK");

    stack.usim.ChangeLockSimCardPassword("1234", "2468");
    stack.usim.ChangeSimFixedDialingMemoryPassword("0000", "8765");
    stack.usim.ChangeSimFixedDialingMemoryPassword("5678", "8765");
    ASSERT_TRUE(stack.waitFor(results.pin2Changed, 2));
    EXPECT_EQ(results.lockPasswordChanged, std::vector<bool>{true});
    EXPECT_EQ(results.pin2Changed, (std::vector<bool>{false, true}));

    stack.usim.ClosePin("1234");
    ASSERT_TRUE(stack.waitFor(results.checkPin, 2));
    EXPECT_EQ(results.checkPin[1], std::make_pair(false, 2)) << "the old PIN is gone";
    stack.usim.ClosePin("2468");
    stack.usim.QueryIsPinStarted();
    ASSERT_TRUE(stack.waitFor(results.pinLockState, 2));
    EXPECT_EQ(results.checkPin[2], std::make_pair(true, 3));
    EXPECT_EQ(results.pinLockState[1], "+CLCK: 0\nOK");
}

TEST(StartUp, AbsentSim)
{
    Stack stack(modemWith(cellsim::SimStart::Absent));
    Results& results = stack.results;
    stack.powerOn();
    ASSERT_TRUE(stack.waitFor(results.simAbsent));
    ASSERT_TRUE(stack.settle());
    EXPECT_EQ(results.simAbsent, std::vector<bool>{true});
    EXPECT_TRUE(results.needPin.empty());
    EXPECT_TRUE(results.needPuk.empty());
    EXPECT_EQ(results.powerOn, std::vector<bool>{true}) << "the radio goes on without a card";

    stack.usim.QueryAttemptRemainCount();
    stack.power.QueryCregStatus();
    stack.cops.QueryAvailableCops();
    stack.connection.AttachGprs();
    ASSERT_TRUE(stack.waitFor(results.attach));
    EXPECT_EQ(results.attemptsRemaining, std::vector<std::string>{"+CME ERROR: 10"});
    EXPECT_EQ(results.registration, std::vector<int>{0});
    ASSERT_EQ(results.availableOperators.size(), 1u);
    EXPECT_TRUE(results.availableOperators[0].empty());
    EXPECT_FALSE(results.attach[0]);
}

TEST(StartUp, PukBlockedSim)
{
    Stack stack(modemWith(cellsim::SimStart::PukBlocked));
    Results& results = stack.results;
    stack.powerOn();
    ASSERT_TRUE(stack.waitFor(results.needPuk));
    ASSERT_TRUE(stack.settle());
    EXPECT_EQ(results.needPuk, std::vector<bool>{true});
    EXPECT_TRUE(results.needPin.empty());

    stack.usim.ChangePin("00000000", "4321");
    stack.usim.QueryAttemptRemainCount();
    ASSERT_TRUE(stack.waitFor(results.attemptsRemaining));
    EXPECT_EQ(results.checkPuk, (std::vector<std::pair<bool, int>>{{false, 9}}));
    EXPECT_EQ(results.attemptsRemaining[0], "^DRAP: 0,9,3,10\nOK");

    stack.usim.ChangePin("12345678", "4321");
    ASSERT_TRUE(stack.waitFor(results.checkPuk, 2));
    EXPECT_EQ(results.checkPuk[1], std::make_pair(true, 10));
    ASSERT_TRUE(stack.runUntil([&] { return lastIs(results.registration, 1); }));
    stack.usim.QueryPinStatus();
    ASSERT_TRUE(stack.waitFor(results.needPin));
    EXPECT_FALSE(results.needPin[0]);
}

TEST(StartUp, PowerOffAndSoftReset)
{
    Stack stack(modemWith(cellsim::SimStart::PinLocked));
    Results& results = stack.results;
    stack.startUp();

    stack.power.PowerOff();
    ASSERT_TRUE(stack.waitFor(results.powerOff));
    EXPECT_TRUE(results.powerOff[0]);
    ASSERT_TRUE(stack.runUntil([&] { return lastIs(results.registration, 0); })) << "the registration is lost";
    stack.power.QuerySignal();
    ASSERT_TRUE(stack.waitFor(results.signal));
    EXPECT_EQ(results.signal[0], std::make_pair(2, 99));

    stack.power.SoftReset();
    ASSERT_TRUE(stack.waitFor(results.softReset));
    EXPECT_TRUE(results.softReset[0]);
    stack.usim.QueryPinStatus();
    ASSERT_TRUE(stack.waitFor(results.needPin, 2));
    EXPECT_TRUE(results.needPin[1]) << "after the reset the card asks for its PIN again";
    stack.power.GetPowerHelp()->QueryPhoneFunctionality();
    ASSERT_TRUE(stack.waitFor(results.queryPowerOn, 2));
    EXPECT_TRUE(results.queryPowerOn[1]) << "the reset brought the radio back on";
}

}  // namespace
}  // namespace cellctl::e2e
