#include <cellctl/at/Dialect.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include <cellctl/framework/PhoneLine.h>
#include <cellctl/text/Comparison.h>

namespace cellctl::at {
namespace {

using namespace std::chrono_literals;

constexpr CommandForm none{LineForm::Unavailable, nullptr, nullptr, Shaping::AsIs};

constexpr CommandForm ask(const char* line, const char* prefix, Shaping shaping = Shaping::AsIs)
{
    return {LineForm::Fixed, line, prefix, shaping};
}

constexpr CommandForm set(const char* head, const char* prefix = nullptr, Shaping shaping = Shaping::AsIs)
{
    return {LineForm::Argument, head, prefix, shaping};
}

constexpr CommandForm form(LineForm lineForm, const char* head) { return {lineForm, head, nullptr, Shaping::AsIs}; }

// A command the device takes longer than most to answer.
constexpr CommandForm slow(CommandForm command, std::chrono::seconds timeout)
{
    command.timeout = timeout;
    return command;
}

// A command whose final result some firmware leaves out after the
// information line: the line is the answer once `grace` has passed.
constexpr CommandForm finalResultOptional(CommandForm command, std::chrono::seconds grace)
{
    command.finalGrace = grace;
    return command;
}

constexpr DialectEntry entry(int code, CommandForm query, CommandForm modify)
{
    return {code, query, modify, nullptr, ReportShaping::None};
}

constexpr DialectEntry report(int code, const char* prefix, ReportShaping shaping)
{
    return {code, none, none, prefix, shaping};
}

constexpr CommandForm wholeLine = form(LineForm::WholeLine, nullptr);

using Code = PhoneLine;

// Sorted by code.
constexpr DialectEntry kDialect[] = {
    entry(Code::RevisionIdentification, ask("AT+CGMR", ""), none),
    entry(Code::SignalQualityGsm, ask("AT+CSQ", "+CSQ:", Shaping::SignalQuality), none),
    {Code::NetworkRegistration, ask("AT+CREG?", "+CREG:", Shaping::RegistrationRead), none,
     "+CREG:", ReportShaping::Registration},
    entry(Code::CurrentOperator, ask("AT+COPS?", "+COPS:", Shaping::CurrentOperator),
          slow(form(LineForm::OperatorSelection, "AT+COPS="), 120s)),
    entry(Code::AvailableOperators, slow(ask("AT+COPS=?", "+COPS:", Shaping::OperatorScan), 300s), none),
    entry(Code::PinLock, ask("AT+CLCK=\"SC\",2", "+CLCK:"), set("AT+CLCK=\"SC\",")),
    entry(Code::SimLockPassword, none, set("AT+CPWD=\"SC\",")),
    entry(Code::FixedDialingPassword, none, set("AT+CPWD=\"P2\",")),
    entry(Code::PinStatus, finalResultOptional(slow(ask("AT+CPIN?", "+CPIN:", Shaping::PinStatus), 10s), 1s), none),
    entry(Code::EnterPin, none, form(LineForm::QuotedPin, "AT+CPIN=")),
    entry(Code::EnterPuk, none, form(LineForm::PukAndNewPin, "AT+CPIN=")),
    entry(Code::PreferredOperators, slow(ask("AT+CPOL?", "+CPOL:", Shaping::PreferredOperators), 20s),
          slow(set("AT+CPOL="), 20s)),
    entry(Code::PreferredSelector, ask("AT+CPLS?", "+CPLS:"), set("AT+CPLS=")),
    entry(Code::ServiceMappingList, ask("AT^DSML?", "^DSML:"), none),
    entry(Code::UsimQos, none, set("AT^DUQOS=", "^DUQOS:")),
    entry(Code::TestControlModeIndication, none, set("AT^DTCI=")),
    entry(Code::ReportMobileTerminationError, none, set("AT+CMEE=")),
    entry(Code::SignalQualityTd, ask("AT^DCSQ?", "^DCSQ:"), set("AT^DCSQ=")),
    entry(Code::PacketRegistrationReporting, none, set("AT+CGREG=")),
    report(Code::PacketRegistration, "+CGREG:", ReportShaping::Registration),
    // The reads of 118 and 121 are the host's own (the library only sets
    // them): whether an attach or a context definition took.
    entry(Code::PacketAttach, ask("AT+CGATT?", "+CGATT:"), slow(set("AT+CGATT=", nullptr, Shaping::AttachState), 150s)),
    entry(Code::PacketDomainEventReporting, none, set("AT+CGEREP=")),
    entry(Code::QualityOfService3G, ask("AT+CGEQREQ?", "+CGEQREQ:"), set("AT+CGEQREQ=")),
    entry(Code::PdpContext, ask("AT+CGDCONT?", "+CGDCONT:"), set("AT+CGDCONT=")),
    entry(Code::NetworkRegistrationReporting, none, set("AT+CREG=")),
    entry(Code::CharacterSet, none, set("AT+CSCS=", nullptr, Shaping::CharacterSetChoice)),
    entry(Code::EnableReadPhonebookByPf, none, set("AT^DRPB=")),
    entry(Code::DisableReadPhonebookByPf, none, set("AT^DRPB=")),
    entry(Code::PowerOn, none, slow(set("AT+CFUN="), 30s)),
    entry(Code::PowerOff, none, slow(set("AT+CFUN="), 30s)),
    entry(Code::SimCardMode, ask("AT^DUSIM?", "^DUSIM:"), none),
    entry(Code::OperatorFormat, none, slow(set("AT+COPS="), 120s)),
    entry(Code::NetworkMode, ask("AT^DSTM?", "^DSTM:"), set("AT^DSTM=")),
    entry(Code::PowerOnMode, ask("AT^DDTM?", "^DDTM:"), set("AT^DDTM=")),
    entry(Code::SupplementaryServiceNotifications, none, wholeLine),
    entry(Code::PhonebookReadyNotification, none, form(LineForm::WholeLineOrArgument, "AT^DPRN=")),
    entry(Code::CallingLineIdentification, none, wholeLine),
    entry(Code::CallProgressIndication, none, wholeLine),
    entry(Code::CellularResultCodes, none, wholeLine),
    entry(Code::CallStatusIndication, none, wholeLine),
    entry(Code::EmergencyNumbers, none, wholeLine),
    entry(Code::SmsReadyNotification, none, form(LineForm::WholeLineOrArgument, "AT^DSMN=")),
    entry(Code::SmsService, none, wholeLine),
    entry(Code::SmsMessageFormat, none, wholeLine),
    entry(Code::NewMessageIndications, none, wholeLine),
    entry(Code::SmsStorageMemory, none, wholeLine),
    entry(Code::SmsStorageSim, none, wholeLine),
    report(Code::NetworkModeChanged, "^DSTMR:", ReportShaping::BareInteger),
    entry(Code::PinAttemptsRemaining, ask("AT^DRAP?", "^DRAP:"), none),
    entry(Code::HsdpaNotification, none, set("AT+HSIND=")),
    entry(Code::CellCapabilityReporting, none, set("AT^DCINFO=")),
    report(Code::HsdpaIndication, "+HSIND:", ReportShaping::AsIs),
    report(Code::CellCapabilityReport, "^DCINFO:", ReportShaping::AsIs),
    entry(Code::SoftReset, none, slow(form(LineForm::Fixed, "AT+CFUN=1,1"), 30s)),
    entry(Code::PhoneFunctionality, slow(ask("AT+CFUN?", "+CFUN:", Shaping::PhoneFunctionality), 30s), none),
};

constexpr bool sortedByCode()
{
    for (std::size_t i = 1; i < std::size(kDialect); ++i) {
        if (kDialect[i - 1].code >= kDialect[i].code)
            return false;
    }
    return true;
}
static_assert(sortedByCode(), "findEntry searches the dialect by code");

// Known unsolicited lines that nothing in the library reads: traced, dropped.
constexpr const char* kIgnoredUnsolicited[] = {
    "+CGEV:", "^DCPI:", "^DSCI:", "RING", "+CRING:", "+CSSI:", "+CSSU:", "^DSMN", "+CPIN:",
};

}  // namespace

const DialectEntry* findEntry(int code)
{
    auto found = std::lower_bound(std::begin(kDialect), std::end(kDialect), code,
                                  [](const DialectEntry& e, int c) { return e.code < c; });
    return found != std::end(kDialect) && found->code == code ? &*found : nullptr;
}

const DialectEntry* findReportEntry(const std::string& line)
{
    for (const DialectEntry& e : kDialect) {
        if (e.reportPrefix != nullptr && text::startsWith(line, e.reportPrefix))
            return &e;
    }
    return nullptr;
}

bool isIgnoredUnsolicited(const std::string& line)
{
    return std::any_of(std::begin(kIgnoredUnsolicited), std::end(kIgnoredUnsolicited),
                       [&](const char* prefix) { return text::startsWith(line, prefix); });
}

const CommandForm& formOfWholeLine(const std::string& line)
{
    const CommandForm* found = &none;
    std::size_t foundLength = 0;
    auto consider = [&](const CommandForm& candidate) {
        if (candidate.command == nullptr)
            return;
        std::size_t length = std::strlen(candidate.command);
        if (length > foundLength && text::startsWithIgnoringCase(line, candidate.command)) {
            found = &candidate;
            foundLength = length;
        }
    };
    for (const DialectEntry& e : kDialect) {
        consider(e.query);
        consider(e.modify);
    }
    return *found;
}

std::chrono::milliseconds probeTimeout() { return kDefaultCommandTimeout; }

}  // namespace cellctl::at
