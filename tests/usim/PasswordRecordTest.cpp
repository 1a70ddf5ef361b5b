#include <gtest/gtest.h>

#include <cellctl/usim/CPassword.h>

namespace {

TEST(PasswordRecord, FailuresCountDownAndStopAtTheLimit)
{
    CPinPassword pin;
    EXPECT_EQ(pin.GetRemaining(), 3);
    for (int expected : {2, 1, 0}) {
        EXPECT_TRUE(pin.IsCheckAllowed());
        pin.RecordResult(false);
        EXPECT_EQ(pin.GetRemaining(), expected);
    }
    EXPECT_FALSE(pin.IsCheckAllowed());
    pin.RecordResult(false);  // one more failure never goes past the limit
    EXPECT_EQ(pin.GetRemaining(), 0);

    pin.RecordResult(true);  // a success at the limit clears every failure
    EXPECT_EQ(pin.GetRemaining(), 3);
    EXPECT_TRUE(pin.IsCheckAllowed());
}

TEST(PasswordRecord, PukAllowsTenFailures)
{
    CPukPassword puk;
    EXPECT_EQ(puk.GetRemaining(), 10);
    for (int i = 0; i < 9; ++i)
        puk.RecordResult(false);
    EXPECT_TRUE(puk.IsCheckAllowed());
    puk.RecordResult(false);
    EXPECT_FALSE(puk.IsCheckAllowed());
    EXPECT_EQ(puk.GetRemaining(), 0);
}

}  // namespace
