#pragma once

// Attempt bookkeeping for one SIM password: how many verifications have failed
// since the last success, and how many failures the card allows before it
// blocks the password. Internal to the SIM subsystem; the assistor owns one
// record for the PIN and one for the PUK.
//
// The counter always stays within 0..limit: a failure beyond the limit is
// recorded as the limit, so the remaining count never goes negative.
class CPassword {
public:
    virtual ~CPassword() = default;

    // A verification may be sent only while fewer than `limit` have failed.
    bool IsCheckAllowed() const { return m_checkCounter < m_checkLimit; }

    // Success clears the failures; a failure adds one, capped at the limit.
    void RecordResult(bool ok)
    {
        if (ok)
            m_checkCounter = 0;
        else if (m_checkCounter < m_checkLimit)
            ++m_checkCounter;
    }

    // The card blocked the password: no attempt is left.
    void RecordBlocked() { m_checkCounter = m_checkLimit; }
    // Attempts the card still allows, as reported to the host.
    int GetRemaining() const { return m_checkLimit - m_checkCounter; }

protected:
    explicit CPassword(int checkLimit) : m_checkCounter(0), m_checkLimit(checkLimit) {}

private:
    int m_checkCounter;
    int m_checkLimit;
};

// The card blocks its PIN after three wrong entries.
class CPinPassword : public CPassword {
public:
    CPinPassword() : CPassword(3) {}
};

// The card blocks itself for good after ten wrong PUK entries.
class CPukPassword : public CPassword {
public:
    CPukPassword() : CPassword(10) {}
};
