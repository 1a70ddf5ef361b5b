// The dialect's pieces without a device: command lines, answer shaping,
// the scan normalisation, name decoding, refusals and masking.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <cellctl/at/AnswerShaping.h>
#include <cellctl/at/CommandLine.h>
#include <cellctl/at/Dialect.h>
#include <cellctl/at/OperatorNames.h>
#include <cellctl/at/OperatorScan.h>
#include <cellctl/at/ParameterSafety.h>
#include <cellctl/at/TraceFormat.h>

namespace cellctl::at {
namespace {

const std::string kChinaMobileGbk = "\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF";

std::optional<std::string> shaped(Shaping shaping, std::vector<std::string> lines, std::string final,
                                  std::string text = "", bool hex = false)
{
    SessionState session;
    session.names = hex ? NameEncoding::Hex : NameEncoding::Plain;
    return shapeAnswer(shaping, text, RawAnswer{std::move(lines), std::move(final)}, session);
}

std::optional<std::string> report(const std::string& line)
{
    const DialectEntry* entry = findReportEntry(line);
    return entry == nullptr ? std::nullopt : shapeReport(*entry, line);
}

PreparedCommand prepared(RequestKind kind, int code, const std::string& text = "", bool hex = false)
{
    SessionState session;
    session.names = hex ? NameEncoding::Hex : NameEncoding::Plain;
    return prepareCommand(Request{kind, code, text}, session);
}

TEST(DialectTable, CoversEveryCodeTheLibraryUsesAndNoOther)
{
    const std::vector<int> queries = {3, 6, 10, 11, 12, 21, 62, 93, 94, 111, 115, 120, 128, 132, 133, 153, 165};
    std::vector<int> modifies = {11, 21, 37, 50, 63, 64, 93, 94, 130, 132, 133, 156, 157, 164};
    for (int code = 112; code <= 127; ++code)
        if (code != 117)
            modifies.push_back(code);
    for (int code = 134; code <= 146; ++code)
        modifies.push_back(code);
    const std::vector<int> reports = {10, 117, 149, 158, 159};

    for (int code : queries)
        EXPECT_FALSE(prepared(RequestKind::Query, code).refused()) << "query " << code;
    for (int code : modifies)
        EXPECT_FALSE(prepared(RequestKind::Modify, code, code >= 134 && code <= 146 ? "AT+X=1" : "1").refused())
            << "modify " << code;
    for (int code : reports) {
        const DialectEntry* entry = findEntry(code);
        ASSERT_NE(entry, nullptr) << code;
        EXPECT_NE(entry->reportPrefix, nullptr) << code;
    }
    int known = 0;
    for (int code = -5; code < 400; ++code)
        known += findEntry(code) != nullptr;
    EXPECT_EQ(known, 55);
    EXPECT_TRUE(prepared(RequestKind::Query, 999).refused());
    EXPECT_TRUE(prepared(RequestKind::Modify, 3, "1").refused());
    EXPECT_TRUE(prepared(RequestKind::Query, 63).refused());
}

TEST(CommandLines, WholeLinesTakeTheirOwnCommandsInformationLines)
{
    PreparedCommand storage = prepared(RequestKind::Modify, 145, "AT+CPMS=ME,ME,ME");
    EXPECT_TRUE(storage.ownsByPrefix("+CPMS: 0,50,0,50,0,50"));
    EXPECT_FALSE(storage.ownsByPrefix("+CREG: 1"));
    EXPECT_FALSE(prepared(RequestKind::Modify, 141, "1").takesInformationLines);
    EXPECT_TRUE(prepared(RequestKind::Query, 3).takesUnprefixedLine("REV 1.2.3", {}));
    EXPECT_FALSE(prepared(RequestKind::Query, 3).takesUnprefixedLine("RING", {}));
}

TEST(CommandLines, TimeoutsFitTheCommand)
{
    using std::chrono::seconds;
    EXPECT_EQ(prepared(RequestKind::Query, 6).timeout, seconds(3));
    EXPECT_EQ(prepared(RequestKind::Query, 12).timeout, seconds(300));
    EXPECT_EQ(prepared(RequestKind::Modify, 11, "1,2,\"46000\"").timeout, seconds(120));
    EXPECT_EQ(prepared(RequestKind::Modify, 118, "1").timeout, seconds(150));
    EXPECT_EQ(prepared(RequestKind::Query, 62).timeout, seconds(10));
    EXPECT_EQ(prepared(RequestKind::Query, 93).timeout, seconds(20));
    EXPECT_EQ(prepared(RequestKind::Modify, 126, "1,0").timeout, seconds(30));
    EXPECT_EQ(prepared(RequestKind::Modify, 136, "AT+CFUN=1,0").timeout, seconds(30));
}

TEST(CommandLines, TextsThatWouldSmuggleACommandAreRefused)
{
    const std::vector<std::string> smugglers = {"12\r34", "12\n", std::string("12\0", 3), "12\x1a",
                                                "\x1b"
                                                "1"};
    for (const std::string& bad : smugglers) {
        EXPECT_TRUE(prepared(RequestKind::Modify, 63, bad).refused());
        EXPECT_TRUE(prepared(RequestKind::Modify, 121, "1,\"IP\",\"" + bad + "\",,0,0").refused());
        EXPECT_TRUE(prepared(RequestKind::Modify, 134, "AT+CSSN=1,1" + bad).refused());
    }
    EXPECT_TRUE(prepared(RequestKind::Modify, 121, "1,\"IP\",\"x\";+CFUN=0;+CGDCONT=2,\"IP\",\"y\",,0,0").refused());
    EXPECT_FALSE(prepared(RequestKind::Modify, 121, "1,\"IP\",\"a;b\",,0,0").refused());
    EXPECT_TRUE(prepared(RequestKind::Modify, 63, "12\",\"34").refused());
    EXPECT_TRUE(prepared(RequestKind::Modify, 134, "+CSSN=1,1").refused());
    EXPECT_EQ(forbiddenCharacterIn("ab\x1a"), "Ctrl-Z");
    EXPECT_FALSE(chainsAnotherCommand("AT+CGDCONT=1,\"IP\",\"a;b\""));
}

TEST(AnswerShaping, RegistrationReadPutsTheStatusFirst)
{
    EXPECT_EQ(shaped(Shaping::RegistrationRead, {"+CREG: 0,1"}, "OK"), "1\nOK");
    EXPECT_EQ(shaped(Shaping::RegistrationRead, {"+CREG: 2,5,\"00A1\",\"1B2C\""}, "OK"), "5,\"00A1\",\"1B2C\"\nOK");
    EXPECT_EQ(shaped(Shaping::RegistrationRead, {}, "+CME ERROR: 10"), std::nullopt);
}

TEST(AnswerShaping, CharacterSetIsRememberedOnlyWhenAccepted)
{
    SessionState session;
    shapeAnswer(Shaping::CharacterSetChoice, "\"HEX\"", RawAnswer{{}, "ERROR"}, session);
    EXPECT_EQ(session.names, NameEncoding::Plain);
    shapeAnswer(Shaping::CharacterSetChoice, "\"HEX\"", RawAnswer{{}, "OK"}, session);
    EXPECT_EQ(session.names, NameEncoding::Hex);
    shapeAnswer(Shaping::CharacterSetChoice, "\"UCS2\"", RawAnswer{{}, "OK"}, session);
    EXPECT_EQ(session.names, NameEncoding::Ucs2);
    shapeAnswer(Shaping::CharacterSetChoice, "\"IRA\"", RawAnswer{{}, "OK"}, session);
    EXPECT_EQ(session.names, NameEncoding::Plain);
}

TEST(AnswerShaping, OperatorNamesAreDecodedUnderHexOnly)
{
    EXPECT_EQ(shaped(Shaping::CurrentOperator, {"+COPS: 0,0,\"D6D0B9FAD2C6B6AF\",2"}, "OK", "", true),
              "+COPS: 0,0,\"" + kChinaMobileGbk + "\",2\nOK");
    EXPECT_EQ(shaped(Shaping::CurrentOperator, {"+COPS: 0,2,\"46000\",2"}, "OK", "", true),
              "+COPS: 0,2,\"46000\",2\nOK");
    EXPECT_EQ(shaped(Shaping::CurrentOperator, {"+COPS: 0,1,\"CMCC\",2"}, "OK", "", true), "+COPS: 0,1,\"CMCC\",2\nOK");
    EXPECT_EQ(shaped(Shaping::CurrentOperator, {"+COPS: 0,1,\"434D4343\",2"}, "OK", "", false),
              "+COPS: 0,1,\"434D4343\",2\nOK");
    EXPECT_EQ(shaped(Shaping::PreferredOperators, {"+CPOL: 1,1,\"434D4343\",0,0,1", "+CPOL: 2,2,\"46001\",1,0,0"}, "OK",
                     "", true),
              "+CPOL: 1,1,\"CMCC\",0,0,1\n+CPOL: 2,2,\"46001\",1,0,0\nOK");
}

TEST(OperatorNames, HexNamesDecodedAndEscapedForTheQuotedForm)
{
    EXPECT_EQ(shapeNameField("225C", NameEncoding::Hex), "\\22\\5C");
    EXPECT_EQ(shapeNameField("ABC", NameEncoding::Hex), "ABC");
}

TEST(OperatorScan, FieldCasesBecomeOneFullyQuotedLine)
{
    // One operator per line, the lists on a line of their own.
    EXPECT_EQ(normaliseOperatorScan({"+COPS: (2,\"CMCC\",\"CMCC\",\"46000\",2)",
                                     "+COPS: (1,\"CUCC\",\"CUCC\",\"46001\",0)", "+COPS: ,,(0,1,2,3,4),(0,1,2)"},
                                    NameEncoding::Plain),
              "+COPS: (2,\"CMCC\",\"CMCC\",\"46000\",2),(1,\"CUCC\",\"CUCC\",\"46001\",0),,(0,1,2,3,4),(0,1,2)");
    // A list broken inside a tuple and between tuples.
    EXPECT_EQ(normaliseOperatorScan(
                  {"+COPS: (2,\"CMCC\",", "\"CMCC\",\"46000\",2),", "(3,\"CUCC\",\"CUCC\",\"46001\",0),,(0,1),(0,2)"},
                  NameEncoding::Plain),
              "+COPS: (2,\"CMCC\",\"CMCC\",\"46000\",2),(3,\"CUCC\",\"CUCC\",\"46001\",0),,(0,1),(0,2)");
    // An empty name left unquoted; a tuple closed before its access technology.
    EXPECT_EQ(normaliseOperatorScan({"+COPS: (2,\"Name\",,\"31026\"),(1,\"A\",\"B\",\"310260\"),2),,(0,1),(0,2)"},
                                    NameEncoding::Plain),
              "+COPS: (2,\"Name\",\"\",\"31026\"),(1,\"A\",\"B\",\"310260\",2),,(0,1),(0,2)");
    // Hex names decoded; bytes that would break the quotes escaped.
    EXPECT_EQ(normaliseOperatorScan(
                  {"+COPS: (2,\"D6D0B9FAD2C6B6AF\",\"434D4343\",\"46000\",2),(1,\"225C\",\"XYZ\",\"46001\",0)"},
                  NameEncoding::Hex),
              "+COPS: (2,\"" + kChinaMobileGbk + "\",\"CMCC\",\"46000\",2),(1,\"\\22\\5C\",\"XYZ\",\"46001\",0)");
    // No operator at all.
    EXPECT_EQ(normaliseOperatorScan({"+COPS: ,,(0,1,2,3,4),(0,1,2)"}, NameEncoding::Plain),
              "+COPS: ,,(0,1,2,3,4),(0,1,2)");
}

TEST(Reports, LinesThatOnlyLookLikeReportsAreNone)
{
    EXPECT_EQ(report("+CREG: \"1\""), std::nullopt);
    EXPECT_EQ(report("^DSTMR: -1,5"), "-1");
    EXPECT_EQ(report("^DSTMR: x"), std::nullopt);
    EXPECT_EQ(report("+CGEV: ME DETACH"), std::nullopt);
    EXPECT_TRUE(isIgnoredUnsolicited("RING"));
    EXPECT_TRUE(isIgnoredUnsolicited("+CPIN: READY"));
}

TEST(Trace, SecretsAreMaskedWhoeverSendsThem)
{
    EXPECT_EQ(maskSecrets("AT+CPIN=\"1234\""), "AT+CPIN=***");
    EXPECT_EQ(maskSecrets("at+cpin=\"12345678\",\"4321\""), "at+cpin=***");
    EXPECT_EQ(maskSecrets("AT+CLCK=\"SC\",1,\"1234\""), "AT+CLCK=\"SC\",***");
    EXPECT_EQ(maskSecrets("AT+CPWD=\"P2\",\"1111\",\"2222\""), "AT+CPWD=\"P2\",***");
    EXPECT_EQ(maskSecrets("AT+CMEE=1;+CPIN=\"1234\";+CSQ"), "AT+CMEE=1;+CPIN=***;+CSQ");
    EXPECT_EQ(maskSecrets("AT+CPIN?"), "AT+CPIN?");
    EXPECT_EQ(maskSecrets("+CPIN: READY"), "+CPIN: READY");
    EXPECT_EQ(printable(std::string("a\0\x1b\r\xB9", 5)), "a\\x00\\x1B\\x0D\xB9");
}

}  // namespace
}  // namespace cellctl::at
