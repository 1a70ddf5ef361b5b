#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModeTestSupport.h"

namespace {

using cellctl::test::AttachedModeAssistor;
using Events = std::vector<std::string>;

TEST(ModeAssistor, EachResultEntryPointFiresOnlyItsOwnKind)
{
    AttachedModeAssistor mode;
    CCellCapabilityInfo info;
    info.m_capability4 = true;
    CTDMode td;

    mode.assistor.SetEnableHsdpaNotificationResult(true);
    mode.assistor.SetEnableCellCapabilityChangesReport(true);
    mode.assistor.SetHsdpaNotificationValue(false);
    mode.assistor.SetSwitchModeResult(false);
    mode.assistor.SetPowerOnModeResult(true);
    mode.assistor.SetCellCapabilityChangesNotificationValue(info);
    mode.assistor.SetCellCapability(info);
    mode.assistor.SetCurrentPowerOnMode(&td);
    mode.assistor.SetCurrentMode(&td);
    EXPECT_EQ(mode.events, (Events{"EnableHsdpaNotification=true", "EnableCellCapabilityChangesReport=true",
                                   "HsdpaNotification=false", "ParseSwitchMode=false", "ParsePowerOnMode=true",
                                   "CellCapabilityChangesInfo=0001", "CellCapabilityChangesInfo=0001",
                                   "QueryPowerOnMode", "QueryMode"}));
    EXPECT_EQ(mode.assistor.GetCurrentMode(), &td);
    EXPECT_TRUE(mode.line.sent().empty());
}

TEST(ModeAssistor, DisconnectRemovesOnlyTheLatestCallbackOfOneKind)
{
    AttachedModeAssistor mode;
    std::vector<std::string> extra;
    mode.assistor.connectParseSwitchModeResult(
        boost::function1<void, bool>([&](bool ok) { extra.push_back(ok ? "second=true" : "second=false"); }));
    mode.assistor.disconnectParseSwitchModeResult();
    mode.assistor.disconnectParseSwitchModeResult();  // the first one can no longer be removed
    mode.assistor.disconnectQueryModeResult();
    mode.line.answerModify(132, "OK");
    mode.line.answerQuery(132, "OK");
    EXPECT_EQ(mode.events, Events{"ParseSwitchMode=true"});
    EXPECT_TRUE(extra.empty());

    // every kind has its own disconnect; after them nothing fires
    mode.assistor.disconnectQueryPowerOnModeResult();
    mode.assistor.disconnectParsePowerOnModeResult();
    mode.assistor.disconnectEnableHsdpaNotificationResult();
    mode.assistor.disconnectEnableCellCapabilityChangesReport();
    mode.assistor.disconnectHsdpaNotificationResult();
    mode.assistor.disconnectCellCapabilityChangesInfo();
    mode.events.clear();
    mode.line.answerQuery(133, "^DDTM: 0,2");
    for (int code : {133, 156, 157, 159})
        mode.line.answerModify(code, "OK");
    mode.assistor.SetHsdpaNotificationValue(true);
    EXPECT_TRUE(mode.events.empty());
}

}  // namespace
