#pragma once

#include <memory>
#include <string>

#include <boost/function.hpp>

#include <cellctl/framework/CAssistor.h>
#include <cellctl/framework/Export.h>
#include <cellctl/framework/ResultSignal.h>
#include <cellctl/mode/CCellCapabilityInfo.h>
#include <cellctl/mode/CMode.h>

class CModeHelper;
class PhoneLine;

// The host's view of the device's network mode: reads the current and power-on
// mode, switches modes, sets the power-on mode, and switches the HSDPA and
// cell-capability reports on or off. Every outcome arrives later through one of
// the callbacks below.
class CELLCTL_EXPORT CModeAssistor : public CAssistor {
public:
    // The flag is accepted for compatibility and has no effect.
    explicit CModeAssistor(bool flag = false);
    // Deletes the helper and its two mode records. The helper's slots are not
    // unbound: call ResetPhoneLine first while the PhoneLine lives.
    ~CModeAssistor() override;
    CModeAssistor(const CModeAssistor&) = delete;
    CModeAssistor& operator=(const CModeAssistor&) = delete;

    void SetPhoneLine(PhoneLine* line);
    void ResetPhoneLine();

    // Requests. Without a PhoneLine they do nothing. A null record is ignored.
    void QueryCurrentMode();
    void QueryPowerOnMode();
    void SwitchToMode(CMode* mode);
    void SetPowerOnMode(CMode* mode);
    void EnableHsdpaNotification(bool enable);
    void EnableCellCapabilityChangesReport(bool enable);

    // The last current mode reported, or null before the first answer. The
    // record is the helper's: the same pointer for the assistor's whole life,
    // rewritten by every later answer.
    CMode* GetCurrentMode() const { return m_currentMode; }

    // Kept for the interface; the mode answers are parsed by the helper.
    void ParseQueryModeResult(const std::string&) {}
    void ParseQueryPowerOnModeResult(const std::string&) {}

    // Result entry points, called by the helper (the host may call them too).
    void SetCurrentMode(CMode* mode);
    void SetCurrentPowerOnMode(CMode* mode);
    void SetSwitchModeResult(bool ok);
    void SetPowerOnModeResult(bool ok);
    void SetEnableHsdpaNotificationResult(bool ok);
    void SetEnableCellCapabilityChangesReport(bool ok);
    // Nothing in the library calls this: the device's HSDPA indication is
    // reported as cell-capability information instead.
    void SetHsdpaNotificationValue(bool value);
    void SetCellCapabilityChangesNotificationValue(const CCellCapabilityInfo& info);
    void SetCellCapability(const CCellCapabilityInfo& info);

    // Host callbacks. disconnect<Name> removes only the latest callback of its kind.
    void connectQueryModeResult(boost::function1<void, CMode*> callback);
    void disconnectQueryModeResult();
    void connectQueryPowerOnModeResult(boost::function1<void, CMode*> callback);
    void disconnectQueryPowerOnModeResult();
    void connectParseSwitchModeResult(boost::function1<void, bool> callback);
    void disconnectParseSwitchModeResult();
    void connectParsePowerOnModeResult(boost::function1<void, bool> callback);
    void disconnectParsePowerOnModeResult();
    void connectEnableHsdpaNotificationResult(boost::function1<void, bool> callback);
    void disconnectEnableHsdpaNotificationResult();
    void connectEnableCellCapabilityChangesReport(boost::function1<void, bool> callback);
    void disconnectEnableCellCapabilityChangesReport();
    void connectHsdpaNotificationResult(boost::function1<void, bool> callback);
    void disconnectHsdpaNotificationResult();
    void connectCellCapabilityChangesInfo(boost::function1<void, const CCellCapabilityInfo&> callback);
    void disconnectCellCapabilityChangesInfo();

private:
    CMode* m_currentMode;
    CMode* m_powerOnMode;
    // Created by the constructor; exists for the assistor's whole life.
    std::unique_ptr<CModeHelper> m_helper;

    cellctl::ResultSignal<CMode*> m_queryMode;
    cellctl::ResultSignal<CMode*> m_queryPowerOnMode;
    cellctl::ResultSignal<bool> m_switchMode;
    cellctl::ResultSignal<bool> m_powerOnModeResult;
    cellctl::ResultSignal<bool> m_enableHsdpaNotification;
    cellctl::ResultSignal<bool> m_enableCellCapabilityChangesReport;
    cellctl::ResultSignal<bool> m_hsdpaNotification;
    cellctl::ResultSignal<const CCellCapabilityInfo&> m_cellCapabilityChangesInfo;
};
