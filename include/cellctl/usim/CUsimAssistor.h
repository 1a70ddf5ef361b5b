#pragma once

#include <memory>
#include <string>

#include <cellctl/framework/CAssistor.h>
#include <cellctl/framework/Export.h>
#include <cellctl/framework/ResultSignal.h>
#include <cellctl/framework/Signals.h>

class CPinPassword;
class CPukPassword;
class CUsimHelper;
class PhoneLine;

// The host's handle on SIM security: whether the card waits for its PIN or PUK,
// PIN and PUK entry with attempt limits, the PIN lock, password changes, the
// remaining-attempt and lock-state queries, and absence of the card. Every
// outcome arrives later through the callbacks registered here.
//
// The helper and both password records live exactly as long as the assistor.
// Call ResetPhoneLine before destroying the assistor or its PhoneLine.
class CELLCTL_EXPORT CUsimAssistor : public CAssistor {
public:
    CUsimAssistor();
    CUsimAssistor(const CUsimAssistor&) = delete;
    CUsimAssistor& operator=(const CUsimAssistor&) = delete;
    ~CUsimAssistor() override;

    void SetPhoneLine(PhoneLine* line);
    void ResetPhoneLine();

    // Present for the interface only: they do nothing.
    void Activate();
    void DeActivate();
    void SetPinPassword(const std::string& password);
    // Sends nothing and always returns 0.
    int QueryUsimStatus();

    // Requests.
    void QuerySimCardMode();
    void QueryPinStatus();
    void QueryAttemptRemainCount();
    void QueryIsPinStarted();
    // Both go out as a PIN entry, and only while their record allows another
    // attempt; the answer is counted and reported as a PIN answer either way.
    void CheckPin(const std::string& pin);
    void CheckPuk(const std::string& text);
    // PUK (or old PIN) and new PIN; its answer moves the PUK record.
    void ChangePin(const std::string& first, const std::string& second);
    void StartupPin(const std::string& pin);
    void ClosePin(const std::string& pin);
    void ChangeLockSimCardPassword(const std::string& oldPassword, const std::string& newPassword);
    void ChangeSimFixedDialingMemoryPassword(const std::string& oldPassword, const std::string& newPassword);

    // Counters. Only a successful answer (or destruction) resets the records.
    int GetPinCheckCounterRemain() const;
    int GetPukCheckCounterRemain() const;
    std::string GetAttemptRemainCount() const;

    // How the card took a PIN or PUK entry, as the device's answer tells.
    enum PasswordVerdict {
        PasswordAccepted,  // success: the record is cleared
        PasswordWrong,     // a wrong password: one attempt used
        PasswordBlocked,   // the card now wants the next key: no attempts left
        PasswordNotTried   // refused before the card checked it: no attempt used
    };

    // Result entry points, called by the helper; each fires its callback kind.
    void SetNeedPinCheck(const std::string& status);
    void CheckPinResult(bool ok);
    void CheckPukResult(bool ok);
    // CheckPin (and, when blocked, NeedCheckPuk) with the record moved by the verdict.
    void PinEntryResult(PasswordVerdict verdict);
    // CheckPuk with the PUK record moved by the verdict.
    void PukEntryResult(PasswordVerdict verdict);
    void SetSimCardAbsent(bool absent);
    void SetAttemptRemainCountResult(const std::string& text);
    void SetStartPinResult(const std::string& text);
    void SetChangeLockSimCardPasswordResult(bool ok);
    void SetChangeSimFixedDialingMemoryPasswordResult(bool ok);

    // Host callbacks. connect… appends; disconnect… removes the latest one of its kind.
    void connectNeedCheckPinResult(boost::function1<void, bool> f);
    void disconnectNeedCheckPinResult();
    void connectNeedCheckPukResult(boost::function1<void, bool> f);
    void disconnectNeedCheckPukResult();
    void connectCheckPinResult(boost::function2<void, bool, int> f);
    void disconnectCheckPinResult();
    void connectCheckPukResult(boost::function2<void, bool, int> f);
    void disconnectCheckPukResult();
    void connectQuerySimCardExistResult(boost::function1<void, bool> f);
    void disconnectQuerySimCardExistResult();
    void connectQueryAttemptRemain(boost::function1<void, std::string> f);
    void disconnectQueryAttemptRemain();
    void connectQueryIsPinStarted(boost::function1<void, std::string> f);
    void disconnectQueryIsPinStarted();
    void connectChangeLockSimCardPassword(boost::function1<void, bool> f);
    void disconnectChangeLockSimCardPassword();
    void connectChangeSimFixedDialingMemoryPassword(boost::function1<void, bool> f);
    void disconnectChangeSimFixedDialingMemoryPassword();

private:
    const std::unique_ptr<CPinPassword> m_pinPassword;
    const std::unique_ptr<CPukPassword> m_pukPassword;
    const std::unique_ptr<CUsimHelper> m_helper;

    cellctl::ResultSignal<bool> m_querySimCardExist;          // true: the card is absent
    cellctl::ResultSignal<bool, int> m_checkPuk;              // verdict, PUK attempts left
    cellctl::ResultSignal<bool, int> m_checkPin;              // verdict, PIN attempts left
    cellctl::ResultSignal<bool> m_needCheckPin;               // true: PIN wanted, false: ready
    cellctl::ResultSignal<bool> m_needCheckPuk;               // always true: PUK wanted
    cellctl::ResultSignal<std::string> m_queryAttemptRemain;  // raw answer
    cellctl::ResultSignal<std::string> m_queryIsPinStarted;   // raw answer
    cellctl::ResultSignal<bool> m_changeLockSimCardPassword;
    cellctl::ResultSignal<bool> m_changeSimFixedDialingMemoryPassword;

    std::string m_attemptRemainCount;
};
