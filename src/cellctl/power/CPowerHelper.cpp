#include <cellctl/power/CPowerHelper.h>

#include <cellctl/framework/AtResponseParser.h>
#include <cellctl/power/CPowerAssistor.h>

CPowerHelper::CPowerHelper(CPowerAssistor* assistor) : m_powerAssistor(assistor) {}

CPowerHelper::~CPowerHelper() = default;

// The commands. Texts that start with "AT" are whole command lines: the
// PhoneLine sends them as they are.
void CPowerHelper::RequestRevisionIdentification() { sendQuery(PhoneLine::RevisionIdentification); }
void CPowerHelper::QuerySignalGsm() { sendQuery(PhoneLine::SignalQualityGsm); }
void CPowerHelper::QueryCregStatus() { sendQuery(PhoneLine::NetworkRegistration); }
void CPowerHelper::EnableTestControlModeIndication() { sendModify(PhoneLine::TestControlModeIndication, "1"); }
void CPowerHelper::EnableReportMobileTerminationError() { sendModify(PhoneLine::ReportMobileTerminationError, "1"); }
void CPowerHelper::SetQueryCurrentSignalMode() { sendModify(PhoneLine::SignalQualityTd, "0"); }
void CPowerHelper::QuerySignalTd() { sendQuery(PhoneLine::SignalQualityTd); }
void CPowerHelper::EnableNetworkRegistrationStatus() { sendModify(PhoneLine::PacketRegistrationReporting, "1"); }
void CPowerHelper::EnablePacketDomainEventReporting() { sendModify(PhoneLine::PacketDomainEventReporting, "2,1"); }
void CPowerHelper::EnableNetworkRegistrationReporting() { sendModify(PhoneLine::NetworkRegistrationReporting, "1"); }
void CPowerHelper::SetTECharacterSet() { sendModify(PhoneLine::CharacterSet, "\"HEX\""); }
void CPowerHelper::EnableReadPbByPf() { sendModify(PhoneLine::EnableReadPhonebookByPf, "1"); }
void CPowerHelper::DisableReadPbByPf() { sendModify(PhoneLine::DisableReadPhonebookByPf, "0"); }
void CPowerHelper::SetPhoneFunctionality() { sendModify(PhoneLine::PowerOn, "1,0"); }
void CPowerHelper::ResetPhoneFunctionality() { sendModify(PhoneLine::PowerOff, "0,0"); }
void CPowerHelper::SetPLMNFormat() { sendModify(PhoneLine::OperatorFormat, "3,2"); }
void CPowerHelper::GetAccessTechnologyMode() { sendQuery(PhoneLine::NetworkMode); }
void CPowerHelper::EnalbeSupplementaryServiceNotifications()
{
    sendModify(PhoneLine::SupplementaryServiceNotifications, "AT+CSSN=1,1");
}
void CPowerHelper::EnablePhonebookReadyNotification() { sendModify(PhoneLine::PhonebookReadyNotification, "1"); }
// +CLIP=1: only the calling-line presentation, never a change of the radio state.
void CPowerHelper::EnableCallingLineIdentificationPresentation()
{
    sendModify(PhoneLine::CallingLineIdentification, "AT+CLIP=1");
}
void CPowerHelper::EnablePhoneCallProgressIndication() { sendModify(PhoneLine::CallProgressIndication, "AT^DCPI=1"); }
void CPowerHelper::EnableCellularResultCodes() { sendModify(PhoneLine::CellularResultCodes, "AT+CRC=1"); }
void CPowerHelper::EnableCallStatusIndication() { sendModify(PhoneLine::CallStatusIndication, "AT^DSCI=1"); }
void CPowerHelper::ReadEmergencyNumber() { sendModify(PhoneLine::EmergencyNumbers, "AT^DPBE"); }
void CPowerHelper::EnableSmsReadyNotification() { sendModify(PhoneLine::SmsReadyNotification, "1"); }
void CPowerHelper::EnableSMSReadyNotification() { sendModify(PhoneLine::SmsReadyNotification, "AT^DSMN=1"); }
void CPowerHelper::SelectSmsService() { sendModify(PhoneLine::SmsService, "AT+CGSMS=1"); }
void CPowerHelper::SelectSmsMessageFormat() { sendModify(PhoneLine::SmsMessageFormat, "AT+CMGF=0"); }
void CPowerHelper::EnableNewMessageIndicationsToTE()
{
    sendModify(PhoneLine::NewMessageIndications, "AT+CNMI=2,1,0,2,0");
}
void CPowerHelper::SetPreferredSMSStorageMemory() { sendModify(PhoneLine::SmsStorageMemory, "AT+CPMS=ME,ME,ME"); }
void CPowerHelper::SetPreferredSMSStorageSim() { sendModify(PhoneLine::SmsStorageSim, "AT+CPMS=SM,SM,SM"); }
void CPowerHelper::SoftReset() { sendModify(PhoneLine::SoftReset, std::string()); }
void CPowerHelper::QueryPhoneFunctionality() { sendQuery(PhoneLine::PhoneFunctionality); }

