// The text kit on the edges of untrusted device text: hex that is not whole
// or not hex, quoted fields with escapes and embedded quotes, numbers too long
// for their type.
#include <climits>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <cellctl/text/Fields.h>
#include <cellctl/text/Hex.h>
#include <cellctl/text/Numbers.h>
#include <cellctl/text/Quoting.h>

namespace cellctl::text {
namespace {

TEST(Hex, DigitsOfEitherCaseOnly)
{
    const struct {
        char c;
        int value;
    } digits[] = {{'0', 0}, {'9', 9}, {'A', 10}, {'f', 15}, {'g', -1}, {'\0', -1}, {'\xD6', -1}};
    for (const auto& d : digits)
        EXPECT_EQ(hexDigitValue(d.c), d.value) << static_cast<int>(d.c);
}

TEST(Hex, EncodesEveryByteAndDecodesOnlyWholeValidHex)
{
    EXPECT_EQ(hexEncode("\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF"), "D6D0B9FAD2C6B6AF");
    EXPECT_EQ(hexEncode(std::string("\0A", 2)), "0041");

    EXPECT_EQ(hexDecode("434d4343"), "CMCC");
    EXPECT_EQ(hexDecode("D6d0"), std::string("\xD6\xD0"));
    EXPECT_EQ(hexDecode(""), "");
    EXPECT_EQ(hexDecode("434"), std::nullopt) << "odd length";
    EXPECT_EQ(hexDecode("43G4"), std::nullopt);
    EXPECT_EQ(hexDecode("D6ZZ"), std::nullopt);
}

TEST(Quoting, EscapeRules)
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

TEST(Quoting, MissingQuotesAndCursor)
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

TEST(Quoting, EmbeddedQuotesTravelEscapedAndReadBackWhole)
{
    const std::string bytes("a\"b\\c\x01\xB9", 7);
    const std::string escaped = escapeForQuotes(bytes);
    EXPECT_EQ(escaped, "a\\22b\\5Cc\\01\xB9");
    // A field that follows is read from where the escaped one ended.
    const std::string line = inQuotes(escaped) + ",\"next\"";
    unsigned pos = 0;
    EXPECT_EQ(extractQuoted(line, pos), bytes);
    EXPECT_EQ(extractQuoted(line, pos), "next");
    // A field split keeps a quoted comma in its field.
    EXPECT_EQ(splitFields("1,\"a,b\",2"), (std::vector<std::string>{"1", "\"a,b\"", "2"}));

    EXPECT_TRUE(isQuoted(" \"x\" "));
    EXPECT_FALSE(isQuoted("\""));
    EXPECT_EQ(unquote(" \"x\" "), "x");
    EXPECT_EQ(unquote(" x "), "x");
}

TEST(Numbers, SmallNumbersSkipBlanksAndCommasAndWrapIn8Bits)
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

TEST(Numbers, LeadingIntMatchesAtoiWhereItFitsAndWrapsBeyond)
{
    EXPECT_EQ(readLeadingInt("  -42abc"), -42);
    EXPECT_EQ(readLeadingInt("+7"), 7);
    EXPECT_EQ(readLeadingInt("\t\n1,2"), 1);
    EXPECT_EQ(readLeadingInt("+CREG: 1"), 0);
    EXPECT_EQ(readLeadingInt(""), 0);
    EXPECT_EQ(readLeadingInt("-"), 0);
    EXPECT_EQ(readLeadingInt("2147483647"), INT_MAX);
    EXPECT_EQ(readLeadingInt("-2147483648"), INT_MIN);
    EXPECT_EQ(readLeadingInt("4294967297"), 1);
    readLeadingInt(std::string(1000, '9'));  // defined, whatever it yields
}

TEST(Numbers, FieldListsStopAtTheFirstFieldThatIsNoNumber)
{
    const struct {
        const char* answer;
        std::vector<int> numbers;
    } lists[] = {
        {"junk\n^DRAP: 0007, 3 ,x,2\nOK", {7, 3}},
        {"^DRAP: \nOK", {}},
        {"^DRAP: 99999999999999999999,1", {}},  // too long for a count: refused, not overflowed
        {"^DRAP: 999999,1", {999999, 1}},
    };
    for (const auto& list : lists) {
        const std::optional<std::string_view> fields = lineAfter(list.answer, "^DRAP:");
        EXPECT_EQ(readNumberList(fields.value_or("")), list.numbers) << list.answer;
    }
    EXPECT_EQ(lineAfter("+CME ERROR: 10", "^DRAP:"), std::nullopt);
    EXPECT_EQ(lineAfter("a\n+X:  1,2\n+X: 3", "+X:"), "1,2");
}

TEST(Fields, LinesCountOnlyWhereThePrefixBeginsThem)
{
    EXPECT_EQ(countLinesStartingWith("+CPOL: 1\nx +CPOL: 2\n+CPOL: 3\r\n+CPOL\n+CPOL: 4", "+CPOL:"), 3u);
    EXPECT_EQ(countLinesStartingWith("", "+CPOL:"), 0u);
}

}  // namespace
}  // namespace cellctl::text
