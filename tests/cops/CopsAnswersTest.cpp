// Device answers in, typed host callbacks out.

#include "CopsFixture.h"

namespace {

using CopsAnswers = cellctl::test::CopsFixture;

const std::string kMobile = "\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF";
const std::string kUnicom = "\xD6\xD0\xB9\xFA\xC1\xAA\xCD\xA8";

TEST_F(CopsAnswers, CurrentOperatorInEachFormat)
{
    line.answerQuery(11, "+COPS: 1,2,\"46001\",2\nOK");
    ASSERT_EQ(current.size(), 1u);
    EXPECT_EQ(current[0].GetModeType(), CCopsInfo::ModeManual);
    EXPECT_EQ(current[0].GetFormat(), CCopsInfo::FormatNumeric);
    EXPECT_EQ(current[0].GetAccessTechType(), CCopsInfo::AccessTechTd);
    EXPECT_EQ(current[0].GetOperatorNumericName(), "46001");
    EXPECT_EQ(current[0].GetOperatorLongName(), kUnicom);
    EXPECT_EQ(current[0].GetOperatorShortName(), "CUCC");

    // A long name replaces only the long name; the rest stays from before.
    line.answerQuery(11, "+COPS: 0,0,\"" + kMobile + "\",0\nOK");
    ASSERT_EQ(current.size(), 2u);
    EXPECT_EQ(current[1].GetModeType(), CCopsInfo::ModeAutomatic);
    EXPECT_EQ(current[1].GetFormat(), CCopsInfo::FormatLong);
    EXPECT_EQ(current[1].GetAccessTechType(), CCopsInfo::AccessTechGsm);
    EXPECT_EQ(current[1].GetOperatorLongName(), kMobile);
    EXPECT_EQ(current[1].GetOperatorShortName(), "CUCC");
    EXPECT_EQ(current[1].GetOperatorNumericName(), "46001");

    line.answerQuery(11, "+COPS: 0,1,\"CMCC\",2\nOK");
    EXPECT_EQ(current.at(2).GetOperatorShortName(), "CMCC");
    EXPECT_EQ(current.at(2).GetOperatorLongName(), kMobile);

    // An unknown numeric code blanks both display names.
    line.answerQuery(11, "+COPS: 1,2,\"45400\",2\nOK");
    EXPECT_EQ(current.at(3).GetOperatorNumericName(), "45400");
    EXPECT_EQ(current.at(3).GetOperatorLongName(), "");
    EXPECT_EQ(current.at(3).GetOperatorShortName(), "");
}

TEST_F(CopsAnswers, CurrentOperatorModeOnlyAndErrorAnswer)
{
    line.answerQuery(11, "+COPS: 1,0,\"Old\",2\nOK");
    line.answerQuery(11, "+COPS: 0\nOK");
    ASSERT_EQ(current.size(), 2u);
    EXPECT_EQ(current[1].GetModeType(), 0);
    EXPECT_EQ(current[1].GetFormat(), 0);
    EXPECT_EQ(current[1].GetOperatorLongName(), "");
    EXPECT_EQ(current[1].GetAccessTechType(), 0);

    // No +COPS line: fields come from the last line and read as zeros; the
    // host still hears about it.
    line.answerQuery(11, "+CME ERROR: 30");
    ASSERT_EQ(current.size(), 3u);
    EXPECT_EQ(current[2].GetModeType(), 0);
    EXPECT_EQ(current[2].GetOperatorLongName(), "");
}

TEST_F(CopsAnswers, ScanListsEveryTupleAsSent)
{
    line.answerQuery(12, "+COPS: (2,\"" + kMobile +
                             "\",\"CMCC\",\"46000\",2),"
                             "(1,\"UNICOM\",\"CU\",\"46001\",0),"
                             "(3,\"Test \\22Net\\22\",\"T\\zN\",\"46099\"),"
                             "(1,\"Last\",\"L\",\"46098\",1),,(0,1,2,3,4),(0,1,2)\nOK");
    ASSERT_EQ(available.size(), 1u);
    const std::vector<CCopsInfo>& list = available[0];
    ASSERT_EQ(list.size(), 4u);

    EXPECT_EQ(list[0].GetState(), CCopsInfo::StateCurrent);
    EXPECT_EQ(list[0].GetOperatorLongName(), kMobile);
    EXPECT_EQ(list[0].GetOperatorShortName(), "CMCC");
    EXPECT_EQ(list[0].GetOperatorNumericName(), "46000");
    EXPECT_EQ(list[0].GetAccessTechType(), CCopsInfo::AccessTechTd);

    // Names are taken as sent, with no table lookup.
    EXPECT_EQ(list[1].GetState(), CCopsInfo::StateAvailable);
    EXPECT_EQ(list[1].GetOperatorLongName(), "UNICOM");
    EXPECT_EQ(list[1].GetOperatorShortName(), "CU");
    EXPECT_EQ(list[1].GetAccessTechType(), CCopsInfo::AccessTechGsm);

    // A tuple without access technology reads 0 and the next tuple still parses.
    EXPECT_EQ(list[2].GetState(), CCopsInfo::StateForbidden);
    EXPECT_EQ(list[2].GetOperatorLongName(), "Test \"Net\"");
    EXPECT_EQ(list[2].GetOperatorShortName(), "T\\zN");
    EXPECT_EQ(list[2].GetAccessTechType(), 0);
    EXPECT_EQ(list[3].GetOperatorNumericName(), "46098");
    EXPECT_EQ(list[3].GetAccessTechType(), CCopsInfo::AccessTechGsmCompact);

    for (const CCopsInfo& entry : list) {
        EXPECT_EQ(entry.GetPreferredPLMNListIndex(), 0);
        EXPECT_EQ(entry.GetFormat(), 0);
        EXPECT_FALSE(entry.GetPreferredPLMNListGsmSelected());
    }
}

TEST_F(CopsAnswers, ScanWithoutOperatorsReportsAnEmptyList)
{
    line.answerQuery(12, "+COPS: ,,(0,1,2,3,4),(0,1,2)\nOK");
    line.answerQuery(12, "+CME ERROR: 30");
    ASSERT_EQ(available.size(), 2u);
    EXPECT_TRUE(available[0].empty());
    EXPECT_TRUE(available[1].empty());
}

TEST_F(CopsAnswers, PreferredListLineByLine)
{
    line.answerQuery(93,
                     "+CPOL: 1,2,\"46000\",1,0,1\n"
                     "+CPOL: 2,0,\"" +
                         kUnicom +
                         "\",0,1,0\n"
                         "+CPOL: 200,2,\"46001\",1,1,1\n"
                         "+CPOL: 4,1,\"Q\\22\\y\",0,0,0\n"
                         "OK");
    ASSERT_EQ(preferred.size(), 1u);
    const std::vector<CCopsInfo>& list = preferred[0];
    ASSERT_EQ(list.size(), 4u);

    EXPECT_EQ(list[0].GetPreferredPLMNListIndex(), 1);
    EXPECT_EQ(list[0].GetFormat(), CCopsInfo::FormatNumeric);
    EXPECT_EQ(list[0].GetOperatorNumericName(), "46000");
    EXPECT_EQ(list[0].GetOperatorLongName(), "");  // no table lookup
    EXPECT_TRUE(list[0].GetPreferredPLMNListGsmSelected());
    EXPECT_FALSE(list[0].GetPreferredPLMNListGsmCompactSelected());
    EXPECT_TRUE(list[0].GetPreferredPLMNListTDSelected());

    EXPECT_EQ(list[1].GetFormat(), CCopsInfo::FormatLong);
    EXPECT_EQ(list[1].GetOperatorLongName(), kUnicom);
    EXPECT_EQ(list[1].GetOperatorNumericName(), "46000");  // kept from line 1
    EXPECT_FALSE(list[1].GetPreferredPLMNListGsmSelected());
    EXPECT_TRUE(list[1].GetPreferredPLMNListGsmCompactSelected());
    EXPECT_FALSE(list[1].GetPreferredPLMNListTDSelected());

    // Indices are 8-bit on the wire: 200 wraps to -56.
    EXPECT_EQ(list[2].GetPreferredPLMNListIndex(), -56);
    EXPECT_EQ(list[2].GetOperatorNumericName(), "46001");
    EXPECT_EQ(list[2].GetOperatorLongName(), kUnicom);  // kept from line 2

    EXPECT_EQ(list[3].GetOperatorShortName(), "Q\"\\y");
}

TEST_F(CopsAnswers, PreferredListWithoutLinesAndSelector)
{
    line.answerQuery(93, "OK");
    ASSERT_EQ(preferred.size(), 1u);
    EXPECT_TRUE(preferred[0].empty());

    line.answerQuery(94, "+CPLS: 2\nOK");
    line.answerQuery(94, "ERROR");
    ASSERT_EQ(selectors.size(), 2u);
    EXPECT_EQ(selectors[0].GetSelector(), 2);
    EXPECT_EQ(selectors[1].GetSelector(), 0);
}

TEST_F(CopsAnswers, ModifyAnswersReportOkAnywhere)
{
    line.answerModify(11, "OK");
    line.answerModify(11, "+CME ERROR: 30");
    line.answerModify(94, "\nOK\n");
    line.answerModify(94, "ERROR");
    line.answerModify(93, "+CPOL: done\nOK");  // write and delete share code 93
    line.answerModify(93, "+CME ERROR: 3");
    line.answerModify(93, "ok");
    EXPECT_EQ(selected, (std::vector<bool>{true, false}));
    EXPECT_EQ(selectorSet, (std::vector<bool>{true, false}));
    EXPECT_EQ(listChanged, (std::vector<bool>{true, false, false}));
}

TEST_F(CopsAnswers, OtherCodesAreIgnored)
{
    line.answerQuery(10, "+COPS: 1,2,\"46000\",2\nOK");
    line.answerModify(12, "OK");
    line.answerQuery(130, "OK");
    EXPECT_EQ(reports(), 0u);
}

}  // namespace
