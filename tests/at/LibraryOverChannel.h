#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <cellctl/cellctl.h>

#include "DeviceRig.h"

namespace cellctl::at::test {

// Every assistor of the library attached to an AtPhoneLine on a pty, wired as
// a host wires them; the test plays the device.
class LibraryOverChannel : public ::testing::Test {
protected:
    LibraryOverChannel()
    {
        rig.openLine();
        assistors.SetPhoneLine(&rig.line);
    }

    CPowerHelper& powerHelper() { return *power.GetPowerHelp(); }

    // The device reads `expectedLine` and answers with `answer` (each line
    // framed CR LF ... CR LF); returns once that command got its answer.
    void exchange(const std::string& expectedLine, const std::vector<std::string>& answer)
    {
        ASSERT_EQ(rig.nextCommand(), expectedLine);
        std::size_t pending = rig.line.pendingCommands();
        rig.deviceAnswers(answer);
        ASSERT_TRUE(rig.runUntil([&] { return rig.line.pendingCommands() < pending; }));
    }

    // The device sends unsolicited lines; returns once `done` holds.
    template <typename Done>
    void report(const std::vector<std::string>& lines, Done done)
    {
        rig.deviceAnswers(lines);
        ASSERT_TRUE(rig.runUntil(done));
    }

    // The names are GBK bytes under HEX from here on.
    void switchToHexNames()
    {
        powerHelper().SetTECharacterSet();
        exchange("AT+CSCS=\"HEX\"", {"OK"});
    }

    DeviceRig rig;  // declared first: outlives the attachment
    CAssistorSet assistors{CAssistorSet::PowerBasic};
    CUsimAssistor& usim = assistors.GetUsimAssistor();
    CCopsAssistor& cops = assistors.GetCopsAssistor();
    CModeAssistor& mode = assistors.GetModeAssistor();
    CConnectionAssistor& connection = assistors.GetConnectionAssistor();
    CPowerAssistor& power = assistors.GetPowerAssistor();
};

}  // namespace cellctl::at::test
