#include "StartupRig.h"

#include <cstring>
#include <vector>

#include "EveryCallback.h"

namespace bench {

namespace {

// The HostTally value a callback keeps besides counting itself.
enum class Kept {
    Nothing,
    PowerOn,
    SignalLevel,
    Registration,
    CurrentOperatorTech,
    AvailableOperators,
    PreferredEntries,
    ModeType
};

const struct {
    const char* kind;
    Kept kept;
} kKeptByKind[] = {
    {"Power.PowerOn", Kept::PowerOn},
    {"Power.QuerySignal", Kept::SignalLevel},
    {"Power.Registration", Kept::Registration},
    {"Cops.QueryCops", Kept::CurrentOperatorTech},
    {"Cops.QueryAvailableCops", Kept::AvailableOperators},
    {"Cops.QueryPreferredCopsList", Kept::PreferredEntries},
    {"Mode.QueryMode", Kept::ModeType},
};

Kept keptFor(const char* kind)
{
    for (const auto& entry : kKeptByKind)
        if (std::strcmp(entry.kind, kind) == 0)
            return entry.kept;
    return Kept::Nothing;
}

// A callback of any signature: counts itself into the tally and keeps the
// value its kind calls for. The kind is looked up once, when it is connected.
struct Tally {
    HostTally* tally;
    Kept kept;

    template <typename... Values>
    void operator()(const Values&... values) const
    {
        ++tally->callbacks;
        keep(values...);
    }

private:
    void keep(bool ok) const
    {
        if (kept == Kept::PowerOn)
            tally->powerOn = ok;
    }
    void keep(int status) const
    {
        if (kept == Kept::Registration)
            tally->registration = status;
    }
    void keep(int, int level) const
    {
        if (kept == Kept::SignalLevel)
            tally->signalLevel = level;
    }
    void keep(const CCopsInfo& current) const
    {
        if (kept == Kept::CurrentOperatorTech)
            tally->currentOperatorTech = current.GetAccessTechType();
    }
    void keep(const std::vector<CCopsInfo>& operators) const
    {
        if (kept == Kept::AvailableOperators)
            tally->availableOperators = operators.size();
        else if (kept == Kept::PreferredEntries)
            tally->preferredEntries = operators.size();
    }
    void keep(CMode* mode) const
    {
        if (kept == Kept::ModeType)
            tally->modeType = mode != nullptr ? mode->GetModeType() : -1;
    }
    template <typename... Others>
    void keep(const Others&...) const
    {
    }
};

}  // namespace

StartupRig::StartupRig(PhoneLine& line)
{
    power().SetSupportDualMode(true);
    m_assistors.SetPhoneLine(&line);
    cellctl::test::connectEveryCallback(m_assistors, [this](const char* kind) {
        return Tally{&m_tally, keptFor(kind)};
    });
}

}  // namespace bench
