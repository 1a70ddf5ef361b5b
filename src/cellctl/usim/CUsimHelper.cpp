#include <cellctl/usim/CUsimHelper.h>
#include <cellctl/framework/AnswerText.h>

#include <algorithm>
#include <string_view>

#include <cellctl/text/Numbers.h>
#include <cellctl/text/Quoting.h>
#include <cellctl/usim/CUsimAssistor.h>

using cellctl::text::inQuotes;

namespace {

// The card answers the SIM-mode query with this error when no card is inserted.
bool reportsSimAbsent(const std::string& answer) { return answer.find("ERROR: 10") != std::string::npos; }

constexpr std::string_view kCmeError = "+CME ERROR:";
// The +CME ERROR codes of 3GPP TS 27.007 told apart here.
constexpr int kSimNotInserted = 10;
constexpr int kSimPukRequired = 12;
constexpr int kIncorrectPassword = 16;
// No numbered error in the answer, and a number too long for any code.
constexpr int kNoCmeError = -1;
constexpr int kOverlongCmeError = 1000000;

// The number of a "+CME ERROR: <n>" anywhere in the answer, spaces before it
// skipped.
int cmeError(const std::string& answer)
{
    const std::size_t at = answer.find(kCmeError);
    if (at == std::string::npos)
        return kNoCmeError;
    std::string_view rest = std::string_view(answer).substr(at + kCmeError.size());
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    const std::string_view digits = rest.substr(0, rest.find_first_not_of("0123456789"));
    if (digits.empty())
        return kNoCmeError;
    return cellctl::text::readNumberField(digits).value_or(kOverlongCmeError);
}

// What a PIN or PUK entry did to the card, by its answer (3GPP TS 27.007
// +CME ERROR codes). Only a wrong password (16), or an error the device does
// not number, uses an attempt; "SIM PUK required" (12) after a PIN means the
// PIN is blocked, after a PUK that the PUK was wrong. Every other error (no
// card 10, PIN wanted 11, card failure 13, busy 14, PIN2/PUK2 wanted 17/18,
// bad parameters 50, unknown 100, ...) is a refusal before the check.
CUsimAssistor::PasswordVerdict verdictOf(const std::string& answer, bool pukEntry)
{
    if (cellctl::containsOk(answer))
        return CUsimAssistor::PasswordAccepted;
    switch (cmeError(answer)) {
    case kNoCmeError:
    case kIncorrectPassword:
        return CUsimAssistor::PasswordWrong;
    case kSimPukRequired:
        return pukEntry ? CUsimAssistor::PasswordWrong : CUsimAssistor::PasswordBlocked;
    default:
        return CUsimAssistor::PasswordNotTried;
    }
}

// Parameter text of a password change: both passwords quoted, old one first.
std::string passwordChange(const std::string& oldPassword, const std::string& newPassword)
{
    return inQuotes(oldPassword) + ',' + inQuotes(newPassword);
}

}  // namespace

CUsimHelper::CUsimHelper(CUsimAssistor* assistor) : m_assistor(assistor) {}

CUsimHelper::~CUsimHelper() = default;

void CUsimHelper::SetAssistor(CUsimAssistor* assistor) { m_assistor = assistor; }

void CUsimHelper::Initialize() { bindSlots(this); }

void CUsimHelper::QuerySimCardMode() { sendQuery(PhoneLine::SimCardMode); }
void CUsimHelper::QueryPinStatus() { sendQuery(PhoneLine::PinStatus); }
void CUsimHelper::QueryAttemptRemainCount() { sendQuery(PhoneLine::PinAttemptsRemaining); }
void CUsimHelper::QueryIsPinStarted() { sendQuery(PhoneLine::PinLock); }

void CUsimHelper::CheckPin(const std::string& pin) { sendModify(PhoneLine::EnterPin, pin); }

void CUsimHelper::ChangePin(const std::string& first, const std::string& second)
{
    sendModify(PhoneLine::EnterPuk, first + ',' + second);
}

void CUsimHelper::StartupPin(const std::string& pin) { sendModify(PhoneLine::PinLock, "1," + inQuotes(pin)); }

void CUsimHelper::ClosePin(const std::string& pin) { sendModify(PhoneLine::PinLock, "0," + inQuotes(pin)); }

void CUsimHelper::ChangeLockSimCardPassword(const std::string& oldPassword, const std::string& newPassword)
{
    sendModify(PhoneLine::SimLockPassword, passwordChange(oldPassword, newPassword));
}

void CUsimHelper::ChangeSimFixedDialingMemoryPassword(const std::string& oldPassword, const std::string& newPassword)
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
    if (m_assistor == nullptr)
        return;
    m_assistor->PinEntryResult(verdictOf(answer, false));
    if (cmeError(answer) == kSimNotInserted)
        m_assistor->SetSimCardAbsent(true);
}

// Switching the lock on or off verifies the PIN: a wrong one is a failed attempt.
void CUsimHelper::StartupOrClosePinResult(const std::string& answer) { CheckPinResult(answer); }

// The PIN change is how the PUK is entered, so its answer moves the PUK record.
void CUsimHelper::ChangePinResult(const std::string& answer)
{
    if (m_assistor == nullptr)
        return;
    m_assistor->PukEntryResult(verdictOf(answer, true));
    if (cmeError(answer) == kSimNotInserted)
        m_assistor->SetSimCardAbsent(true);
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
