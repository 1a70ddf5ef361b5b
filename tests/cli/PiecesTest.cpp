// The parts of the command line that need no modem: turning device bytes into
// text people and JSON can take, reading the two raw SIM answers, the QoS
// argument, and the command table against its manual.
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "Arguments.h"
#include "ExitStatus.h"
#include "QosProfile.h"
#include "SimAnswers.h"
#include "Text.h"

namespace cellctl::cli::test {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(Text, GbkOperatorNamesBecomeUtf8)
{
    EXPECT_EQ(gbkToUtf8("\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF"), "\xE4\xB8\xAD\xE5\x9B\xBD\xE7\xA7\xBB\xE5\x8A\xA8");
    EXPECT_EQ(gbkToUtf8("\xD6\xD0\xB9\xFA\xB5\xE7\xD0\xC5"), "\xE4\xB8\xAD\xE5\x9B\xBD\xE7\x94\xB5\xE4\xBF\xA1");
    EXPECT_EQ(gbkToUtf8("CMCC"), "CMCC");
    EXPECT_EQ(gbkToUtf8(""), "");
}

TEST(Text, BytesThatAreNoGbkBecomeReplacementMarks)
{
    // A lone lead byte at the end, a lead byte before a byte that cannot
    // follow it, and a byte no GBK sequence starts with.
    EXPECT_EQ(gbkToUtf8("AB\xD6"), "AB" + kReplacement);
    EXPECT_EQ(gbkToUtf8("\xD6\x0A"
                        "C"),
              kReplacement + "\nC");
    EXPECT_EQ(gbkToUtf8("\xFF"
                        "x"),
              kReplacement + "x");
    // Long names convert whole, beyond any internal buffer size.
    std::string many;
    std::string expected;
    for (int i = 0; i < 300; ++i) {
        many += "\xD6\xD0";
        expected += "\xE4\xB8\xAD";
    }
    EXPECT_EQ(gbkToUtf8(many), expected);
}

TEST(Text, ControlCharactersNeverReachTheTerminal)
{
    EXPECT_EQ(terminalSafe("a\x1B[2Jb\rc\x7F"), "a?[2Jb?c?");
    EXPECT_EQ(terminalSafe("x\xC2\x9B"
                           "y"),
              "x?y");  // C1 control sequence introducer
    EXPECT_EQ(terminalSafe("\xE4\xB8\xAD (46000)"), "\xE4\xB8\xAD (46000)");
    EXPECT_EQ(terminalSafe("\xC2\xA9"), "\xC2\xA9");  // a printable two-byte character stays
}

TEST(SimAnswers, RemainingAttempts)
{
    SimAttempts all = readAttempts("^DRAP: 3,10,2,9\nOK");
    EXPECT_EQ(all.pin, 3);
    EXPECT_EQ(all.puk, 10);
    EXPECT_EQ(all.pin2, 2);
    EXPECT_EQ(all.puk2, 9);

    SimAttempts some = readAttempts("junk\n^DRAP:1, 7\nOK");
    EXPECT_EQ(some.pin, 1);
    EXPECT_EQ(some.puk, 7);
    EXPECT_FALSE(some.pin2.has_value());

    SimAttempts none = readAttempts("+CME ERROR: 10");
    EXPECT_FALSE(none.pin.has_value());
    EXPECT_FALSE(none.puk.has_value());
    // An absurdly long count is cut, not overflowed.
    EXPECT_LE(readAttempts("^DRAP: 99999999999999999999,1").pin.value_or(0), 999999);
}

TEST(SimAnswers, PinLockState)
{
    EXPECT_EQ(readPinLock("+CLCK: 1\nOK"), std::optional<bool>(true));
    EXPECT_EQ(readPinLock("+CLCK: 0\nOK"), std::optional<bool>(false));
    EXPECT_EQ(readPinLock("+CME ERROR: 10"), std::nullopt);
    EXPECT_EQ(readPinLock("+CLCK: \nOK"), std::nullopt);
}

TEST(QosProfile, ClassByNameOrNumberAndBitRates)
{
    std::optional<QosProfile> named = parseQosProfile("interactive,128,2048");
    ASSERT_TRUE(named);
    EXPECT_EQ(named->trafficClass, 2);
    EXPECT_EQ(named->uplinkKbps, 128);
    EXPECT_EQ(named->downlinkKbps, 2048);
    std::optional<QosProfile> numbered = parseQosProfile("0,0,64");
    ASSERT_TRUE(numbered);
    EXPECT_EQ(numbered->trafficClass, 0);
    EXPECT_EQ(qosText(*named), "interactive, 128/2048 kbit/s up/down");

    for (const char* bad : {"", "3,64", "3,64,384,1", "5,64,384", "fast,64,384", "3,-1,384", "3,64,x", "3,64,9999999",
                            "3,,384", "3,64,384\r\nAT+CFUN=0"})
        EXPECT_FALSE(parseQosProfile(bad)) << bad;
}

std::string readSource(const std::string& relative)
{
    std::ifstream file(std::string(CELLCTL_SOURCE_DIR) + "/" + relative);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(CommandTable, EveryCommandHasExamplesOfItselfAndAPlaceInTheManual)
{
    std::string manual = readSource("docs/cellctl.md");
    ASSERT_FALSE(manual.empty()) << "docs/cellctl.md is missing";
    size_t count = 0;
    const CommandEntry* table = commandTable(count);
    for (size_t i = 0; i < count; ++i) {
        std::string path = table[i].path;
        EXPECT_NE(std::string(table[i].examples).find("cellctl " + path), std::string::npos)
            << "the examples of '" << path << "' do not show it";
        EXPECT_NE(manual.find("cellctl " + path), std::string::npos) << "'" << path << "' is not in the manual";
    }
}

TEST(CommandTable, ExitStatusesAreInTheManual)
{
    std::string manual = readSource("docs/cellctl.md");
    for (const ExitStatusEntry& entry : exitStatusTable()) {
        EXPECT_NE(manual.find("| " + std::to_string(entry.status) + " | `" + entry.name + "`"), std::string::npos)
            << "exit status " << entry.status << " (" << entry.name << ") is not in the manual";
    }
}

}  // namespace
}  // namespace cellctl::cli::test
