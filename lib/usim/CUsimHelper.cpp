#include <cellctl/usim/CUsimHelper.h>
#include <cellctl/framework/AnswerText.h>

#include <cellctl/usim/CUsimAssistor.h>

namespace {

// The card answers the SIM-mode query with this error when no card is inserted.
bool reportsSimAbsent(const std::string& answer)
{
    return answer.find("ERROR: 10") != std::string::npos;
}

std::string quoted(const std::string& text)
{
    return '"' + text + '"';
}

// Parameter text of a password change: both passwords quoted, old one first.
std::string passwordChange(const std::string& oldPassword, const std::string& newPassword)
{
    return quoted(oldPassword) + ',' + quoted(newPassword);
}

}  // namespace

CUsimHelper::CUsimHelper(CUsimAssistor* assistor) : m_assistor(assistor) {}

CUsimHelper::~CUsimHelper() = default;

void CUsimHelper::SetAssistor(CUsimAssistor* assistor)
{
    m_assistor = assistor;
}

void CUsimHelper::Initialize()
{
    bindSlots(this);
}

void CUsimHelper::QuerySimCardMode() { sendQuery(PhoneLine::SimCardMode); }
void CUsimHelper::QueryPinStatus() { sendQuery(PhoneLine::PinStatus); }
void CUsimHelper::QueryAttemptRemainCount() { sendQuery(PhoneLine::PinAttemptsRemaining); }
void CUsimHelper::QueryIsPinStarted() { sendQuery(PhoneLine::PinLock); }

void CUsimHelper::CheckPin(const std::string& pin)
{
    sendModify(PhoneLine::EnterPin, pin);
}

void CUsimHelper::ChangePin(const std::string& first, const std::string& second)
{
    sendModify(PhoneLine::EnterPuk, first + ',' + second);
}

void CUsimHelper::StartupPin(const std::string& pin)
{
    sendModify(PhoneLine::PinLock, "1," + quoted(pin));
}

void CUsimHelper::ClosePin(const std::string& pin)
{
    sendModify(PhoneLine::PinLock, "0," + quoted(pin));
}

void CUsimHelper::ChangeLockSimCardPassword(const std::string& oldPassword, const std::string& newPassword)
{
    sendModify(PhoneLine::SimLockPassword, passwordChange(oldPassword, newPassword));
}

void CUsimHelper::ChangeSimFixedDialingMemoryPassword(const std::string& oldPassword,
                                                      const std::string& newPassword)
{
    sendModify(PhoneLine::FixedDialingPassword, passwordChange(oldPassword, newPassword));
}

void CUsimHelper::querySlot(PhoneLine::QueryType code, const std::string& answer)
{
    switch (code) {
    case PhoneLine::PinLock:
        SetStartPinResult(answer);
        break;
    case PhoneLine::PinStatus:
        if (m_assistor != nullptr)
            m_assistor->SetNeedPinCheck(answer);
        break;
    case PhoneLine::SimCardMode:
        ParseSimCardResult(answer);
        break;
    case PhoneLine::PinAttemptsRemaining:
        SetAttemptRemainCountResult(answer);
        break;
    default:
        break;
    }
}

void CUsimHelper::modifySlot(PhoneLine::QueryType code, const std::string& answer)
{
    switch (code) {
    case PhoneLine::PinLock:
        StartupOrClosePinResult(answer);
        break;
    case PhoneLine::SimLockPassword:
        ChangeLockSimCardPasswordResult(answer);
        break;
    case PhoneLine::FixedDialingPassword:
        ChangePin2Result(answer);
        break;
    case PhoneLine::EnterPin:
        CheckPinResult(answer);
        break;
    case PhoneLine::EnterPuk:
        ChangePinResult(answer);
        break;
    default:
        break;
    }
}

void CUsimHelper::CheckPinResult(const std::string& answer)
{
    if (m_assistor != nullptr)
        m_assistor->CheckPinResult(cellctl::containsOk(answer));
}

// Switching the lock on or off verifies the PIN: a wrong one is a failed attempt.
void CUsimHelper::StartupOrClosePinResult(const std::string& answer)
{
    CheckPinResult(answer);
}

// The PIN change is how the PUK is entered, so its answer moves the PUK record.
void CUsimHelper::ChangePinResult(const std::string& answer)
{
    if (m_assistor != nullptr)
        m_assistor->CheckPukResult(cellctl::containsOk(answer));
}

void CUsimHelper::ChangeLockSimCardPasswordResult(const std::string& answer)
{
    if (m_assistor != nullptr)
        m_assistor->SetChangeLockSimCardPasswordResult(cellctl::containsOk(answer));
}

void CUsimHelper::ChangePin2Result(const std::string& answer)
{
    if (m_assistor != nullptr)
        m_assistor->SetChangeSimFixedDialingMemoryPasswordResult(cellctl::containsOk(answer));
}

// Only absence is ever reported; any other answer says nothing about the card.
void CUsimHelper::ParseSimCardResult(const std::string& answer)
{
    if (m_assistor != nullptr && reportsSimAbsent(answer))
        m_assistor->SetSimCardAbsent(true);
}

void CUsimHelper::SetStartPinResult(const std::string& answer)
{
    if (m_assistor != nullptr && !answer.empty())
        m_assistor->SetStartPinResult(answer);
}

void CUsimHelper::SetAttemptRemainCountResult(const std::string& answer)
{
    if (m_assistor != nullptr && !answer.empty())
        m_assistor->SetAttemptRemainCountResult(answer);
}
