#include <cellctl/usim/CUsimAssistor.h>

#include <cellctl/usim/CPassword.h>
#include <cellctl/usim/CUsimHelper.h>

CUsimAssistor::CUsimAssistor()
    : m_pinPassword(new CPinPassword),
      m_pukPassword(new CPukPassword),
      m_helper(new CUsimHelper(this))
{
}

// Members go in reverse order: the helper first, then the two records.
CUsimAssistor::~CUsimAssistor() = default;

void CUsimAssistor::SetPhoneLine(PhoneLine* line) { attachHelper(m_helper.get(), line); }
void CUsimAssistor::ResetPhoneLine() { detachHelper(m_helper.get()); }

void CUsimAssistor::Activate() {}
void CUsimAssistor::DeActivate() {}
void CUsimAssistor::SetPinPassword(const std::string&) {}
int CUsimAssistor::QueryUsimStatus() { return 0; }

void CUsimAssistor::QuerySimCardMode() { m_helper->QuerySimCardMode(); }
void CUsimAssistor::QueryPinStatus() { m_helper->QueryPinStatus(); }
void CUsimAssistor::QueryAttemptRemainCount() { m_helper->QueryAttemptRemainCount(); }
void CUsimAssistor::QueryIsPinStarted() { m_helper->QueryIsPinStarted(); }

void CUsimAssistor::CheckPin(const std::string& pin)
{
    if (m_pinPassword->IsCheckAllowed())
        m_helper->CheckPin(pin);
}

void CUsimAssistor::CheckPuk(const std::string& text)
{
    if (m_pukPassword->IsCheckAllowed())
        m_helper->CheckPin(text);
}

void CUsimAssistor::ChangePin(const std::string& first, const std::string& second)
{
    m_helper->ChangePin(first, second);
}

void CUsimAssistor::StartupPin(const std::string& pin) { m_helper->StartupPin(pin); }
void CUsimAssistor::ClosePin(const std::string& pin) { m_helper->ClosePin(pin); }

void CUsimAssistor::ChangeLockSimCardPassword(const std::string& oldPassword, const std::string& newPassword)
{
    m_helper->ChangeLockSimCardPassword(oldPassword, newPassword);
}

void CUsimAssistor::ChangeSimFixedDialingMemoryPassword(const std::string& oldPassword, const std::string& newPassword)
{
    m_helper->ChangeSimFixedDialingMemoryPassword(oldPassword, newPassword);
}

int CUsimAssistor::GetPinCheckCounterRemain() const { return m_pinPassword->GetRemaining(); }
int CUsimAssistor::GetPukCheckCounterRemain() const { return m_pukPassword->GetRemaining(); }
std::string CUsimAssistor::GetAttemptRemainCount() const { return m_attemptRemainCount; }

// The status arrives as one of the words "SIM PIN", "SIM PUK", "PUK PIN" or
// "Ready". The first three must match whole; "Ready" may carry more text.
// "PUK PIN" and anything unrecognised (errors included) report nothing.
void CUsimAssistor::SetNeedPinCheck(const std::string& status)
{
    if (status == "SIM PIN")
        m_needCheckPin.fire(true);
    else if (status == "SIM PUK")
        m_needCheckPuk.fire(true);
    else if (status.find("Ready") != std::string::npos)
        m_needCheckPin.fire(false);
}

void CUsimAssistor::CheckPinResult(bool ok) { PinEntryResult(ok ? PasswordAccepted : PasswordWrong); }

void CUsimAssistor::CheckPukResult(bool ok) { PukEntryResult(ok ? PasswordAccepted : PasswordWrong); }

namespace {

void record(CPassword& password, CUsimAssistor::PasswordVerdict verdict)
{
    switch (verdict) {
    case CUsimAssistor::PasswordAccepted:
        password.RecordResult(true);
        break;
    case CUsimAssistor::PasswordWrong:
        password.RecordResult(false);
        break;
    case CUsimAssistor::PasswordBlocked:
        password.RecordBlocked();
        break;
    case CUsimAssistor::PasswordNotTried:
        break;
    }
}

}  // namespace

