#pragma once

#include <cellctl/connection/CConnectionAssistor.h>
#include <cellctl/cops/CCopsAssistor.h>
#include <cellctl/mode/CModeAssistor.h>
#include <cellctl/usim/CUsimAssistor.h>

namespace cellctl::test {

// Connects a callback to every result kind of the power, SIM, operator and
// mode assistors. make(name) gives the callback for the kind called name
// ("Power.PowerOn", "Usim.CheckPin", ...); it must accept any arguments.
// These callbacks can all be disconnected again, one by one.
template <typename Power, typename Make>
void connectEveryCallback(Power& power, CUsimAssistor& usim, CCopsAssistor& cops, CModeAssistor& mode, Make make)
{
    power.connectPowerOnResult(make("Power.PowerOn"));
    power.connectPowerOffResult(make("Power.PowerOff"));
    power.connectSoftResetResult(make("Power.SoftReset"));
    power.connectDisableReadPbByPfResult(make("Power.DisableReadPbByPf"));
    power.connectQueryPowerOnResult(make("Power.QueryPowerOn"));
    power.connectQuerySignalResult(make("Power.QuerySignal"));
    power.connectRegistrationResult(make("Power.Registration"));
    power.connectQueryCopsResult(make("Power.QueryCops"));
    power.connectQueryCregStatusResult(make("Power.QueryCregStatus"));

    usim.connectNeedCheckPinResult(make("Usim.NeedCheckPin"));
    usim.connectNeedCheckPukResult(make("Usim.NeedCheckPuk"));
    usim.connectCheckPinResult(make("Usim.CheckPin"));
    usim.connectCheckPukResult(make("Usim.CheckPuk"));
    usim.connectQuerySimCardExistResult(make("Usim.QuerySimCardExist"));
    usim.connectQueryAttemptRemain(make("Usim.QueryAttemptRemain"));
    usim.connectQueryIsPinStarted(make("Usim.QueryIsPinStarted"));
    usim.connectChangeLockSimCardPassword(make("Usim.ChangeLockSimCardPassword"));
    usim.connectChangeSimFixedDialingMemoryPassword(make("Usim.ChangeSimFixedDialingMemoryPassword"));

    cops.connectQueryCopsResult(make("Cops.QueryCops"));
    cops.connectQueryAvailableCops(make("Cops.QueryAvailableCops"));
    cops.connectSelectCopsResult(make("Cops.SelectCops"));
    cops.connectQueryPreferredSelector(make("Cops.QueryPreferredSelector"));
    cops.connectQueryPreferredCopsList(make("Cops.QueryPreferredCopsList"));
    cops.connectSelectSelectorResult(make("Cops.SelectSelector"));
    cops.connectModifyCopsListResult(make("Cops.ModifyCopsList"));

    mode.connectQueryModeResult(make("Mode.QueryMode"));
    mode.connectQueryPowerOnModeResult(make("Mode.QueryPowerOnMode"));
    mode.connectParseSwitchModeResult(make("Mode.ParseSwitchMode"));
    mode.connectParsePowerOnModeResult(make("Mode.ParsePowerOnMode"));
    mode.connectEnableHsdpaNotificationResult(make("Mode.EnableHsdpaNotification"));
    mode.connectEnableCellCapabilityChangesReport(make("Mode.EnableCellCapabilityChangesReport"));
    mode.connectHsdpaNotificationResult(make("Mode.HsdpaNotification"));
    mode.connectCellCapabilityChangesInfo(make("Mode.CellCapabilityChangesInfo"));
}

// The packet-data assistor's callbacks, which cannot be disconnected: connect
// them once per assistor.
template <typename Make>
void connectPacketDataCallbacks(CConnectionAssistor& connection, Make make)
{
    connection.connectSetQosResult(make("Connection.SetQos"));
    connection.connectSetPdpcontResult(make("Connection.SetPdpcont"));
    connection.connectPsRegisterResult(make("Connection.PsRegister"));
    connection.connectPsAttachResult(make("Connection.PsAttach"));
    connection.connectQueryDsmlResult(make("Connection.QueryDsml"));
    connection.connectModifyUsimQosResult(make("Connection.ModifyUsimQos"));
    connection.connectQuery3GServiceQualityResult(make("Connection.Query3GServiceQuality"));
}

}  // namespace cellctl::test
