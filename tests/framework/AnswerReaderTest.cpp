#include <gtest/gtest.h>

#include <climits>

#include <cellctl/framework/AtResponseParser.h>

namespace cellctl {
namespace {

AtResponseParser parserOver(const std::string& text) { return AtResponseParser(AtResponse{text}); }

TEST(FindLine, MatchesPrefixOnlyAtLineStartAndStripsBlanks)
{
    AtResponseParser parser = parserOver("+CFUN: 1\nOK");
    ASSERT_TRUE(parser.findLine("+CFUN: "));
    EXPECT_EQ(parser.currentLine(), "1");
    EXPECT_EQ(parser.readInt(), 1);

    AtResponseParser notAtStart = parserOver("x+CFUN: 1\nOK");
    EXPECT_FALSE(notAtStart.findLine("+CFUN:"));
    EXPECT_EQ(notAtStart.currentLine(), "OK") << "on failure the last examined line stays current";
    EXPECT_EQ(notAtStart.readInt(), 0);
}

TEST(FindLine, WalksForwardThroughRepeatedPrefixes)
{
    AtResponseParser parser = parserOver("+CPOL: 1,2,\"46000\"\n+CPOL:   2,2,\"46001\"\nOK");
    ASSERT_TRUE(parser.findLine("+CPOL:"));
    EXPECT_EQ(parser.currentLine(), "1,2,\"46000\"");
    ASSERT_TRUE(parser.findLine("+CPOL:"));
    EXPECT_EQ(parser.currentLine(), "2,2,\"46001\"");
    EXPECT_FALSE(parser.findLine("+CPOL:"));
    EXPECT_FALSE(parser.findLine("")) << "the answer is used up";
    EXPECT_EQ(parser.currentLine(), "OK");
}

TEST(FindLine, EmptyAnswerLeavesLineEmpty)
{
    AtResponseParser parser = parserOver("");
    EXPECT_FALSE(parser.findLine("+CFUN: "));
    EXPECT_EQ(parser.currentLine(), "");
    EXPECT_EQ(parser.readInt(), 0);
}

TEST(FindLine, EmptyPrefixMatchesNextLineAndCarriageReturnStays)
{
    AtResponseParser parser = parserOver("first\r\nsecond");
    ASSERT_TRUE(parser.findLine(""));
    EXPECT_EQ(parser.currentLine(), "first\r");
    ASSERT_TRUE(parser.findLine(""));
    EXPECT_EQ(parser.currentLine(), "second");
}

TEST(TextConstructor, StandsOnFirstLinesOwnPrefix)
{
    AtResponseParser parser(std::string("^DSTM: 2,0,1\nOK"));
    EXPECT_EQ(parser.currentLine(), "2,0,1");
    EXPECT_EQ(parser.readInt(), 2);

    AtResponseParser noColon(std::string("OK"));
    EXPECT_EQ(noColon.currentLine(), "") << "the whole text is the prefix, leaving nothing after it";

    AtResponseParser laterLine(std::string("+X: 5\n+Y: 6\n+X: 7"));
    EXPECT_EQ(laterLine.readInt(), 5);
    ASSERT_TRUE(laterLine.findLine("+X:"));
    EXPECT_EQ(laterLine.readInt(), 7);
}

TEST(ReadFields, IntSkipsOneCommaAndBlanks)
{
    AtResponseParser parser = parserOver("+N: 12,  34,x");
    ASSERT_TRUE(parser.findLine("+N:"));
    EXPECT_EQ(parser.readInt(), 12);
    EXPECT_EQ(parser.readDigit(), 3) << "read position stands on the 3";
    EXPECT_EQ(parser.readInt(), 34);
    EXPECT_EQ(parser.readInt(), 0) << "no digits at 'x'";
}

TEST(ReadFields, DigitSkipsNonDigitsWithoutConsuming)
{
    AtResponseParser parser = parserOver("+N: (ab7)");
    ASSERT_TRUE(parser.findLine("+N:"));
    EXPECT_EQ(parser.readDigit(), 7);
    EXPECT_EQ(parser.readDigit(), 7);
    EXPECT_EQ(parser.readInt(), 7);
    EXPECT_EQ(parser.readDigit(), 0) << "end of line";
}

TEST(ReadFields, QuotedThenCommaThenBlanks)
{
    AtResponseParser parser = parserOver("+COPS: \"Long\\22Name\",  \"S\",7");
    ASSERT_TRUE(parser.findLine("+COPS:"));
    EXPECT_EQ(parser.readQuoted(), "Long\"Name");
    EXPECT_EQ(parser.readQuoted(), "S");
    EXPECT_EQ(parser.readInt(), 7);
}

TEST(ReadFields, LongDigitStringWrapsModulo2To32)
{
    // 4294967296 + 5 wraps to 5; 2147483648 wraps to INT_MIN. No overflow UB.
    AtResponseParser parser = parserOver("+N: 4294967301,2147483648,99999999999999999999999999");
    ASSERT_TRUE(parser.findLine("+N:"));
    EXPECT_EQ(parser.readInt(), 5);
    EXPECT_EQ(parser.readInt(), INT_MIN);
    parser.readInt();  // must merely be defined
}

}  // namespace
}  // namespace cellctl
