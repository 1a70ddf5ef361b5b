#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <cellctl/at/LineFramer.h>

namespace cellctl::at {
namespace {

struct Framed {
    std::vector<std::string> lines;
    std::vector<std::pair<std::size_t, bool>> overlong;

    LineFramer framer(std::size_t maxLineLength)
    {
        return LineFramer(maxLineLength, LineFramer::Sinks{[this](const std::string& line) { lines.push_back(line); },
                                                           [this](std::size_t dropped, bool ended) {
                                                               overlong.emplace_back(dropped, ended);
                                                           }});
    }
};

TEST(LineFramer, CrLfBareCrAndBareLfAllEndLinesAndEmptyLinesVanish)
{
    Framed framed;
    LineFramer framer = framed.framer(64);
    std::string bytes = "\r\n+CSQ: 1,2\r\n\r\nOK\rRING\nNO CARRIER\n\n\r";
    framer.feed(bytes.data(), bytes.size());
    EXPECT_EQ(framed.lines, (std::vector<std::string>{"+CSQ: 1,2", "OK", "RING", "NO CARRIER"}));
}

TEST(LineFramer, OverlongLineIsDroppedWholeAndMemoryStaysBounded)
{
    Framed framed;
    LineFramer framer = framed.framer(16);
    std::string huge(1 << 20, 'x');
    for (std::size_t offset = 0; offset < huge.size(); offset += 4096) {
        framer.feed(huge.data() + offset, 4096);
        ASSERT_LE(framer.bufferCapacity(), 64u);
    }
    EXPECT_TRUE(framed.lines.empty());
    ASSERT_EQ(framed.overlong.size(), 1u);
    EXPECT_FALSE(framed.overlong[0].second);

    std::string rest = "tail\r\nOK\r\n";
    framer.feed(rest.data(), rest.size());
    EXPECT_EQ(framed.lines, std::vector<std::string>{"OK"});
    ASSERT_EQ(framed.overlong.size(), 2u);
    EXPECT_EQ(framed.overlong[1], std::make_pair(huge.size() + 4, true));
}

TEST(LineFramer, LineOfExactlyTheLimitIsKept)
{
    Framed framed;
    LineFramer framer = framed.framer(4);
    std::string bytes = "1234\r\n12345\r\nOK\r\n";
    framer.feed(bytes.data(), bytes.size());
    EXPECT_EQ(framed.lines, (std::vector<std::string>{"1234", "OK"}));
}

TEST(LineFramer, ResetForgetsAPartialLine)
{
    Framed framed;
    LineFramer framer = framed.framer(64);
    framer.feed("+CS", 3);
    framer.reset();
    framer.feed("OK\r", 3);
    EXPECT_EQ(framed.lines, std::vector<std::string>{"OK"});
}

}  // namespace
}  // namespace cellctl::at
