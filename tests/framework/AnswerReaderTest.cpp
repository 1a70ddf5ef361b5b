#include <gtest/gtest.h>

#include <climits>

#include <cellctl/framework/AtResponseParser.h>
#include <cellctl/framework/NumberReading.h>

namespace {

AtResponseParser parserOver(const std::string& text)
{
    AtResponse response;
    response.text = text;
    return AtResponseParser(response);
}

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

TEST(ExtractQuoted, EscapeRules)
{
    unsigned pos = 0;
    EXPECT_EQ(extractQuoted("\"12\\41\\zB\"", pos), "12A\\zB");
    EXPECT_EQ(pos, 10u);

    pos = 0;
    EXPECT_EQ(extractQuoted("\"\\4\"", pos), std::string(1, '\x04')) << "one hex digit before a non-hex char";
    pos = 0;
    EXPECT_EQ(extractQuoted("\"a\\4", pos), std::string("a\x04", 2)) << "one hex digit at the end";
    pos = 0;
    EXPECT_EQ(extractQuoted("\"ab\\", pos), "ab") << "trailing backslash dropped";
    EXPECT_EQ(pos, 4u);
    pos = 0;
    EXPECT_EQ(extractQuoted("\"\\\\\"", pos), "\\\\") << "each backslash before a non-hex character is kept";
    pos = 0;
    EXPECT_EQ(extractQuoted("\"\\D6\\D0\"", pos), "\xD6\xD0") << "8-bit bytes";
}

TEST(ExtractQuoted, MissingQuotesAndCursor)
{
    unsigned pos = 0;
    EXPECT_EQ(extractQuoted("no quote here", pos), "");
    EXPECT_EQ(pos, 13u);

    pos = 0;
    EXPECT_EQ(extractQuoted("x \"open ended", pos), "open ended");
    EXPECT_EQ(pos, 13u);

    const std::string two = "\"one\",\"two\"";
    pos = 0;
    EXPECT_EQ(extractQuoted(two, pos), "one");
    EXPECT_EQ(extractQuoted(two, pos), "two");
    EXPECT_EQ(extractQuoted(two, pos), "");

    pos = 500;  // past the end is harmless
    EXPECT_EQ(extractQuoted(two, pos), "");
}

TEST(ReadSmallNumber, SkipsBlanksAndCommasAndWrapsIn8Bits)
{
    unsigned pos = 0;
    EXPECT_EQ(readSmallNumber(" ,, 200x", pos), -56);
    EXPECT_EQ(pos, 7u);
    pos = 0;
    EXPECT_EQ(readSmallNumber("127", pos), 127);
    pos = 0;
    EXPECT_EQ(readSmallNumber("256", pos), 0);
    pos = 0;
    EXPECT_EQ(readSmallNumber("abc", pos), 0);
    EXPECT_EQ(pos, 0u);
    pos = 0;
    readSmallNumber(std::string(5000, '9'), pos);
    EXPECT_EQ(pos, 5000u);
}

TEST(HexDigitValue, AllClasses)
{
    EXPECT_EQ(hexDigitValue('0'), 0);
    EXPECT_EQ(hexDigitValue('9'), 9);
    EXPECT_EQ(hexDigitValue('A'), 10);
    EXPECT_EQ(hexDigitValue('f'), 15);
    EXPECT_EQ(hexDigitValue('g'), -1);
    EXPECT_EQ(hexDigitValue('\0'), -1);
    EXPECT_EQ(hexDigitValue('\xD6'), -1);
}

TEST(ReadLeadingInt, MatchesAtoiWhereItFitsAndWrapsBeyond)
{
    EXPECT_EQ(cellctl::readLeadingInt("  -42abc"), -42);
    EXPECT_EQ(cellctl::readLeadingInt("+7"), 7);
    EXPECT_EQ(cellctl::readLeadingInt("\t\n1,2"), 1);
    EXPECT_EQ(cellctl::readLeadingInt("+CREG: 1"), 0);
    EXPECT_EQ(cellctl::readLeadingInt(""), 0);
    EXPECT_EQ(cellctl::readLeadingInt("-"), 0);
    EXPECT_EQ(cellctl::readLeadingInt("2147483647"), INT_MAX);
    EXPECT_EQ(cellctl::readLeadingInt("-2147483648"), INT_MIN);
    EXPECT_EQ(cellctl::readLeadingInt("4294967297"), 1);
    cellctl::readLeadingInt(std::string(1000, '9'));  // defined, whatever it yields
}

}  // namespace