void CPowerHelper::querySlot(PhoneLine::QueryType code, const std::string& answer)
{
    switch (code) {
    case PhoneLine::SignalQualityGsm:
        ParseQuerySignalGsmResult(answer);
        break;
    case PhoneLine::NetworkRegistration:
        ParseCregResult(answer);
        break;
    case PhoneLine::SignalQualityTd:
        ParseQuerySignalTdResult(answer);
        break;
    case PhoneLine::PhoneFunctionality:
        ParseQueryPowerOnStatusResult(answer);
        break;
    default:
        break;
    }
}

void CPowerHelper::modifySlot(PhoneLine::QueryType code, const std::string& answer)
{
    switch (code) {
    // Registration reports arrive unasked on the modify signal.
    case PhoneLine::NetworkRegistration:
        ParseCregResult(answer);
        break;
    case PhoneLine::DisableReadPhonebookByPf:
        ParseDisableReadPbByPfResult(answer);
        break;
    case PhoneLine::PowerOn:
        ParsePowerOnResult(answer);
        break;
    case PhoneLine::PowerOff:
        ParsePowerOffResult(answer);
        break;
    case PhoneLine::SoftReset:
        ParseSoftResetResult(answer);
        break;
    default:
        break;
    }
}

void CPowerHelper::ParsePowerOnResult(const std::string& answer)
{
    if (m_powerAssistor != nullptr)
        m_powerAssistor->ParsePowerOnResult(answer);
}

void CPowerHelper::ParsePowerOffResult(const std::string& answer)
{
    if (m_powerAssistor != nullptr)
        m_powerAssistor->ParsePowerOffResult(answer);
}

void CPowerHelper::ParseDisableReadPbByPfResult(const std::string& answer)
{
    if (m_powerAssistor != nullptr)
        m_powerAssistor->ParseDisableReadPbByPfResult(answer);
}

void CPowerHelper::ParseSoftResetResult(const std::string& answer)
{
    if (m_powerAssistor != nullptr)
        m_powerAssistor->ParseSoftResetResult(answer);
}

void CPowerHelper::ParseQuerySignalGsmResult(const std::string& answer)
{
    if (m_powerAssistor != nullptr)
        m_powerAssistor->ParseQuerySignalGsmResult(answer);
}

void CPowerHelper::ParseQuerySignalTdResult(const std::string& answer)
{
    if (m_powerAssistor != nullptr)
        m_powerAssistor->ParseQuerySignalTdResult(answer);
}

void CPowerHelper::ParseCregResult(const std::string& answer)
{
    if (m_powerAssistor != nullptr)
        m_powerAssistor->ParseCregResult(answer);
}

void CPowerHelper::ParseCopsResult(const std::string& answer)
{
    if (m_powerAssistor != nullptr)
        m_powerAssistor->ParseCopsResult(answer);
}

void CPowerHelper::ParseQueryPowerOnStatusResult(const std::string& answer)
{
    if (m_powerAssistor == nullptr)
        return;
    cellctl::AtResponseParser parser(cellctl::AtResponse{answer});
    // Without a "+CFUN: " line the number is read from the last line, so a
    // bare "OK" or an empty answer reads as off.
    parser.findLine("+CFUN: ");
    m_powerAssistor->ParseQueryPowerOnStatusResult(parser.readInt() != 0);
}