void CUsimAssistor::PinEntryResult(PasswordVerdict verdict)
{
    record(*m_pinPassword, verdict);
    m_checkPin.fire(verdict == PasswordAccepted, m_pinPassword->GetRemaining());
    if (verdict == PasswordBlocked)
        m_needCheckPuk.fire(true);
}

void CUsimAssistor::PukEntryResult(PasswordVerdict verdict)
{
    record(*m_pukPassword, verdict);
    m_checkPuk.fire(verdict == PasswordAccepted, m_pukPassword->GetRemaining());
}

void CUsimAssistor::SetSimCardAbsent(bool absent) { m_querySimCardExist.fire(absent); }

void CUsimAssistor::SetAttemptRemainCountResult(const std::string& text)
{
    if (text.empty())
        return;
    m_attemptRemainCount = text;
    m_queryAttemptRemain.fire(text);
}

void CUsimAssistor::SetStartPinResult(const std::string& text)
{
    if (!text.empty())
        m_queryIsPinStarted.fire(text);
}

void CUsimAssistor::SetChangeLockSimCardPasswordResult(bool ok) { m_changeLockSimCardPassword.fire(ok); }

void CUsimAssistor::SetChangeSimFixedDialingMemoryPasswordResult(bool ok)
{
    m_changeSimFixedDialingMemoryPassword.fire(ok);
}

void CUsimAssistor::connectNeedCheckPinResult(boost::function1<void, bool> f) { m_needCheckPin.connect(f); }
void CUsimAssistor::disconnectNeedCheckPinResult() { m_needCheckPin.disconnect(); }

void CUsimAssistor::connectNeedCheckPukResult(boost::function1<void, bool> f) { m_needCheckPuk.connect(f); }
void CUsimAssistor::disconnectNeedCheckPukResult() { m_needCheckPuk.disconnect(); }

void CUsimAssistor::connectCheckPinResult(boost::function2<void, bool, int> f) { m_checkPin.connect(f); }
void CUsimAssistor::disconnectCheckPinResult() { m_checkPin.disconnect(); }

void CUsimAssistor::connectCheckPukResult(boost::function2<void, bool, int> f) { m_checkPuk.connect(f); }
void CUsimAssistor::disconnectCheckPukResult() { m_checkPuk.disconnect(); }

void CUsimAssistor::connectQuerySimCardExistResult(boost::function1<void, bool> f) { m_querySimCardExist.connect(f); }
void CUsimAssistor::disconnectQuerySimCardExistResult() { m_querySimCardExist.disconnect(); }

void CUsimAssistor::connectQueryAttemptRemain(boost::function1<void, std::string> f)
{
    m_queryAttemptRemain.connect(f);
}
void CUsimAssistor::disconnectQueryAttemptRemain() { m_queryAttemptRemain.disconnect(); }

void CUsimAssistor::connectQueryIsPinStarted(boost::function1<void, std::string> f) { m_queryIsPinStarted.connect(f); }
void CUsimAssistor::disconnectQueryIsPinStarted() { m_queryIsPinStarted.disconnect(); }

void CUsimAssistor::connectChangeLockSimCardPassword(boost::function1<void, bool> f)
{
    m_changeLockSimCardPassword.connect(f);
}
void CUsimAssistor::disconnectChangeLockSimCardPassword() { m_changeLockSimCardPassword.disconnect(); }

void CUsimAssistor::connectChangeSimFixedDialingMemoryPassword(boost::function1<void, bool> f)
{
    m_changeSimFixedDialingMemoryPassword.connect(f);
}
void CUsimAssistor::disconnectChangeSimFixedDialingMemoryPassword()
{
    m_changeSimFixedDialingMemoryPassword.disconnect();
}
