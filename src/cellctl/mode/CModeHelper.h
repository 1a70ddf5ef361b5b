#pragma once

#include <string>

#include <cellctl/framework/CAtHelper.h>
#include <cellctl/framework/PhoneLine.h>
#include <cellctl/mode/CMode.h>

class CModeAssistor;

// Speaks the network-mode commands to the PhoneLine and parses their answers
// and the unsolicited mode, HSDPA and cell-capability reports. It keeps the two
// records (current mode, power-on mode) whose addresses the assistor hands to
// the host: they live as long as the helper and every answer rewrites them.
class CModeHelper : public CAtHelper {
public:
    explicit CModeHelper(CModeAssistor* assistor);
    ~CModeHelper() override;
    CModeHelper(const CModeHelper&) = delete;
    CModeHelper& operator=(const CModeHelper&) = delete;

    void Initialize() override { bindSlots(this); }

    // Requests; each does nothing without a PhoneLine. The record is read
    // during the call only.
    void SwitchToMode(const CMode& mode);
    void SetPowerOnMode(const CMode& mode);
    void EnableHsdpaNotification(bool enable);
    void EnableCellCapabilityChangesReport(bool enable);
    void QueryCurrentMode();
    void QueryPowerOnMode();

    void querySlot(PhoneLine::QueryType code, const std::string& answer);
    void modifySlot(PhoneLine::QueryType code, const std::string& answer);

    void ParseCurrentMode(const std::string& answer);
    void ParsePowerOnMode(const std::string& answer);
    void ParseSwitchModeResult(const std::string& answer);
    void ParsePowerOnModeResult(const std::string& answer);
    void ParseModeChangeReport(const std::string& answer);
    void ParseEnableHsdpaNotificationResult(const std::string& answer);
    void ParseEnableCellCapabilityChangesReportResult(const std::string& answer);
    void ParseHsdpaIndication(const std::string& answer);
    void ParseCellCapabilityInfo(const std::string& answer);

private:
    CModeAssistor* m_assistor;
    CMode m_currentMode;
    CMode m_powerOnMode;
};
