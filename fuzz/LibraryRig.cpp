#include "LibraryRig.h"

#include <string>
#include <utility>
#include <vector>

#include <cellctl/CAssistorSet.h>
#include <cellctl/cops/CCopsInfo.h>
#include <cellctl/framework/PhoneLine.h>
#include <cellctl/mode/CCellCapabilityInfo.h>
#include <cellctl/mode/CMode.h>
#include <cellctl/text/Numbers.h>

#include "EveryCallback.h"

namespace cellctl::fuzz {

namespace {

// Everything a callback is given is read in full and folded in here, so that
// no read can be optimised away and every byte passes the sanitizers.
struct Sink {
    std::size_t calls = 0;
    std::size_t checksum = 0;

    void take(std::size_t value) { checksum = checksum * 31 + value; }
    void take(const std::string& text)
    {
        for (unsigned char c : text)
            take(c);
    }
    void take(const CCopsInfo& record)
    {
        take(static_cast<std::size_t>(record.GetModeType()));
        take(static_cast<std::size_t>(record.GetSelector()));
        take(static_cast<std::size_t>(record.GetFormat()));
        take(static_cast<std::size_t>(record.GetAccessTechType()));
        take(static_cast<std::size_t>(record.GetState()));
        take(record.GetOperatorLongName());
        take(record.GetOperatorShortName());
        take(record.GetOperatorNumericName());
        take(record.GetOperatorName(record.GetFormat()));
        take(CCopsInfo::GetStateName(record.GetState()));
        take(static_cast<std::size_t>(record.GetPreferredPLMNListIndex()));
        take(record.GetPreferredPLMNListGsmSelected() + 2 * record.GetPreferredPLMNListTDSelected() +
             4 * record.GetPreferredPLMNListGsmCompactSelected());
    }
    void take(const std::vector<CCopsInfo>& records)
    {
        for (const CCopsInfo& record : records)
            take(record);
    }
    void take(const CMode* mode)
    {
        if (mode == nullptr)
            return;
        take(static_cast<std::size_t>(mode->GetAccessTechType()));
        take(static_cast<std::size_t>(mode->GetBehaviorType()));
        take(static_cast<std::size_t>(mode->GetModeType()));
        take(static_cast<std::size_t>(mode->GetCellCapability()));
    }
    void take(const CCellCapabilityInfo& info)
    {
        take(info.m_capability1 + 2 * info.m_capability2 + 4 * info.m_capability3 + 8 * info.m_capability4);
    }

    template <typename... Values>
    void operator()(const Values&... values)
    {
        ++calls;
        (take(values), ...);
    }
};

// The argument split at its first unit separator (0x1F): two passwords, or a
// PUK and a new PIN.
std::pair<std::string, std::string> splitArgument(const std::string& argument)
{
    const std::size_t cut = argument.find('\x1f');
    if (cut == std::string::npos)
        return {argument, std::string()};
    return {argument.substr(0, cut), argument.substr(cut + 1)};
}

int byteAt(const std::string& text, std::size_t index)
{
    return index < text.size() ? static_cast<signed char>(text[index]) : 0;
}

// An operator record made from the argument: its bytes pick the numbers and
// the whole argument is the name.
CCopsInfo operatorFrom(const std::string& argument)
{
    CCopsInfo record;
    record.SetModeType(CCopsInfo::EModeType(byteAt(argument, 0) & 3));
    record.SetFormat(CCopsInfo::EFormat(byteAt(argument, 1) & 3));
    record.SetAccessTechType(CCopsInfo::EAccessTechType(byteAt(argument, 2) & 3));
    record.SetSelector(CCopsInfo::ESelector(byteAt(argument, 3)));
    record.SetPreferredPLMNListIndex(text::readLeadingInt(argument));
    record.SetOperatorName(record.GetFormat(), argument);
    record.SetAccessTechToPreferredPLMNList();
    return record;
}

CMode modeFrom(const std::string& argument)
{
    CMode mode;
    mode.SetAccessTechType(CMode::EAccessTechType(byteAt(argument, 0)));
    mode.SetBehaviorType(CMode::EBehaviorType(byteAt(argument, 1)));
    mode.SetModeType(CMode::EModeType(byteAt(argument, 2)));
    return mode;
}

}  // namespace

struct LibraryRig::Parts {
    PhoneLine& line;
    Sink sink;
    CAssistorSet library;
    CUsimAssistor& usim = library.GetUsimAssistor();
    CCopsAssistor& cops = library.GetCopsAssistor();
    CModeAssistor& mode = library.GetModeAssistor();
    CPowerAssistor& power = library.GetPowerAssistor();
    CConnectionAssistor& connection = library.GetConnectionAssistor();

