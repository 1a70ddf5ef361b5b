#include "Stack.h"

#include <chrono>

namespace cellctl::e2e {

const std::string chinaMobile = "\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF";

namespace {

template <typename T>
auto into(std::vector<T>& results)
{
    return [&results](T value) { results.push_back(value); };
}

template <typename A, typename B>
auto intoPairs(std::vector<std::pair<A, B>>& results)
{
    return [&results](A first, B second) { results.emplace_back(first, second); };
}

ModeSeen seen(const CMode* mode)
{
    return ModeSeen{mode->GetBehaviorType(), mode->GetModeType(), mode->GetAccessTechType()};
}

at::AtPhoneLineOptions lineOptions(double timeoutScale)
{
    at::AtPhoneLineOptions options;
    options.timeoutScale = timeoutScale;
    return options;
}

}  // namespace

cellsim::ModemOptions Stack::quickModem()
{
    cellsim::ModemOptions options;
    options.registrationDelay = std::chrono::milliseconds(50);
    options.scanDuration = std::chrono::milliseconds(100);
    return options;
}

Stack::Stack(const cellsim::ModemOptions& modem, double timeoutScale)
    : server(modem),
      line(io, lineOptions(timeoutScale))
{
    server.start();
    line.connectStatus(
        [this](at::ChannelEvent event, const std::string& detail) { results.channel.emplace_back(event, detail); });
    line.open(server.slavePath());
    assistors.SetPhoneLine(&line);
    power.SetSupportDualMode(true);
    connectCallbacks();
}

Stack::~Stack()
{
    assistors.ResetPhoneLine();
    line.close();
}

void Stack::connectCallbacks()
{
    power.connectQueryPowerOnResult(into(results.queryPowerOn));
    power.connectPowerOnResult(into(results.powerOn));
    power.connectPowerOffResult(into(results.powerOff));
    power.connectSoftResetResult(into(results.softReset));
    power.connectDisableReadPbByPfResult(into(results.disableReadPb));
    power.connectRegistrationResult(into(results.registration));
    power.connectQuerySignalResult(intoPairs(results.signal));

    usim.connectNeedCheckPinResult(into(results.needPin));
    usim.connectNeedCheckPukResult(into(results.needPuk));
    usim.connectQuerySimCardExistResult(into(results.simAbsent));
    usim.connectCheckPinResult(intoPairs(results.checkPin));
    usim.connectCheckPukResult(intoPairs(results.checkPuk));
    usim.connectQueryAttemptRemain(into(results.attemptsRemaining));
    usim.connectQueryIsPinStarted(into(results.pinLockState));
    usim.connectChangeLockSimCardPassword(into(results.lockPasswordChanged));
    usim.connectChangeSimFixedDialingMemoryPassword(into(results.pin2Changed));

    cops.connectQueryCopsResult([this](const CCopsInfo& info) { results.currentOperator.push_back(info); });
    cops.connectQueryAvailableCops(
        [this](const std::vector<CCopsInfo>& list) { results.availableOperators.push_back(list); });
    cops.connectQueryPreferredCopsList(
        [this](const std::vector<CCopsInfo>& list) { results.preferredList.push_back(list); });
    cops.connectQueryPreferredSelector([this](const CCopsInfo& info) { results.selector.push_back(info); });
    cops.connectSelectCopsResult(into(results.selectOperator));
    cops.connectModifyCopsListResult(into(results.modifyList));
    cops.connectSelectSelectorResult(into(results.selectSelector));

    mode.connectQueryModeResult([this](CMode* current) { results.mode.push_back(seen(current)); });
    mode.connectQueryPowerOnModeResult([this](CMode* powerOn) { results.powerOnMode.push_back(seen(powerOn)); });
    mode.connectParseSwitchModeResult(into(results.switchMode));
    mode.connectParsePowerOnModeResult(into(results.setPowerOnMode));
    mode.connectEnableHsdpaNotificationResult(into(results.hsdpaEnabled));
    mode.connectEnableCellCapabilityChangesReport(into(results.cellReportsEnabled));
    mode.connectCellCapabilityChangesInfo(
        [this](const CCellCapabilityInfo& info) { results.cellCapability.push_back(info); });

    connection.connectSetPdpcontResult(into(results.pdpContext));
    connection.connectSetQosResult(into(results.qos));
    connection.connectPsAttachResult(into(results.attach));
    connection.connectPsRegisterResult(into(results.packetRegistration));
    connection.connectQueryDsmlResult(into(results.serviceMapping));
    connection.connectModifyUsimQosResult(into(results.usimQos));
    connection.connectQuery3GServiceQualityResult(into(results.serviceQuality));
}

bool Stack::runUntil(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        if (io.stopped()) {
            io.restart();
        }
        io.run_one_for(std::chrono::milliseconds(20));
    }
    return true;
}

bool Stack::settle()
{
    return runUntil([this] { return line.pendingCommands() == 0; });
}

void Stack::powerOn()
{
    power.GetPowerHelp()->SetTECharacterSet();
    power.PowerOn();
    connection.Initialize();
}

void Stack::startUp(const std::string& pin)
{
    powerOn();
    runUntil([this] { return !results.needPin.empty() || !results.needPuk.empty() || !results.simAbsent.empty(); });
    const auto registered = [this] { return !results.registration.empty() && results.registration.back() == 1; };
    if (!results.needPin.empty() && results.needPin.back()) {
        usim.CheckPin(pin);  // the registration report follows: +CREG=1 went out before
        runUntil(registered);
    }
    // A ready card may register before the reports are switched on: ask.
    for (int attempt = 0; attempt < 500 && !registered(); ++attempt) {
        power.QueryCregStatus();
        settle();
        pause(std::chrono::milliseconds(10));
    }
    settle();
}

void Stack::pause(std::chrono::milliseconds duration)
{
    if (io.stopped()) {
        io.restart();
    }
    io.run_for(duration);
}

void Stack::useLongOperatorNames()
{
    line.modify(static_cast<PhoneLine::QueryType>(130), "3,0");
    settle();
}

}  // namespace cellctl::e2e
