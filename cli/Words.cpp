#include "Words.h"

#include "Text.h"
#include "Ts27007.h"

namespace cellctl::cli {
namespace {

struct Word {
    int value;
    const char* name;
    const char* text;
};

template <size_t N>
const Word* find(const Word (&words)[N], int value)
{
    for (const Word& word : words) {
        if (word.value == value)
            return &word;
    }
    return nullptr;
}

template <size_t N>
std::string textOf(const Word (&words)[N], int value, const char* what)
{
    const Word* word = find(words, value);
    return word != nullptr ? word->text : std::string(what) + " " + std::to_string(value);
}

template <size_t N>
std::string nameOf(const Word (&words)[N], int value)
{
    const Word* word = find(words, value);
    return word != nullptr ? word->name : std::to_string(value);
}

// Network registration status (+CREG).
const Word kRegistration[] = {
    {ts27007::NotRegistered, "not-registered", "not registered"},
    {ts27007::RegisteredHome, "home", "registered, home network"},
    {ts27007::Searching, "searching", "searching for a network"},
    {ts27007::RegistrationDenied, "denied", "registration denied"},
    {ts27007::RegistrationUnknown, "unknown", "unknown"},
    {ts27007::RegisteredRoaming, "roaming", "registered, roaming"},
};

const Word kAccessTechnology[] = {
    {CCopsInfo::AccessTechGsm, "gsm", "GSM"},
    {CCopsInfo::AccessTechGsmCompact, "gsm-compact", "GSM Compact"},
    {CCopsInfo::AccessTechTd, "td", "TD-SCDMA"},
};

// Operator selection mode (+COPS).
const Word kSelection[] = {
    {CCopsInfo::ModeAutomatic, "automatic", "automatic"},
    {CCopsInfo::ModeManual, "manual", "manual"},
    {ts27007::SelectionDeregister, "deregistered", "deregistered"},
    {ts27007::SelectionManualThenAutomatic, "manual-automatic", "manual, automatic when it fails"},
};

// Operator status in a network scan.
const Word kOperatorState[] = {
    {CCopsInfo::StateUnknown, "unknown", "unknown"},
    {CCopsInfo::StateAvailable, "available", "available"},
    {CCopsInfo::StateCurrent, "current", "current"},
    {CCopsInfo::StateForbidden, "forbidden", "forbidden"},
};

}  // namespace

std::string displayName(const CCopsInfo& info)
{
    std::string name = info.GetOperatorLongName();
    if (name.empty())
        name = info.GetOperatorShortName();
    if (name.empty())
        name = CCopsInfo::GetOperatorLongNameFromNumeric(info.GetOperatorNumericName());
    return gbkToUtf8(name);
}

std::string registrationText(int status) { return textOf(kRegistration, status, "status"); }
std::string registrationName(int status) { return nameOf(kRegistration, status); }
bool isRegistered(int status) { return status == ts27007::RegisteredHome || status == ts27007::RegisteredRoaming; }

std::string accessTechnologyText(int accessTechnology)
{
    return textOf(kAccessTechnology, accessTechnology, "access technology");
}
std::string accessTechnologyName(int accessTechnology) { return nameOf(kAccessTechnology, accessTechnology); }

std::string signalText(int accessTechnology, int level)
{
    std::string tech = accessTechnologyText(accessTechnology);
    if (accessTechnology == CCopsInfo::AccessTechGsm) {
        if (level == ts27007::kRssiNotKnown || level < 0)
            return "no signal (GSM)";
        return std::to_string(level) + " (GSM, " + std::to_string(ts27007::rssiToDbm(level)) + " dBm)";
    }
    return std::to_string(level) + " (" + tech + ")";
}

nlohmann::json signalJson(int accessTechnology, int level)
{
    nlohmann::json signal = {{"access_technology", accessTechnologyName(accessTechnology)}, {"level", level}};
    if (accessTechnology == CCopsInfo::AccessTechGsm && level >= 0 && level != ts27007::kRssiNotKnown)
        signal["dbm"] = ts27007::rssiToDbm(level);
    return signal;
}

std::string operatorText(const CCopsInfo& info)
{
    std::string name = displayName(info);
    std::string code = info.GetOperatorNumericName();
    if (name.empty() && code.empty())
        return "none";
    if (name.empty())
        return code;
    if (code.empty() || name == code)
        return name;
    return name + " (" + code + ")";
}

nlohmann::json operatorJson(const CCopsInfo& info)
{
    nlohmann::json json = {
        {"name", displayName(info)},
        {"short_name", gbkToUtf8(info.GetOperatorShortName())},
        {"code", info.GetOperatorNumericName()},
    };
    return json;
}

std::string operatorSelectionText(int modeType) { return textOf(kSelection, modeType, "mode"); }
std::string operatorStateText(int state) { return textOf(kOperatorState, state, "state"); }
std::string operatorStateName(int state) { return nameOf(kOperatorState, state); }

std::string networkModeText(const CMode& mode)
{
    std::string tech = accessTechnologyText(mode.GetAccessTechType());
    if (mode.GetModeType() == kModeTypeDual)
        return "dual (GSM and TD-SCDMA), preferring " + tech;
    return tech + " only";
}

nlohmann::json networkModeJson(const CMode& mode)
{
    bool dual = mode.GetModeType() == kModeTypeDual;
    return {
        {"mode", dual ? "dual" : accessTechnologyName(mode.GetAccessTechType())},
        {"access_technology", accessTechnologyName(mode.GetAccessTechType())},
        {"behaviour", static_cast<int>(mode.GetBehaviorType())},
        {"mode_type", static_cast<int>(mode.GetModeType())},
    };
}

std::string powerOnModeText(const CMode& mode) { return accessTechnologyText(mode.GetAccessTechType()); }

nlohmann::json powerOnModeJson(const CMode& mode)
{
    return {
        {"access_technology", accessTechnologyName(mode.GetAccessTechType())},
        {"mode_type", static_cast<int>(mode.GetModeType())},
    };
}

}  // namespace cellctl::cli
