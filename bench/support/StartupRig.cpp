#include "StartupRig.h"

#include <vector>

namespace bench {

StartupRig::StartupRig(PhoneLine& line)
    : m_power(&m_usim, &m_cops, &m_mode), m_connection(&m_connectionHelper)
{
    m_power.SetSupportDualMode(true);
    m_usim.SetPhoneLine(&line);
    m_cops.SetPhoneLine(&line);
    m_mode.SetPhoneLine(&line);
    m_power.SetPhoneLine(&line);
    m_connectionHelper.SetConnectionAssistor(&m_connection);
    m_connectionHelper.SetPhoneLine(&line);
    m_connectionHelper.Initialize();

    connectPowerCallbacks();
    connectUsimCallbacks();
    connectCopsCallbacks();
    connectModeCallbacks();
    connectConnectionCallbacks();
}

StartupRig::~StartupRig()
{
    m_connection.ResetPhoneLine();
    m_power.ResetPhoneLine();
    m_mode.ResetPhoneLine();
    m_cops.ResetPhoneLine();
    m_usim.ResetPhoneLine();
}

void StartupRig::connectPowerCallbacks()
{
    HostTally& t = m_tally;
    auto count = [&t](auto&&...) { ++t.callbacks; };
    m_power.connectPowerOnResult([&t](bool ok) { ++t.callbacks; t.powerOn = ok; });
    m_power.connectPowerOffResult(count);
    m_power.connectSoftResetResult(count);
    m_power.connectDisableReadPbByPfResult(count);
    m_power.connectQueryPowerOnResult(count);
    m_power.connectQuerySignalResult([&t](int, int level) { ++t.callbacks; t.signalLevel = level; });
    m_power.connectRegistrationResult([&t](int status) { ++t.callbacks; t.registration = status; });
    m_power.connectQueryCopsResult(count);
    m_power.connectQueryCregStatusResult(count);
}

void StartupRig::connectUsimCallbacks()
{
    HostTally& t = m_tally;
    auto count = [&t](auto&&...) { ++t.callbacks; };
    m_usim.connectNeedCheckPinResult(count);
    m_usim.connectNeedCheckPukResult(count);
    m_usim.connectCheckPinResult(count);
    m_usim.connectCheckPukResult(count);
    m_usim.connectQuerySimCardExistResult(count);
    m_usim.connectQueryAttemptRemain(count);
    m_usim.connectQueryIsPinStarted(count);
    m_usim.connectChangeLockSimCardPassword(count);
    m_usim.connectChangeSimFixedDialingMemoryPassword(count);
}

void StartupRig::connectCopsCallbacks()
{
    HostTally& t = m_tally;
    auto count = [&t](auto&&...) { ++t.callbacks; };
    m_cops.connectQueryCopsResult([&t](const CCopsInfo& cops) {
        ++t.callbacks;
        t.currentOperatorTech = cops.GetAccessTechType();
    });
    m_cops.connectQueryAvailableCops([&t](const std::vector<CCopsInfo>& operators) {
        ++t.callbacks;
        t.availableOperators = operators.size();
    });
    m_cops.connectSelectCopsResult(count);
    m_cops.connectQueryPreferredSelector(count);
    m_cops.connectQueryPreferredCopsList([&t](const std::vector<CCopsInfo>& entries) {
        ++t.callbacks;
        t.preferredEntries = entries.size();
    });
    m_cops.connectSelectSelectorResult(count);
    m_cops.connectModifyCopsListResult(count);
}

void StartupRig::connectModeCallbacks()
{
    HostTally& t = m_tally;
    auto count = [&t](auto&&...) { ++t.callbacks; };
    m_mode.connectQueryModeResult([&t](CMode* mode) {
        ++t.callbacks;
        t.modeType = mode != nullptr ? mode->GetModeType() : -1;
    });
    m_mode.connectQueryPowerOnModeResult(count);
    m_mode.connectParseSwitchModeResult(count);
    m_mode.connectParsePowerOnModeResult(count);
    m_mode.connectEnableHsdpaNotificationResult(count);
    m_mode.connectEnableCellCapabilityChangesReport(count);
    m_mode.connectHsdpaNotificationResult(count);
    m_mode.connectCellCapabilityChangesInfo(count);
}

void StartupRig::connectConnectionCallbacks()
{
    HostTally& t = m_tally;
    auto count = [&t](auto&&...) { ++t.callbacks; };
    m_connection.connectSetQosResult(count);
    m_connection.connectSetPdpcontResult(count);
    m_connection.connectPsRegisterResult(count);
    m_connection.connectPsAttachResult(count);
    m_connection.connectQueryDsmlResult(count);
    m_connection.connectModifyUsimQosResult(count);
    m_connection.connectQuery3GServiceQualityResult(count);
}

}  // namespace bench
