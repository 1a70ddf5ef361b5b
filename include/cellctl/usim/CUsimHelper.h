#pragma once

#include <string>

#include <cellctl/framework/CAtHelper.h>
#include <cellctl/framework/Export.h>
#include <cellctl/framework/PhoneLine.h>

class CUsimAssistor;

// Speaks to the PhoneLine for the SIM assistor: turns each SIM-security request
// into one command code with its parameter text, and hands the outcome of each
// answer to the assistor, which fires the host callbacks. Requests do nothing
// while no PhoneLine is attached; answers are dropped while no assistor is set.
class CELLCTL_EXPORT CUsimHelper : public CAtHelper {
public:
    // Borrows `assistor` (which normally owns this helper); it may be null.
    explicit CUsimHelper(CUsimAssistor* assistor);
    ~CUsimHelper() override;

    void SetAssistor(CUsimAssistor* assistor);

    void Initialize() override;

    // Requests. PINs and passwords are sent exactly as given.
    void QuerySimCardMode();
    void QueryPinStatus();
    void QueryAttemptRemainCount();
    void QueryIsPinStarted();
    // Unguarded: the attempt limit is enforced by the assistor's CheckPin.
    void CheckPin(const std::string& pin);
    void ChangePin(const std::string& first, const std::string& second);
    void StartupPin(const std::string& pin);
    void ClosePin(const std::string& pin);
    void ChangeLockSimCardPassword(const std::string& oldPassword, const std::string& newPassword);
    void ChangeSimFixedDialingMemoryPassword(const std::string& oldPassword, const std::string& newPassword);

    // Bound to the PhoneLine's result signals; codes not handled here are ignored.
    void querySlot(PhoneLine::QueryType code, const std::string& answer);
    void modifySlot(PhoneLine::QueryType code, const std::string& answer);

    // Answer handlers: each decides the outcome and reports it to the assistor.
    void CheckPinResult(const std::string& answer);
    void StartupOrClosePinResult(const std::string& answer);
    void ChangePinResult(const std::string& answer);
    void ChangeLockSimCardPasswordResult(const std::string& answer);
    void ChangePin2Result(const std::string& answer);
    void ParseSimCardResult(const std::string& answer);
    void SetStartPinResult(const std::string& answer);
    void SetAttemptRemainCountResult(const std::string& answer);

private:
    CUsimAssistor* m_assistor;
};
