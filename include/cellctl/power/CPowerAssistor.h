#pragma once

#include <memory>
#include <string>

#include <boost/function.hpp>

#include <cellctl/framework/CAssistor.h>
#include <cellctl/framework/Export.h>
#include <cellctl/framework/ResultSignal.h>
#include <cellctl/power/CPowerHelper.h>

class CCopsAssistor;
class CModeAssistor;
class CUsimAssistor;
class PhoneLine;

// The host's entry point for the radio's power state: power on with the
// set-up that follows it, power off, soft reset, signal level (GSM or TD by
// the current network mode), registration and the current operator. It owns
// its CPowerHelper and borrows the SIM, operator and mode assistors, through
// which it sends the commands those areas own (their answers are reported by
// those assistors). Every result arrives later through a callback.
class CELLCTL_EXPORT CPowerAssistor : public CAssistor {
public:
    // The three assistors are borrowed and may be null; the commands that need
    // a missing one are skipped.
    explicit CPowerAssistor(CUsimAssistor* usim = nullptr, CCopsAssistor* cops = nullptr,
                            CModeAssistor* mode = nullptr);
    // Deletes the helper without detaching it: call ResetPhoneLine first while
    // the PhoneLine lives.
    ~CPowerAssistor() override;
    CPowerAssistor(const CPowerAssistor&) = delete;
    CPowerAssistor& operator=(const CPowerAssistor&) = delete;

    virtual void SetupFeature();
    virtual void PowerOn();
    virtual void PowerOff();

    void SetPhoneLine(PhoneLine* line);
    void ResetPhoneLine();
    // Makes `helper` the owned helper. The helper held before is deleted
    // (unless it is `helper` itself), which unbinds its slots from its
    // PhoneLine; `helper` is used as given: attach it with SetPhoneLine.
    void SetPowerHelp(CPowerHelper* helper);
    CPowerHelper* GetPowerHelp() const { return m_helper.get(); }

    void SetSupportDualMode(bool support) { m_supportDualMode = support; }
    bool GetSupportDualMode() const { return m_supportDualMode; }

    void SoftReset();
    void QuerySignal();
    void QueryCregStatus();
    // Sent through the operator assistor, which parses and reports the answer.
    void QueryCops();

    // Result entry points, called by the helper (the host may call them too).
    void ParsePowerOnResult(const std::string& answer);
    void ParsePowerOffResult(const std::string& answer);
    void ParseSoftResetResult(const std::string& answer);
    void ParseDisableReadPbByPfResult(const std::string& answer);
    void ParseQuerySignalGsmResult(const std::string& answer);
    void ParseQuerySignalTdResult(const std::string& answer);
    void ParseCregResult(const std::string& answer);
    void ParseCopsResult(const std::string& answer);
    void ParseQueryPowerOnStatusResult(bool on);

    // Host callbacks. disconnect<Name> removes only the latest callback of its kind.
    void connectPowerOnResult(boost::function1<void, bool> callback);
    void disconnectPowerOnResult();
    void connectPowerOffResult(boost::function1<void, bool> callback);
    void disconnectPowerOffResult();
    void connectSoftResetResult(boost::function1<void, bool> callback);
    void disconnectSoftRestResult();
    void connectDisableReadPbByPfResult(boost::function1<void, bool> callback);
    void disconnectDisableReadPbByPfResult();
    void connectQueryPowerOnResult(boost::function1<void, bool> callback);
    void disconnectQueryPowerOnResult();
    // (access technology: 0 GSM, 2 TD; level)
    void connectQuerySignalResult(boost::function2<void, int, int> callback);
    void disconnectQuerySignalResult();
    // Every registration answer, queried or reported.
    void connectRegistrationResult(boost::function1<void, int> callback);
    void disconnectRegistrationResult();
    // Fired only by ParseCopsResult; the operator assistor reports QueryCops.
    void connectQueryCopsResult(boost::function1<void, std::string> callback);
    void disconnectQueryCopsResult();
    // Never fired: answers to QueryCregStatus arrive through RegistrationResult.
    void connectQueryCregStatusResult(boost::function1<void, int> callback);
    void disconnectQueryCregStatusResult();

protected:
    std::unique_ptr<CPowerHelper> m_helper;
    CCopsAssistor* m_copsAssistor;
    CUsimAssistor* m_usimAssistor;
    CModeAssistor* m_modeAssistor;

private:
    cellctl::ResultSignal<bool> m_powerOn;
    cellctl::ResultSignal<bool> m_powerOff;
    cellctl::ResultSignal<int, int> m_querySignal;
    cellctl::ResultSignal<int> m_registration;
    cellctl::ResultSignal<std::string> m_queryCops;
    cellctl::ResultSignal<bool> m_softReset;
    cellctl::ResultSignal<bool> m_queryPowerOn;
    cellctl::ResultSignal<int> m_queryCregStatus;
    cellctl::ResultSignal<bool> m_disableReadPbByPf;
    bool m_supportDualMode;
};
