#pragma once

#include <string>

#include <cellsim/ModemOptions.h>
#include <cellsim/Reply.h>

namespace cellsim {

enum class SimStatus { Ready, PinRequired, PukRequired, Absent, Blocked };

struct SimAttempts {
    int pin;
    int puk;
    int pin2;
    int puk2;
};

// The card: its PIN, PUK and PIN2 with their remaining attempts, and the PIN
// lock. A wrong PIN costs one of 3 attempts, the last one blocks the PIN (PUK
// needed); a wrong PUK costs one of 10, the last one kills the card.
class SimCard {
public:
    static constexpr int PinTries = 3;
    static constexpr int PukTries = 10;

    explicit SimCard(const ModemOptions& options);

    SimStatus status() const { return m_status; }
    bool lockEnabled() const { return m_lockEnabled; }
    bool usim() const { return m_usim; }
    SimAttempts attempts() const { return {m_pinTries, m_pukTries, m_pin2Tries, m_puk2Tries}; }
    // The +CPIN? status word: "READY", "SIM PIN" or "SIM PUK".
    std::string pinStatusWord() const;

    // The card is there and alive (10 when absent, 13 when dead).
    Outcome requirePresent() const;
    // The card is unlocked (also 11 while the PIN is asked, 12 while the PUK is).
    Outcome requireReady() const;

    Outcome enterPin(const std::string& pin);
    // Unblocks with the PUK and sets a new PIN; works while PIN or PUK is asked.
    Outcome enterPuk(const std::string& puk, const std::string& newPin);
    Outcome setPinLock(bool enable, const std::string& pin);
    Outcome changePin(const std::string& oldPin, const std::string& newPin);
    Outcome changePin2(const std::string& oldPin2, const std::string& newPin2);

    // The card restarts (device reset): the PIN is asked again when the lock is on.
    void restart();

private:
    bool verifyPin(const std::string& pin);

    SimStatus m_status;
    bool m_lockEnabled;
    bool m_usim;
    std::string m_pin;
    std::string m_puk;
    std::string m_pin2;
    int m_pinTries = PinTries;
    int m_pukTries = PukTries;
    int m_pin2Tries = PinTries;
    int m_puk2Tries = PukTries;
};

}  // namespace cellsim
