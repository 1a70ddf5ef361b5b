#include <gtest/gtest.h>

#include <cellctl/mode/CCellCapabilityInfo.h>
#include <cellctl/mode/CMode.h>

#include "ModeTestSupport.h"

namespace {

using cellctl::test::capabilityFlags;
using cellctl::test::modeNumbers;
using Numbers = std::tuple<int, int, int>;

TEST(ModeRecords, DefaultsOfEachKind)
{
    EXPECT_EQ(modeNumbers(CMode()), Numbers(1, 0, 0));
    EXPECT_EQ(modeNumbers(CGsmMode()), Numbers(1, 0, CMode::AccessTechGsm));
    EXPECT_EQ(modeNumbers(CTDMode()), Numbers(1, 0, CMode::AccessTechTd));
    EXPECT_EQ(modeNumbers(CExtendMode()), Numbers(1, 0, 0));
    EXPECT_EQ(CMode().GetCellCapability(), 0);
    EXPECT_EQ(CTDMode().GetCellCapability(), 0);
    EXPECT_EQ(CExtendMode().GetCellCapability(), 0);
    EXPECT_EQ(capabilityFlags(CCellCapabilityInfo()), "0000");
}

TEST(ModeRecords, AssignmentThroughBaseCopiesAllFourMembers)
{
    CGsmMode gsm;
    gsm.SetModeType(static_cast<CMode::EModeType>(2));
    gsm.SetCellCapability(static_cast<CMode::ECellCapability>(9));
    CTDMode td;
    static_cast<CMode&>(td) = gsm;
    EXPECT_EQ(modeNumbers(td), Numbers(1, 2, CMode::AccessTechGsm));
    EXPECT_EQ(td.GetCellCapability(), 9);

    CTDMode copy(td);
    EXPECT_EQ(modeNumbers(copy), modeNumbers(td));
    EXPECT_EQ(copy.GetCellCapability(), 9);
}

}  // namespace
