#include <gtest/gtest.h>

#include <vector>

#include <cellctl/power/CPowerHelper.h>

#include "RecordingPhoneLine.h"

namespace {

using cellctl::test::RecordingPhoneLine;
using Commands = std::vector<RecordingPhoneLine::Command>;

struct CommandCase {
    const char* method;
    void (CPowerHelper::*send)();
    RecordingPhoneLine::Command expected;
};

RecordingPhoneLine::Command query(int code) { return RecordingPhoneLine::Query(code); }
RecordingPhoneLine::Command modify(int code, const char* text) { return RecordingPhoneLine::Modify(code, text); }

// Every command method with the one command it sends.
const CommandCase kCommands[] = {
    {"RequestRevisionIdentification", &CPowerHelper::RequestRevisionIdentification, query(3)},
    {"QuerySignalGsm", &CPowerHelper::QuerySignalGsm, query(6)},
    {"QueryCregStatus", &CPowerHelper::QueryCregStatus, query(10)},
    {"EnableTestControlModeIndication", &CPowerHelper::EnableTestControlModeIndication, modify(113, "1")},
    {"EnableReportMobileTerminationError", &CPowerHelper::EnableReportMobileTerminationError, modify(114, "1")},
    {"SetQueryCurrentSignalMode", &CPowerHelper::SetQueryCurrentSignalMode, modify(115, "0")},
    {"QuerySignalTd", &CPowerHelper::QuerySignalTd, query(115)},
    {"EnableNetworkRegistrationStatus", &CPowerHelper::EnableNetworkRegistrationStatus, modify(116, "1")},
    {"EnablePacketDomainEventReporting", &CPowerHelper::EnablePacketDomainEventReporting, modify(119, "2,1")},
    {"EnableNetworkRegistrationReporting", &CPowerHelper::EnableNetworkRegistrationReporting, modify(122, "1")},
    {"SetTECharacterSet", &CPowerHelper::SetTECharacterSet, modify(123, "\"HEX\"")},
    {"EnableReadPbByPf", &CPowerHelper::EnableReadPbByPf, modify(124, "1")},
    {"DisableReadPbByPf", &CPowerHelper::DisableReadPbByPf, modify(125, "0")},
    {"SetPhoneFunctionality", &CPowerHelper::SetPhoneFunctionality, modify(126, "1,0")},
    {"ResetPhoneFunctionality", &CPowerHelper::ResetPhoneFunctionality, modify(127, "0,0")},
    {"SetPLMNFormat", &CPowerHelper::SetPLMNFormat, modify(130, "3,2")},
    {"GetAccessTechnologyMode", &CPowerHelper::GetAccessTechnologyMode, query(132)},
    {"EnalbeSupplementaryServiceNotifications", &CPowerHelper::EnalbeSupplementaryServiceNotifications,
     modify(134, "AT+CSSN=1,1")},
    {"EnablePhonebookReadyNotification", &CPowerHelper::EnablePhonebookReadyNotification, modify(135, "1")},
    {"EnableCallingLineIdentificationPresentation", &CPowerHelper::EnableCallingLineIdentificationPresentation,
     modify(136, "AT+CLIP=1")},
    {"EnablePhoneCallProgressIndication", &CPowerHelper::EnablePhoneCallProgressIndication, modify(137, "AT^DCPI=1")},
    {"EnableCellularResultCodes", &CPowerHelper::EnableCellularResultCodes, modify(138, "AT+CRC=1")},
    {"EnableCallStatusIndication", &CPowerHelper::EnableCallStatusIndication, modify(139, "AT^DSCI=1")},
    {"ReadEmergencyNumber", &CPowerHelper::ReadEmergencyNumber, modify(140, "AT^DPBE")},
    {"EnableSmsReadyNotification", &CPowerHelper::EnableSmsReadyNotification, modify(141, "1")},
    {"EnableSMSReadyNotification", &CPowerHelper::EnableSMSReadyNotification, modify(141, "AT^DSMN=1")},
    {"SelectSmsService", &CPowerHelper::SelectSmsService, modify(142, "AT+CGSMS=1")},
    {"SelectSmsMessageFormat", &CPowerHelper::SelectSmsMessageFormat, modify(143, "AT+CMGF=0")},
    {"EnableNewMessageIndicationsToTE", &CPowerHelper::EnableNewMessageIndicationsToTE,
     modify(144, "AT+CNMI=2,1,0,2,0")},
    {"SetPreferredSMSStorageMemory", &CPowerHelper::SetPreferredSMSStorageMemory, modify(145, "AT+CPMS=ME,ME,ME")},
    {"SetPreferredSMSStorageSim", &CPowerHelper::SetPreferredSMSStorageSim, modify(146, "AT+CPMS=SM,SM,SM")},
    {"SoftReset", &CPowerHelper::SoftReset, modify(164, "")},
    {"QueryPhoneFunctionality", &CPowerHelper::QueryPhoneFunctionality, query(165)},
};

TEST(PowerHelperCommands, EachMethodSendsExactlyItsCommand)
{
    RecordingPhoneLine line;
    CPowerHelper helper(nullptr);
    helper.SetPhoneLine(&line);
    for (const CommandCase& command : kCommands) {
        line.clear();
        (helper.*command.send)();
        EXPECT_EQ(line.sent(), Commands{command.expected}) << command.method;
    }
}

TEST(PowerHelperCommands, WithoutAPhoneLineEveryCommandIsDropped)
{
    CPowerHelper helper(nullptr);
    for (const CommandCase& command : kCommands)
        (helper.*command.send)();
    // attached afterwards, nothing was kept back to be sent late
    RecordingPhoneLine line;
    helper.SetPhoneLine(&line);
    helper.Initialize();
    EXPECT_TRUE(line.sent().empty());
    helper.UnInitialize();
}

TEST(PowerHelperCommands, SimQueriesBelongToTheSimAssistor)
{
    RecordingPhoneLine line;
    CPowerHelper helper(nullptr);
    helper.SetPhoneLine(&line);
    helper.QueryPinStatus();
    helper.QuerySimCardMode();
    EXPECT_TRUE(line.sent().empty());
}

}  // namespace
