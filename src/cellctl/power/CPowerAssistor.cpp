#include <cellctl/power/CPowerAssistor.h>

#include <cellctl/cops/CCopsAssistor.h>
#include <cellctl/framework/AnswerText.h>
#include <cellctl/mode/CMode.h>
#include <cellctl/mode/CModeAssistor.h>
#include <cellctl/text/Numbers.h>
#include <cellctl/usim/CUsimAssistor.h>

using cellctl::containsOk;

namespace {

// The level of a signal answer: the small number after the six characters of
// its response prefix ("+CSQ: "); 0 when the answer is shorter.
int signalLevel(const std::string& answer)
{
    unsigned position = 6;
    return cellctl::text::readSmallNumber(answer, position);
}

}  // namespace

CPowerAssistor::CPowerAssistor(CUsimAssistor* usim, CCopsAssistor* cops, CModeAssistor* mode)
    : m_helper(new CPowerHelper(this)),
      m_copsAssistor(cops),
      m_usimAssistor(usim),
      m_modeAssistor(mode),
      m_supportDualMode(false)
{
}

CPowerAssistor::~CPowerAssistor() { m_helper.reset(); }

void CPowerAssistor::SetPhoneLine(PhoneLine* line) { attachHelper(m_helper.get(), line); }

void CPowerAssistor::ResetPhoneLine() { detachHelper(m_helper.get()); }

void CPowerAssistor::SetPowerHelp(CPowerHelper* helper)
{
    // The old helper goes: deleting it unbinds the slots it bound, straight on
    // their handles, so no answer reaches it afterwards and its PhoneLine,
    // which may already be gone, is not touched.
    if (helper != m_helper.get())
        m_helper.reset(helper);
}

void CPowerAssistor::PowerOn()
{
    if (!m_helper)
        return;
    m_helper->QueryPhoneFunctionality();
    SetupFeature();
    m_helper->EnablePhonebookReadyNotification();
    m_helper->EnableSmsReadyNotification();
    m_helper->DisableReadPbByPf();
    m_helper->SetPhoneFunctionality();
    if (m_usimAssistor != nullptr) {
        m_usimAssistor->QuerySimCardMode();
        m_usimAssistor->QueryPinStatus();
    }
    m_helper->EnableNetworkRegistrationReporting();
    m_helper->SetPLMNFormat();
}

void CPowerAssistor::SetupFeature()
{
    if (!m_helper)
        return;
    m_helper->EnableReportMobileTerminationError();
    if (m_supportDualMode && m_modeAssistor != nullptr)
        m_modeAssistor->QueryCurrentMode();
    m_helper->SetQueryCurrentSignalMode();
}

void CPowerAssistor::PowerOff()
{
    if (m_helper)
        m_helper->ResetPhoneFunctionality();
}

void CPowerAssistor::SoftReset()
{
    if (m_helper)
        m_helper->SoftReset();
}

void CPowerAssistor::QuerySignal()
{
    if (!m_helper)
        return;
    const CMode* mode = m_modeAssistor != nullptr ? m_modeAssistor->GetCurrentMode() : nullptr;
    // TD unless the device is known to be on GSM.
    if (mode != nullptr && mode->GetAccessTechType() == CMode::AccessTechGsm)
        m_helper->QuerySignalGsm();
    else
        m_helper->QuerySignalTd();
}

void CPowerAssistor::QueryCregStatus()
{
    if (m_helper)
        m_helper->QueryCregStatus();
}

void CPowerAssistor::QueryCops()
{
    if (m_copsAssistor != nullptr)
        m_copsAssistor->QueryCops();
}

void CPowerAssistor::ParsePowerOnResult(const std::string& answer) { m_powerOn.fire(containsOk(answer)); }
void CPowerAssistor::ParsePowerOffResult(const std::string& answer) { m_powerOff.fire(containsOk(answer)); }
void CPowerAssistor::ParseSoftResetResult(const std::string& answer) { m_softReset.fire(containsOk(answer)); }

void CPowerAssistor::ParseDisableReadPbByPfResult(const std::string& answer)
{
    m_disableReadPbByPf.fire(containsOk(answer));
}

void CPowerAssistor::ParseQuerySignalGsmResult(const std::string& answer)
{
    m_querySignal.fire(CMode::AccessTechGsm, signalLevel(answer));
}

void CPowerAssistor::ParseQuerySignalTdResult(const std::string& answer)
{
    m_querySignal.fire(CMode::AccessTechTd, signalLevel(answer));
}

void CPowerAssistor::ParseCregResult(const std::string& answer)
{
    m_registration.fire(cellctl::text::readLeadingInt(answer));
}

void CPowerAssistor::ParseCopsResult(const std::string& answer)
{
    const std::string::size_type open = answer.find('"');
    const std::string::size_type close = open == std::string::npos ? open : answer.find('"', open + 1);
    m_queryCops.fire(close == std::string::npos ? std::string() : answer.substr(open + 1, close - open - 1));
}

void CPowerAssistor::ParseQueryPowerOnStatusResult(bool on) { m_queryPowerOn.fire(on); }

void CPowerAssistor::connectPowerOnResult(boost::function1<void, bool> callback) { m_powerOn.connect(callback); }
void CPowerAssistor::disconnectPowerOnResult() { m_powerOn.disconnect(); }
void CPowerAssistor::connectPowerOffResult(boost::function1<void, bool> callback) { m_powerOff.connect(callback); }
void CPowerAssistor::disconnectPowerOffResult() { m_powerOff.disconnect(); }
void CPowerAssistor::connectSoftResetResult(boost::function1<void, bool> callback) { m_softReset.connect(callback); }
void CPowerAssistor::disconnectSoftRestResult() { m_softReset.disconnect(); }

void CPowerAssistor::connectDisableReadPbByPfResult(boost::function1<void, bool> callback)
{
    m_disableReadPbByPf.connect(callback);
}

void CPowerAssistor::disconnectDisableReadPbByPfResult() { m_disableReadPbByPf.disconnect(); }
void CPowerAssistor::connectQueryPowerOnResult(boost::function1<void, bool> callback)
{
    m_queryPowerOn.connect(callback);
}
void CPowerAssistor::disconnectQueryPowerOnResult() { m_queryPowerOn.disconnect(); }

void CPowerAssistor::connectQuerySignalResult(boost::function2<void, int, int> callback)
{
    m_querySignal.connect(callback);
}

void CPowerAssistor::disconnectQuerySignalResult() { m_querySignal.disconnect(); }
void CPowerAssistor::connectRegistrationResult(boost::function1<void, int> callback)
{
    m_registration.connect(callback);
}
void CPowerAssistor::disconnectRegistrationResult() { m_registration.disconnect(); }

void CPowerAssistor::connectQueryCopsResult(boost::function1<void, std::string> callback)
{
    m_queryCops.connect(callback);
}

void CPowerAssistor::disconnectQueryCopsResult() { m_queryCops.disconnect(); }

void CPowerAssistor::connectQueryCregStatusResult(boost::function1<void, int> callback)
{
    m_queryCregStatus.connect(callback);
}

void CPowerAssistor::disconnectQueryCregStatusResult() { m_queryCregStatus.disconnect(); }
