#pragma once

#include <cellctl/CAssistorSet.h>

namespace cellctl::test {

// The one list of every host callback of the library, for the tests, the fuzz
// rig and the benchmarks. make(name) gives the callback for the kind called
// name ("Power.PowerOn", "Usim.CheckPin", ...); it must accept any arguments.

// The power, SIM, operator and mode assistors' callbacks: these can all be
// disconnected again (disconnectEveryRemovableCallback).
template <typename Make>
void connectEveryRemovableCallback(CAssistorSet& library, Make make)
{
    CPowerAssistor& power = library.GetPowerAssistor();
    power.connectPowerOnResult(make("Power.PowerOn"));
    power.connectPowerOffResult(make("Power.PowerOff"));
    power.connectSoftResetResult(make("Power.SoftReset"));
    power.connectDisableReadPbByPfResult(make("Power.DisableReadPbByPf"));
    power.connectQueryPowerOnResult(make("Power.QueryPowerOn"));
    power.connectQuerySignalResult(make("Power.QuerySignal"));
    power.connectRegistrationResult(make("Power.Registration"));
    power.connectQueryCopsResult(make("Power.QueryCops"));
    power.connectQueryCregStatusResult(make("Power.QueryCregStatus"));

    CUsimAssistor& usim = library.GetUsimAssistor();
    usim.connectNeedCheckPinResult(make("Usim.NeedCheckPin"));
    usim.connectNeedCheckPukResult(make("Usim.NeedCheckPuk"));
    usim.connectCheckPinResult(make("Usim.CheckPin"));
    usim.connectCheckPukResult(make("Usim.CheckPuk"));
    usim.connectQuerySimCardExistResult(make("Usim.QuerySimCardExist"));
    usim.connectQueryAttemptRemain(make("Usim.QueryAttemptRemain"));
    usim.connectQueryIsPinStarted(make("Usim.QueryIsPinStarted"));
    usim.connectChangeLockSimCardPassword(make("Usim.ChangeLockSimCardPassword"));
    usim.connectChangeSimFixedDialingMemoryPassword(make("Usim.ChangeSimFixedDialingMemoryPassword"));

    CCopsAssistor& cops = library.GetCopsAssistor();
    cops.connectQueryCopsResult(make("Cops.QueryCops"));
    cops.connectQueryAvailableCops(make("Cops.QueryAvailableCops"));
    cops.connectSelectCopsResult(make("Cops.SelectCops"));
    cops.connectQueryPreferredSelector(make("Cops.QueryPreferredSelector"));
    cops.connectQueryPreferredCopsList(make("Cops.QueryPreferredCopsList"));
    cops.connectSelectSelectorResult(make("Cops.SelectSelector"));
    cops.connectModifyCopsListResult(make("Cops.ModifyCopsList"));

    CModeAssistor& mode = library.GetModeAssistor();
    mode.connectQueryModeResult(make("Mode.QueryMode"));
    mode.connectQueryPowerOnModeResult(make("Mode.QueryPowerOnMode"));
    mode.connectParseSwitchModeResult(make("Mode.ParseSwitchMode"));
    mode.connectParsePowerOnModeResult(make("Mode.ParsePowerOnMode"));
    mode.connectEnableHsdpaNotificationResult(make("Mode.EnableHsdpaNotification"));
    mode.connectEnableCellCapabilityChangesReport(make("Mode.EnableCellCapabilityChangesReport"));
    mode.connectHsdpaNotificationResult(make("Mode.HsdpaNotification"));
    mode.connectCellCapabilityChangesInfo(make("Mode.CellCapabilityChangesInfo"));
}

// Drops every callback connectEveryRemovableCallback connected.
inline void disconnectEveryRemovableCallback(CAssistorSet& library)
{
    CPowerAssistor& power = library.GetPowerAssistor();
    power.disconnectPowerOnResult();
    power.disconnectPowerOffResult();
    power.disconnectSoftRestResult();
    power.disconnectDisableReadPbByPfResult();
    power.disconnectQueryPowerOnResult();
    power.disconnectQuerySignalResult();
    power.disconnectRegistrationResult();
    power.disconnectQueryCopsResult();
    power.disconnectQueryCregStatusResult();

    CUsimAssistor& usim = library.GetUsimAssistor();
    usim.disconnectNeedCheckPinResult();
    usim.disconnectNeedCheckPukResult();
    usim.disconnectCheckPinResult();
    usim.disconnectCheckPukResult();
    usim.disconnectQuerySimCardExistResult();
    usim.disconnectQueryAttemptRemain();
    usim.disconnectQueryIsPinStarted();
    usim.disconnectChangeLockSimCardPassword();
    usim.disconnectChangeSimFixedDialingMemoryPassword();

    CCopsAssistor& cops = library.GetCopsAssistor();
    cops.disconnectQueryCopsResult();
    cops.disconnectQueryAvailableCops();
    cops.disconnectSelectCopsResult();
    cops.disconnectQueryPreferredSelector();
    cops.disconnectQueryPreferredCopsList();
    cops.disconnectSelectSelectorResult();
    cops.disconnectModifyCopsListResult();

    CModeAssistor& mode = library.GetModeAssistor();
    mode.disconnectQueryModeResult();
    mode.disconnectQueryPowerOnModeResult();
    mode.disconnectParseSwitchModeResult();
    mode.disconnectParsePowerOnModeResult();
    mode.disconnectEnableHsdpaNotificationResult();
    mode.disconnectEnableCellCapabilityChangesReport();
    mode.disconnectHsdpaNotificationResult();
    mode.disconnectCellCapabilityChangesInfo();
}

// The packet-data assistor's callbacks, which cannot be disconnected: connect
// them once per set.
template <typename Make>
void connectPacketDataCallbacks(CAssistorSet& library, Make make)
{
    CConnectionAssistor& connection = library.GetConnectionAssistor();
    connection.connectSetQosResult(make("Connection.SetQos"));
    connection.connectSetPdpcontResult(make("Connection.SetPdpcont"));
    connection.connectPsRegisterResult(make("Connection.PsRegister"));
    connection.connectPsAttachResult(make("Connection.PsAttach"));
    connection.connectQueryDsmlResult(make("Connection.QueryDsml"));
    connection.connectModifyUsimQosResult(make("Connection.ModifyUsimQos"));
    connection.connectQuery3GServiceQualityResult(make("Connection.Query3GServiceQuality"));
}

// Every callback of the set, packet data included.
template <typename Make>
void connectEveryCallback(CAssistorSet& library, Make make)
{
    connectEveryRemovableCallback(library, make);
    connectPacketDataCallbacks(library, make);
}

}  // namespace cellctl::test
