#include <cellsim/SimCard.h>

#include <algorithm>

namespace cellsim {
namespace {

// A PIN or PUK a card accepts as a new value: 4 to 8 digits.
bool validPassword(const std::string& text)
{
    return text.size() >= 4 && text.size() <= 8 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

SimStatus startStatus(SimStart start)
{
    switch (start) {
    case SimStart::Ready:
        return SimStatus::Ready;
    case SimStart::PinLocked:
        return SimStatus::PinRequired;
    case SimStart::PukBlocked:
        return SimStatus::PukRequired;
    case SimStart::Absent:
        return SimStatus::Absent;
    }
    return SimStatus::Ready;
}

}  // namespace

SimCard::SimCard(const ModemOptions& options)
    : m_status(startStatus(options.sim)),
      m_lockEnabled(options.sim == SimStart::PinLocked || options.sim == SimStart::PukBlocked),
      m_usim(options.usim),
      m_pin(options.pin),
      m_puk(options.puk),
      m_pin2(options.pin2)
{
    if (m_status == SimStatus::PukRequired) {
        m_pinTries = 0;
    }
}

std::string SimCard::pinStatusWord() const
{
    switch (m_status) {
    case SimStatus::PinRequired:
        return "SIM PIN";
    case SimStatus::PukRequired:
        return "SIM PUK";
    default:
        return "READY";
    }
}

Outcome SimCard::requirePresent() const
{
    if (m_status == SimStatus::Absent) {
        return CmeError::SimNotInserted;
    }
    if (m_status == SimStatus::Blocked) {
        return CmeError::SimFailure;
    }
    return std::nullopt;
}

Outcome SimCard::requireReady() const
{
    if (auto refused = requirePresent()) {
        return refused;
    }
    if (m_status == SimStatus::PinRequired) {
        return CmeError::SimPinRequired;
    }
    if (m_status == SimStatus::PukRequired) {
        return CmeError::SimPukRequired;
    }
    return std::nullopt;
}

bool SimCard::verifyPin(const std::string& pin)
{
    if (pin == m_pin) {
        m_pinTries = PinTries;
        return true;
    }
    if (--m_pinTries <= 0) {
        m_pinTries = 0;
        m_status = SimStatus::PukRequired;
    }
    return false;
}

Outcome SimCard::enterPin(const std::string& pin)
{
    if (auto refused = requirePresent()) {
        return refused;
    }
    if (m_status == SimStatus::PukRequired) {
        return CmeError::SimPukRequired;
    }
    if (m_status == SimStatus::Ready) {
        return CmeError::OperationNotAllowed;
    }
    if (!verifyPin(pin)) {
        return CmeError::IncorrectPassword;
    }
    m_status = SimStatus::Ready;
    return std::nullopt;
}

Outcome SimCard::enterPuk(const std::string& puk, const std::string& newPin)
{
    if (auto refused = requirePresent()) {
        return refused;
    }
    if (m_status == SimStatus::Ready) {
        return CmeError::OperationNotAllowed;
    }
    if (!validPassword(newPin)) {
        return CmeError::IncorrectParameters;
    }
    if (puk != m_puk) {
        if (--m_pukTries <= 0) {
            m_pukTries = 0;
            m_status = SimStatus::Blocked;
        }
        return CmeError::IncorrectPassword;
    }
    m_pin = newPin;
    m_pinTries = PinTries;
    m_pukTries = PukTries;
    m_lockEnabled = true;
    m_status = SimStatus::Ready;
    return std::nullopt;
}

Outcome SimCard::setPinLock(bool enable, const std::string& pin)
{
    if (auto refused = requireReady()) {
        return refused;
    }
    if (!verifyPin(pin)) {
        return CmeError::IncorrectPassword;
    }
    m_lockEnabled = enable;
    return std::nullopt;
}

Outcome SimCard::changePin(const std::string& oldPin, const std::string& newPin)
{
    if (auto refused = requireReady()) {
        return refused;
    }
    if (!validPassword(newPin)) {
        return CmeError::IncorrectParameters;
    }
    if (!verifyPin(oldPin)) {
        return CmeError::IncorrectPassword;
    }
    m_pin = newPin;
    return std::nullopt;
}

Outcome SimCard::changePin2(const std::string& oldPin2, const std::string& newPin2)
{
    if (auto refused = requireReady()) {
        return refused;
    }
    if (m_pin2Tries == 0) {
        return CmeError::SimPuk2Required;
    }
    if (!validPassword(newPin2)) {
        return CmeError::IncorrectParameters;
    }
    if (oldPin2 != m_pin2) {
        --m_pin2Tries;
        return CmeError::IncorrectPassword;
    }
    m_pin2Tries = PinTries;
    m_pin2 = newPin2;
    return std::nullopt;
}

void SimCard::restart()
{
    if (m_status == SimStatus::Ready && m_lockEnabled) {
        m_status = SimStatus::PinRequired;
    }
}

}  // namespace cellsim
