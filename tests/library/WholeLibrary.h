#pragma once

#include <string>
#include <vector>

#include <cellctl/cellctl.h>

#include "RecordingPhoneLine.h"

namespace cellctl::test {

// Every assistor of the library on one PhoneLine, wired as a host does at
// start-up: the SIM, operator and mode assistors, the power assistor (of type
// Power) borrowing them, and the packet-data pair. Every host callback of
// every assistor writes its name ("Owner.Kind") into `fired`.
template <typename Power, typename Line = RecordingPhoneLine>
class WholeLibrary {
public:
    explicit WholeLibrary(bool dualMode = false) : power(&usim, &cops, &mode)
    {
        power.SetSupportDualMode(dualMode);
        usim.SetPhoneLine(&line);
        cops.SetPhoneLine(&line);
        mode.SetPhoneLine(&line);
        power.SetPhoneLine(&line);
        connectionHelper.SetConnectionAssistor(&connection);
        connectionHelper.SetPhoneLine(&line);
        connectionHelper.Initialize();
        connectEveryCallback();
    }

    ~WholeLibrary()
    {
        power.ResetPhoneLine();
        usim.ResetPhoneLine();
        cops.ResetPhoneLine();
        mode.ResetPhoneLine();
        connection.ResetPhoneLine();
    }

    Line line;
    CUsimAssistor usim;
    CCopsAssistor cops;
    CModeAssistor mode;
    CConnectionHelper connectionHelper;
    CConnectionAssistor connection{&connectionHelper};
    Power power;  // declared last: destroyed before the assistors it borrows
    std::vector<std::string> fired;

private:
    // A callback of any signature that only records that it ran.
    struct Record {
        std::vector<std::string>* fired;
        std::string name;
        template <typename... Values>
        void operator()(const Values&...) const { fired->push_back(name); }
    };
    Record as(const std::string& name) { return Record{&fired, name}; }

    void connectEveryCallback()
    {
        power.connectPowerOnResult(as("Power.PowerOn"));
        power.connectPowerOffResult(as("Power.PowerOff"));
        power.connectSoftResetResult(as("Power.SoftReset"));
        power.connectDisableReadPbByPfResult(as("Power.DisableReadPbByPf"));
        power.connectQueryPowerOnResult(as("Power.QueryPowerOn"));
        power.connectQuerySignalResult(as("Power.QuerySignal"));
        power.connectRegistrationResult(as("Power.Registration"));
        power.connectQueryCopsResult(as("Power.QueryCops"));
        power.connectQueryCregStatusResult(as("Power.QueryCregStatus"));

        usim.connectNeedCheckPinResult(as("Usim.NeedCheckPin"));
        usim.connectNeedCheckPukResult(as("Usim.NeedCheckPuk"));
        usim.connectCheckPinResult(as("Usim.CheckPin"));
        usim.connectCheckPukResult(as("Usim.CheckPuk"));
        usim.connectQuerySimCardExistResult(as("Usim.QuerySimCardExist"));
        usim.connectQueryAttemptRemain(as("Usim.QueryAttemptRemain"));
        usim.connectQueryIsPinStarted(as("Usim.QueryIsPinStarted"));
        usim.connectChangeLockSimCardPassword(as("Usim.ChangeLockSimCardPassword"));
        usim.connectChangeSimFixedDialingMemoryPassword(as("Usim.ChangeSimFixedDialingMemoryPassword"));

        cops.connectQueryCopsResult(as("Cops.QueryCops"));
        cops.connectQueryAvailableCops(as("Cops.QueryAvailableCops"));
        cops.connectSelectCopsResult(as("Cops.SelectCops"));
        cops.connectQueryPreferredSelector(as("Cops.QueryPreferredSelector"));
        cops.connectQueryPreferredCopsList(as("Cops.QueryPreferredCopsList"));
        cops.connectSelectSelectorResult(as("Cops.SelectSelector"));
        cops.connectModifyCopsListResult(as("Cops.ModifyCopsList"));

        mode.connectQueryModeResult(as("Mode.QueryMode"));
        mode.connectQueryPowerOnModeResult(as("Mode.QueryPowerOnMode"));
        mode.connectParseSwitchModeResult(as("Mode.ParseSwitchMode"));
        mode.connectParsePowerOnModeResult(as("Mode.ParsePowerOnMode"));
        mode.connectEnableHsdpaNotificationResult(as("Mode.EnableHsdpaNotification"));
        mode.connectEnableCellCapabilityChangesReport(as("Mode.EnableCellCapabilityChangesReport"));
        mode.connectHsdpaNotificationResult(as("Mode.HsdpaNotification"));
        mode.connectCellCapabilityChangesInfo(as("Mode.CellCapabilityChangesInfo"));

        connection.connectSetQosResult(as("Connection.SetQos"));
        connection.connectSetPdpcontResult(as("Connection.SetPdpcont"));
        connection.connectPsRegisterResult(as("Connection.PsRegister"));
        connection.connectPsAttachResult(as("Connection.PsAttach"));
        connection.connectQueryDsmlResult(as("Connection.QueryDsml"));
        connection.connectModifyUsimQosResult(as("Connection.ModifyUsimQos"));
        connection.connectQuery3GServiceQualityResult(as("Connection.Query3GServiceQuality"));
    }
};

}  // namespace cellctl::test
