// The whole stack against cellsim answering in the forms real firmware uses
// (--firmware-quirks): every callback still fires once with the right value.

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "Stack.h"

namespace cellctl::e2e {
namespace {

TEST(FirmwareQuirks, PinLockedStartUpReadsEveryQuirkyForm)
{
    cellsim::ModemOptions options = Stack::quickModem();
    options.sim = cellsim::SimStart::PinLocked;
    std::optional<cellsim::FirmwareQuirks> quirks = cellsim::parseFirmwareQuirks(
        "creg-with-n,padded-stat,bare-lac,cpin-no-ok,quoted-cpin,csq-no-space,cpol-bare-code,vendor-errors");
    ASSERT_TRUE(quirks);
    options.quirks = *quirks;
    Stack stack(options);
    Results& results = stack.results;

    // +CPIN: "SIM PIN" without OK.
    stack.powerOn();
    ASSERT_TRUE(stack.waitFor(results.needPin));
    ASSERT_TRUE(stack.settle());
    EXPECT_EQ(results.needPin, std::vector<bool>{true});
    EXPECT_TRUE(results.needPuk.empty());

    // A wrong PIN answered MODEM ERROR: 16 uses one attempt, the right one clears.
    stack.usim.CheckPin("0000");
    ASSERT_TRUE(stack.waitFor(results.checkPin, 1));
    stack.usim.CheckPin("1234");
    ASSERT_TRUE(stack.waitFor(results.checkPin, 2));
    EXPECT_EQ(results.checkPin, (std::vector<std::pair<bool, int>>{{false, 2}, {true, 3}}));

    // Registration reports with <n> first and a padded stat: the stat, never <n>.
    ASSERT_TRUE(stack.runUntil([&] { return !results.registration.empty() && results.registration.back() == 1; }));
    for (int status : results.registration)
        EXPECT_TRUE(status == 1 || status == 2) << status;
    results.registration.clear();
    stack.power.QueryCregStatus();
    ASSERT_TRUE(stack.waitFor(results.registration));
    EXPECT_EQ(results.registration, std::vector<int>{1});
    EXPECT_EQ(results.needPin, std::vector<bool>{true}) << "no other SIM callback fired";
}

}  // namespace
}  // namespace cellctl::e2e
