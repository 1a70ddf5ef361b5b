#pragma once

#include <string>

#include <cellctl/framework/CAtHelper.h>
#include <cellctl/framework/Export.h>
#include <cellctl/framework/PhoneLine.h>
#include <cellctl/framework/Signals.h>

class CPowerAssistor;

// Speaks the power, reporting, SMS/phonebook set-up, reset, signal and
// registration commands to the PhoneLine, and hands the answers to its own
// codes to the power assistor. Every command method is public so the host can
// send any of them directly; each does nothing while no PhoneLine is set.
class CELLCTL_EXPORT CPowerHelper : public CAtHelper, public boost::signals::trackable {
public:
    explicit CPowerHelper(CPowerAssistor* assistor);
    CPowerHelper(const CPowerHelper&) = default;
    CPowerHelper& operator=(const CPowerHelper&) = default;
    ~CPowerHelper() override;

    void Initialize() override { bindSlots(this); }

    // Commands whose behaviour a device-specific helper may change.
    virtual void EnableTestControlModeIndication();  // modify 113 "1"
    virtual void SetQueryCurrentSignalMode();        // modify 115 "0"
    virtual void QuerySimCardMode() {}               // sends nothing here

    void SetPowerAssistor(CPowerAssistor* assistor) { m_powerAssistor = assistor; }
    CPowerAssistor* GetPowerAssistor() const { return m_powerAssistor; }

    void RequestRevisionIdentification();                // query 3
    void QuerySignalGsm();                               // query 6
    void QueryCregStatus();                              // query 10
    void EnableReportMobileTerminationError();           // modify 114 "1"
    void QuerySignalTd();                                // query 115
    void EnableNetworkRegistrationStatus();              // modify 116 "1"
    void EnablePacketDomainEventReporting();             // modify 119 "2,1"
    void EnableNetworkRegistrationReporting();           // modify 122 "1"
    void SetTECharacterSet();                            // modify 123 "\"HEX\""
    void EnableReadPbByPf();                             // modify 124 "1"
    void DisableReadPbByPf();                            // modify 125 "0"
    void SetPhoneFunctionality();                        // modify 126 "1,0": radio on
    void ResetPhoneFunctionality();                      // modify 127 "0,0": radio off
    void SetPLMNFormat();                                // modify 130 "3,2"
    void GetAccessTechnologyMode();                      // query 132 (answer parsed by the mode helper)
    void EnalbeSupplementaryServiceNotifications();      // modify 134, whole command line
    void EnablePhonebookReadyNotification();             // modify 135 "1"
    void EnableCallingLineIdentificationPresentation();  // modify 136, whole command line
    void EnablePhoneCallProgressIndication();            // modify 137, whole command line
    void EnableCellularResultCodes();                    // modify 138, whole command line
    void EnableCallStatusIndication();                   // modify 139, whole command line
    void ReadEmergencyNumber();                          // modify 140, whole command line
    void EnableSmsReadyNotification();                   // modify 141 "1"
    void EnableSMSReadyNotification();                   // modify 141, whole command line
    void SelectSmsService();                             // modify 142, whole command line
    void SelectSmsMessageFormat();                       // modify 143, whole command line
    void EnableNewMessageIndicationsToTE();              // modify 144, whole command line
    void SetPreferredSMSStorageMemory();                 // modify 145, whole command line
    void SetPreferredSMSStorageSim();                    // modify 146, whole command line
    void SoftReset();                                    // modify 164, empty text
    void QueryPhoneFunctionality();                      // query 165
    void QueryPinStatus() {}                             // sends nothing: the SIM assistor owns it

    void querySlot(PhoneLine::QueryType code, const std::string& answer);
    void modifySlot(PhoneLine::QueryType code, const std::string& answer);

    // Parsers: each hands its result to the assistor, and does nothing without one.
    void ParsePowerOnResult(const std::string& answer);
    void ParsePowerOffResult(const std::string& answer);
    void ParseDisableReadPbByPfResult(const std::string& answer);
    void ParseSoftResetResult(const std::string& answer);
    void ParseQuerySignalGsmResult(const std::string& answer);
    void ParseQuerySignalTdResult(const std::string& answer);
    void ParseCregResult(const std::string& answer);
    // No answer code leads here; kept for hosts that read the operator name themselves.
    void ParseCopsResult(const std::string& answer);
    // True when the "+CFUN: " line (or, lacking one, the last line) starts with a non-zero number.
    void ParseQueryPowerOnStatusResult(const std::string& answer);

private:
    CPowerAssistor* m_powerAssistor;
};
