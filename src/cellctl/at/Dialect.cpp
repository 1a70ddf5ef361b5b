#include <cellctl/at/Dialect.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>

#include <cellctl/text/Comparison.h>

namespace cellctl::at {
namespace {

constexpr CommandForm none{LineForm::Unavailable, nullptr, nullptr, Shaping::AsIs};

constexpr CommandForm ask(const char* line, const char* prefix, Shaping shaping = Shaping::AsIs)
{
    return {LineForm::Fixed, line, prefix, shaping};
}

constexpr CommandForm set(const char* head, const char* prefix = nullptr, Shaping shaping = Shaping::AsIs)
{
    return {LineForm::Argument, head, prefix, shaping};
}

constexpr CommandForm form(LineForm lineForm, const char* head)
{
    return {lineForm, head, nullptr, Shaping::AsIs};
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

// Sorted by code.
constexpr DialectEntry kDialect[] = {
    entry(3, ask("AT+CGMR", ""), none),
    entry(6, ask("AT+CSQ", "+CSQ:", Shaping::SignalQuality), none),
    {10, ask("AT+CREG?", "+CREG:", Shaping::RegistrationRead), none, "+CREG:", ReportShaping::Registration},
    entry(11, ask("AT+COPS?", "+COPS:", Shaping::CurrentOperator), form(LineForm::OperatorSelection, "AT+COPS=")),
    entry(12, ask("AT+COPS=?", "+COPS:", Shaping::OperatorScan), none),
    entry(21, ask("AT+CLCK=\"SC\",2", "+CLCK:"), set("AT+CLCK=\"SC\",")),
    entry(37, none, set("AT+CPWD=\"SC\",")),
    entry(50, none, set("AT+CPWD=\"P2\",")),
    entry(62, ask("AT+CPIN?", "+CPIN:", Shaping::PinStatus), none),
    entry(63, none, form(LineForm::QuotedPin, "AT+CPIN=")),
    entry(64, none, form(LineForm::PukAndNewPin, "AT+CPIN=")),
    entry(93, ask("AT+CPOL?", "+CPOL:", Shaping::PreferredOperators), set("AT+CPOL=")),
    entry(94, ask("AT+CPLS?", "+CPLS:"), set("AT+CPLS=")),
    entry(111, ask("AT^DSML?", "^DSML:"), none),
    entry(112, none, set("AT^DUQOS=", "^DUQOS:")),
    entry(113, none, set("AT^DTCI=")),
    entry(114, none, set("AT+CMEE=")),
    entry(115, ask("AT^DCSQ?", "^DCSQ:"), set("AT^DCSQ=")),
    entry(116, none, set("AT+CGREG=")),
    report(117, "+CGREG:", ReportShaping::Registration),
    entry(118, none, set("AT+CGATT=", nullptr, Shaping::AttachState)),
    entry(119, none, set("AT+CGEREP=")),
    entry(120, ask("AT+CGEQREQ?", "+CGEQREQ:"), set("AT+CGEQREQ=")),
    entry(121, none, set("AT+CGDCONT=")),
    entry(122, none, set("AT+CREG=")),
    entry(123, none, set("AT+CSCS=", nullptr, Shaping::CharacterSetChoice)),
    entry(124, none, set("AT^DRPB=")),
    entry(125, none, set("AT^DRPB=")),
    entry(126, none, set("AT+CFUN=")),
    entry(127, none, set("AT+CFUN=")),
    entry(128, ask("AT^DUSIM?", "^DUSIM:"), none),
    entry(130, none, set("AT+COPS=")),
    entry(132, ask("AT^DSTM?", "^DSTM:"), set("AT^DSTM=")),
    entry(133, ask("AT^DDTM?", "^DDTM:"), set("AT^DDTM=")),
    entry(134, none, wholeLine),
    entry(135, none, form(LineForm::WholeLineOrArgument, "AT^DPRN=")),
    entry(136, none, wholeLine),
    entry(137, none, wholeLine),
    entry(138, none, wholeLine),
    entry(139, none, wholeLine),
    entry(140, none, wholeLine),
    entry(141, none, form(LineForm::WholeLineOrArgument, "AT^DSMN=")),
    entry(142, none, wholeLine),
    entry(143, none, wholeLine),
    entry(144, none, wholeLine),
    entry(145, none, wholeLine),
    entry(146, none, wholeLine),
    report(149, "^DSTMR:", ReportShaping::BareInteger),
    entry(153, ask("AT^DRAP?", "^DRAP:"), none),
    entry(156, none, set("AT+HSIND=")),
    entry(157, none, set("AT^DCINFO=")),
    report(158, "+HSIND:", ReportShaping::AsIs),
    report(159, "^DCINFO:", ReportShaping::AsIs),
    entry(164, none, form(LineForm::Fixed, "AT+CFUN=1,1")),
    entry(165, ask("AT+CFUN?", "+CFUN:", Shaping::PhoneFunctionality), none),
};

// Known unsolicited lines that nothing in the library reads: traced, dropped.
constexpr const char* kIgnoredUnsolicited[] = {
    "+CGEV:", "^DCPI:", "^DSCI:", "RING", "+CRING:", "+CSSI:", "+CSSU:", "^DSMN", "+CPIN:",
};

struct TimeoutRule {
    std::string_view linePrefix;  // compared without regard to case
    int seconds;
};

// First match wins, so "AT+COPS=?" comes before "AT+COPS=".
constexpr TimeoutRule kTimeouts[] = {
    {"AT+CFUN", 30}, {"AT+CPIN?", 10}, {"AT+CPOL", 20},
    {"AT+COPS=?", 300}, {"AT+COPS=", 120}, {"AT+CGATT", 150},
};
constexpr int kDefaultTimeoutSeconds = 3;

// Some firmware answers AT+CPIN? with its +CPIN: line and no final result.
constexpr TimeoutRule kFinalResultGraces[] = {{"AT+CPIN?", 1}};

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

std::chrono::milliseconds commandTimeout(const std::string& line)
{
    for (const TimeoutRule& rule : kTimeouts) {
        if (text::startsWithIgnoringCase(line, rule.linePrefix))
            return std::chrono::seconds(rule.seconds);
    }
    return std::chrono::seconds(kDefaultTimeoutSeconds);
}

std::chrono::milliseconds finalResultGrace(const std::string& line)
{
    for (const TimeoutRule& rule : kFinalResultGraces) {
        if (text::equalsIgnoringCase(line, rule.linePrefix))
            return std::chrono::seconds(rule.seconds);
    }
    return std::chrono::milliseconds(0);
}

std::chrono::milliseconds probeTimeout()
{
    return std::chrono::seconds(kDefaultTimeoutSeconds);
}

}  // namespace cellctl::at
