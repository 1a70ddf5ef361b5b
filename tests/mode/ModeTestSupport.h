#pragma once

#include <string>
#include <tuple>
#include <vector>

#include <cellctl/mode/CModeAssistor.h>

#include "RecordingPhoneLine.h"

namespace cellctl::test {

// (behaviour, mode type, access technology) of a record, for compact checks.
inline std::tuple<int, int, int> modeNumbers(const CMode& mode)
{
    return {mode.GetBehaviorType(), mode.GetModeType(), mode.GetAccessTechType()};
}

inline std::string capabilityFlags(const CCellCapabilityInfo& info)
{
    std::string flags;
    for (bool flag : {info.m_capability1, info.m_capability2, info.m_capability3, info.m_capability4})
        flags += flag ? '1' : '0';
    return flags;
}

// A mode assistor attached to a recording line, with every callback kind
// writing one entry into `events`, so a test sees exactly which callbacks an
// answer reached and with what value.
class AttachedModeAssistor {
public:
    AttachedModeAssistor()
    {
        assistor.connectQueryModeResult(boost::function1<void, CMode*>([this](CMode* mode) {
            modes.push_back(mode);
            events.push_back("QueryMode");
        }));
        assistor.connectQueryPowerOnModeResult(boost::function1<void, CMode*>([this](CMode* mode) {
            powerOnModes.push_back(mode);
            events.push_back("QueryPowerOnMode");
        }));
        assistor.connectParseSwitchModeResult(logBool("ParseSwitchMode"));
        assistor.connectParsePowerOnModeResult(logBool("ParsePowerOnMode"));
        assistor.connectEnableHsdpaNotificationResult(logBool("EnableHsdpaNotification"));
        assistor.connectEnableCellCapabilityChangesReport(logBool("EnableCellCapabilityChangesReport"));
        assistor.connectHsdpaNotificationResult(logBool("HsdpaNotification"));
        assistor.connectCellCapabilityChangesInfo(
            boost::function1<void, const CCellCapabilityInfo&>([this](const CCellCapabilityInfo& info) {
                events.push_back("CellCapabilityChangesInfo=" + capabilityFlags(info));
            }));
        assistor.SetPhoneLine(&line);
    }
    ~AttachedModeAssistor() { assistor.ResetPhoneLine(); }

    RecordingPhoneLine line;
    CModeAssistor assistor;
    std::vector<std::string> events;
    std::vector<CMode*> modes;
    std::vector<CMode*> powerOnModes;

private:
    boost::function1<void, bool> logBool(const std::string& kind)
    {
        return [this, kind](bool value) { events.push_back(kind + "=" + (value ? "true" : "false")); };
    }
};

}  // namespace cellctl::test