    // A callback of any signature that hands its values to the sink. It holds
    // one pointer, so the host callback keeps it without allocating.
    struct ToSink {
        Sink* sink;
        template <typename... Values>
        void operator()(const Values&... values) const
        {
            (*sink)(values...);
        }
    };
    auto toSink()
    {
        return [this](const char* /*kind*/) { return ToSink{&sink}; };
    }

    // Every result kind of every assistor gets a callback. The packet-data
    // assistor's callbacks cannot be removed, so they stay; the others are
    // dropped and added again at will.
    explicit Parts(PhoneLine& phoneLine) : line(phoneLine)
    {
        cellctl::test::connectEveryCallback(library, toSink());
        library.SetPhoneLine(&line);
        connection.Initialize();
    }

    void reconnectCallbacks()
    {
        cellctl::test::disconnectEveryRemovableCallback(library);
        cellctl::test::connectEveryRemovableCallback(library, toSink());
    }
};

namespace {

using Request = void (*)(LibraryRig::Parts&, const std::string&);

// Every host request of the library, with the argument where it takes one. An
// empty argument stands for a null record where a request takes a pointer.
const Request kRequests[] = {
    [](LibraryRig::Parts& p, const std::string&) { p.power.PowerOn(); },
    [](LibraryRig::Parts& p, const std::string&) { p.power.PowerOff(); },
    [](LibraryRig::Parts& p, const std::string&) { p.power.SoftReset(); },
    [](LibraryRig::Parts& p, const std::string&) { p.power.SetupFeature(); },
    [](LibraryRig::Parts& p, const std::string&) { p.power.QuerySignal(); },
    [](LibraryRig::Parts& p, const std::string&) { p.power.QueryCregStatus(); },
    [](LibraryRig::Parts& p, const std::string&) { p.power.QueryCops(); },
    [](LibraryRig::Parts& p, const std::string& a) { p.power.SetSupportDualMode(!a.empty()); },

    [](LibraryRig::Parts& p, const std::string&) { p.usim.QuerySimCardMode(); },
    [](LibraryRig::Parts& p, const std::string&) { p.usim.QueryPinStatus(); },
    [](LibraryRig::Parts& p, const std::string&) { p.usim.QueryAttemptRemainCount(); },
    [](LibraryRig::Parts& p, const std::string&) { p.usim.QueryIsPinStarted(); },
    [](LibraryRig::Parts& p, const std::string& a) { p.usim.CheckPin(a); },
    [](LibraryRig::Parts& p, const std::string& a) { p.usim.CheckPuk(a); },
    [](LibraryRig::Parts& p, const std::string& a) {
        const auto [first, second] = splitArgument(a);
        p.usim.ChangePin(first, second);
    },
    [](LibraryRig::Parts& p, const std::string& a) { p.usim.StartupPin(a); },
    [](LibraryRig::Parts& p, const std::string& a) { p.usim.ClosePin(a); },
    [](LibraryRig::Parts& p, const std::string& a) {
        const auto [oldPassword, newPassword] = splitArgument(a);
        p.usim.ChangeLockSimCardPassword(oldPassword, newPassword);
    },
    [](LibraryRig::Parts& p, const std::string& a) {
        const auto [oldPassword, newPassword] = splitArgument(a);
        p.usim.ChangeSimFixedDialingMemoryPassword(oldPassword, newPassword);
    },
    [](LibraryRig::Parts& p, const std::string&) {
        p.sink(p.usim.GetPinCheckCounterRemain(), p.usim.GetPukCheckCounterRemain(), p.usim.GetAttemptRemainCount(),
               p.usim.QueryUsimStatus());
    },

    [](LibraryRig::Parts& p, const std::string&) { p.cops.QueryCops(); },
    [](LibraryRig::Parts& p, const std::string&) { p.cops.QueryAvailableCops(); },
    [](LibraryRig::Parts& p, const std::string&) { p.cops.QueryPreferredCopsList(); },
    [](LibraryRig::Parts& p, const std::string&) { p.cops.QueryPreferredSelector(); },
    [](LibraryRig::Parts& p, const std::string& a) {
        CCopsInfo record = operatorFrom(a);
        p.cops.SelectCops(a.empty() ? nullptr : &record);
    },
    [](LibraryRig::Parts& p, const std::string& a) {
        CCopsInfo record = operatorFrom(a);
        p.cops.SelectSelector(a.empty() ? nullptr : &record);
    },
    [](LibraryRig::Parts& p, const std::string& a) {
        CCopsInfo record = operatorFrom(a);
        p.cops.ModifyCopsList(a.empty() ? nullptr : &record);
    },
    [](LibraryRig::Parts& p, const std::string& a) {
        CCopsInfo record = operatorFrom(a);
        p.cops.DeleteCopsList(a.empty() ? nullptr : &record);
    },

    [](LibraryRig::Parts& p, const std::string&) { p.mode.QueryCurrentMode(); },
    [](LibraryRig::Parts& p, const std::string&) { p.mode.QueryPowerOnMode(); },
    [](LibraryRig::Parts& p, const std::string& a) {
        CMode mode = modeFrom(a);
        p.mode.SwitchToMode(a.empty() ? nullptr : &mode);
    },
    [](LibraryRig::Parts& p, const std::string& a) {
        CMode mode = modeFrom(a);
        p.mode.SetPowerOnMode(a.empty() ? nullptr : &mode);
    },
    [](LibraryRig::Parts& p, const std::string& a) { p.mode.EnableHsdpaNotification(!a.empty()); },
    [](LibraryRig::Parts& p, const std::string& a) { p.mode.EnableCellCapabilityChangesReport(!a.empty()); },
    [](LibraryRig::Parts& p, const std::string&) { p.sink(p.mode.GetCurrentMode()); },

    [](LibraryRig::Parts& p, const std::string&) { p.connection.Initialize(); },
    [](LibraryRig::Parts& p, const std::string&) { p.connection.AttachGprs(); },
    [](LibraryRig::Parts& p, const std::string& a) {
        p.connection.PdpActive(byteAt(a, 0), a, byteAt(a, 1), text::readLeadingInt(a), byteAt(a, 2));
    },
    [](LibraryRig::Parts& p, const std::string& a) { p.connection.GsmPdpActive(1, a, 0, 0, 0); },
    [](LibraryRig::Parts& p, const std::string&) { p.connection.GetServiceMappingList(); },
    [](LibraryRig::Parts& p, const std::string& a) { p.connection.ReadUsimQos(text::readLeadingInt(a)); },
    [](LibraryRig::Parts& p, const std::string&) { p.connection.Get3GServiceQuality(); },

    // The host rewiring things between answers.
    [](LibraryRig::Parts& p, const std::string&) {
        p.library.ResetPhoneLine();
        p.library.SetPhoneLine(&p.line);
    },
    [](LibraryRig::Parts& p, const std::string&) { p.reconnectCallbacks(); },
};

}  // namespace

LibraryRig::LibraryRig(PhoneLine& line) : m_parts(new Parts(line)) {}

LibraryRig::~LibraryRig() = default;

std::size_t LibraryRig::requestCount() { return sizeof kRequests / sizeof kRequests[0]; }

void LibraryRig::request(std::size_t index, const std::string& argument)
{
    kRequests[index % requestCount()](*m_parts, argument);
}

std::size_t LibraryRig::callbacks() const { return m_parts->sink.calls; }

}  // namespace cellctl::fuzz
