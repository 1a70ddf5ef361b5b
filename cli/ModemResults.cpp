#include "ModemResults.h"

namespace cellctl::cli {
namespace {

// The callback that feeds a tap. Taps outlive nothing: the session destroys
// the assistors (and with them these callbacks) before the taps.
template <typename... Values>
auto feed(ResultTap<Values...>& tap)
{
    return [&tap](const Values&... values) { tap.deliver(values...); };
}

// Mode records arrive as pointers to the helper's own record; keep a copy.
auto feedMode(ResultTap<CMode>& tap)
{
    return [&tap](CMode* mode) {
        if (mode != nullptr)
            tap.deliver(*mode);
    };
}

}  // namespace

void ModemResults::connectTo(Assistors& a)
{
    a.power.connectPowerOnResult(feed(poweredOn));
    a.power.connectQueryPowerOnResult(feed(wasPoweredOn));
    a.power.connectPowerOffResult(feed(poweredOff));
    a.power.connectSoftResetResult(feed(softReset));
    a.power.connectQuerySignalResult(feed(signal));
    a.power.connectRegistrationResult(feed(registration));

    a.usim.connectNeedCheckPinResult(feed(needPin));
    a.usim.connectNeedCheckPukResult(feed(needPuk));
    a.usim.connectQuerySimCardExistResult(feed(simAbsent));
    a.usim.connectCheckPinResult(feed(pinChecked));
    a.usim.connectQueryAttemptRemain(feed(attempts));
    a.usim.connectQueryIsPinStarted(feed(pinLock));
    a.usim.connectCheckPukResult(feed(pukChecked));
    a.usim.connectChangeLockSimCardPassword(feed(lockPasswordChanged));
    a.usim.connectChangeSimFixedDialingMemoryPassword(feed(fixedDialingPasswordChanged));

    a.cops.connectQueryCopsResult(feed(currentOperator));
    a.cops.connectQueryAvailableCops(feed(availableOperators));
    a.cops.connectSelectCopsResult(feed(operatorSelected));
    a.cops.connectQueryPreferredSelector(feed(preferredSelector));
    a.cops.connectQueryPreferredCopsList(feed(preferredOperators));
    a.cops.connectSelectSelectorResult(feed(selectorSet));
    a.cops.connectModifyCopsListResult(feed(preferredListChanged));

    a.mode.connectQueryModeResult(feedMode(currentMode));
    a.mode.connectQueryPowerOnModeResult(feedMode(powerOnMode));
    a.mode.connectParseSwitchModeResult(feed(modeSwitched));
    a.mode.connectParsePowerOnModeResult(feed(powerOnModeSet));
    a.mode.connectCellCapabilityChangesInfo(feed(cellCapability));

    a.connection.connectSetPdpcontResult(feed(contextDefined));
    a.connection.connectSetQosResult(feed(qosSet));
    a.connection.connectPsAttachResult(feed(attached));
    a.connection.connectPsRegisterResult(feed(packetRegistration));
}

}  // namespace cellctl::cli
