#pragma once

#include <string>

#include <cellctl/framework/Export.h>
#include <cellctl/framework/Signals.h>

// The host's command channel to the modem. The library sends numeric command
// codes (with a parameter text for set commands) and receives every answer as
// (code, answer text) on one of two signals: one for queries, one for
// modifications. A derived class decides how codes become AT commands.
class CELLCTL_EXPORT PhoneLine {
public:
    // Command codes. The underlying type is fixed, so any int is a valid
    // QueryType; codes without a name here are passed through unchanged.
    enum QueryType : int {
        RevisionIdentification = 3,               // query: revision
        SignalQualityGsm = 6,                     // query: GSM signal
        NetworkRegistration = 10,                 // query and report: registration status
        CurrentOperator = 11,                     // query current operator, modify: select operator
        AvailableOperators = 12,                  // query: network scan
        PinLock = 21,                             // query lock state, modify: PIN lock on/off
        SimLockPassword = 37,                     // modify: change the SIM lock password
        FixedDialingPassword = 50,                // modify: change the fixed-dialling (PIN2) password
        PinStatus = 62,                           // query: PIN/PUK state of the card
        EnterPin = 63,                            // modify: enter the PIN
        EnterPuk = 64,                            // modify: PUK and new PIN
        PreferredOperators = 93,                  // query list, modify: write or delete an entry
        PreferredSelector = 94,                   // query and modify: preferred-list selector
        ServiceMappingList = 111,                 // query
        UsimQos = 112,                            // modify: read the QoS stored on the USIM
        TestControlModeIndication = 113,          // modify
        ReportMobileTerminationError = 114,       // modify: +CMEE
        SignalQualityTd = 115,                    // query TD signal, modify: signal report mode
        PacketRegistrationReporting = 116,        // modify: packet-domain registration reports on
        PacketRegistration = 117,                 // report: packet-domain registration
        PacketAttach = 118,                       // modify: attach
        PacketDomainEventReporting = 119,         // modify: +CGEREP
        QualityOfService3G = 120,                 // query: profile read, modify: profile set
        PdpContext = 121,                         // modify: define context 1
        NetworkRegistrationReporting = 122,       // modify: registration reports on
        CharacterSet = 123,                       // modify: +CSCS
        EnableReadPhonebookByPf = 124,            // modify
        DisableReadPhonebookByPf = 125,           // modify
        PowerOn = 126,                            // modify: +CFUN=1,0
        PowerOff = 127,                           // modify: +CFUN=0,0
        SimCardMode = 128,                        // query: SIM card type / presence
        OperatorFormat = 130,                     // modify: +COPS=3,n
        NetworkMode = 132,                        // query current mode, modify: switch mode
        PowerOnMode = 133,                        // query and modify: mode used at power-on
        SupplementaryServiceNotifications = 134,  // modify: whole command line
        PhonebookReadyNotification = 135,         // modify
        CallingLineIdentification = 136,          // modify: whole command line
        CallProgressIndication = 137,             // modify: whole command line
        CellularResultCodes = 138,                // modify: whole command line
        CallStatusIndication = 139,               // modify: whole command line
        EmergencyNumbers = 140,                   // modify: whole command line
        SmsReadyNotification = 141,               // modify: "1" or a whole command line
        SmsService = 142,                         // modify: whole command line
        SmsMessageFormat = 143,                   // modify: whole command line
        NewMessageIndications = 144,              // modify: whole command line
        SmsStorageMemory = 145,                   // modify: whole command line
        SmsStorageSim = 146,                      // modify: whole command line
        NetworkModeChanged = 149,                 // report: the network mode changed
        PinAttemptsRemaining = 153,               // query: remaining PIN/PUK attempts
        HsdpaNotification = 156,                  // modify: HSDPA indications on/off
        CellCapabilityReporting = 157,            // modify: cell-capability reports on/off
        HsdpaIndication = 158,                    // report: HSDPA indication
        CellCapabilityReport = 159,               // report: cell capability
        SoftReset = 164,                          // modify: soft reset
        PhoneFunctionality = 165                  // query: +CFUN?
    };

    using ResultSlot = boost::function2<void, QueryType, const std::string&>;

    virtual ~PhoneLine();

    virtual void query(QueryType code) = 0;
    virtual void modify(QueryType code, const std::string& text) = 0;

    boost::signals::connection connectQueryResult(ResultSlot slot);
    boost::signals::connection connectModifyResult(ResultSlot slot);
    void disconnect(boost::signals::connection connection);

    // Implementations (and tests) hand answers in through these; each fires its signal.
    void deliverQueryResult(QueryType code, const std::string& text);
    void deliverModifyResult(QueryType code, const std::string& text);

private:
    cellctl::Signal<void(QueryType, const std::string&)> m_queryResult;
    cellctl::Signal<void(QueryType, const std::string&)> m_modifyResult;
};
