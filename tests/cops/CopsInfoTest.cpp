#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <cellctl/cops/CCopsInfo.h>

namespace {

// GBK bytes written as numbers, independent of how the library spells them.
std::string bytes(std::initializer_list<unsigned char> values) { return std::string(values.begin(), values.end()); }

const std::string kMobile = bytes({0xD6, 0xD0, 0xB9, 0xFA, 0xD2, 0xC6, 0xB6, 0xAF});
const std::string kUnicom = bytes({0xD6, 0xD0, 0xB9, 0xFA, 0xC1, 0xAA, 0xCD, 0xA8});
const std::string kTelecom = bytes({0xD6, 0xD0, 0xB9, 0xFA, 0xB5, 0xE7, 0xD0, 0xC5});
const std::string kNetcom = bytes({0xD6, 0xD0, 0xB9, 0xFA, 0xCD, 0xF8, 0xCD, 0xA8});

TEST(CopsInfoNames, EveryOperatorRowByteForByte)
{
    struct Row {
        const char* numeric;
        std::string longName;
        const char* shortName;
    };
    const Row rows[] = {
        {"46000", kMobile, "CMCC"}, {"46002", kMobile, "CMCC"}, {"46007", kMobile, "CMCC"},
        {"46001", kUnicom, "CUCC"}, {"46005", kTelecom, "CTC"}, {"46006", kNetcom, "CNC"},
    };
    CCopsInfo record;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.numeric);
        EXPECT_EQ(CCopsInfo::GetOperatorLongNameFromNumeric(row.numeric), row.longName);
        EXPECT_EQ(CCopsInfo::GetOperatorShortNameFromNumeric(row.numeric), row.shortName);
        EXPECT_EQ(record.GetLongNameFromNumeric(row.numeric), row.longName);
        EXPECT_EQ(record.GetShortNameFromNumeric(row.numeric), row.shortName);
    }
}

TEST(CopsInfoNames, OnlyExactCodesMatch)
{
    for (const char* code : {" 46000", "4600", "46000\r", "460001", "46003", ""}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(CCopsInfo::GetOperatorLongNameFromNumeric(code), "");
        EXPECT_EQ(CCopsInfo::GetOperatorShortNameFromNumeric(code), "");
    }
}

TEST(CopsInfoNames, EveryStateByteForByte)
{
    EXPECT_EQ(CCopsInfo::GetStateName(CCopsInfo::StateUnknown), bytes({0xCE, 0xB4, 0xD6, 0xAA}));
    EXPECT_EQ(CCopsInfo::GetStateName(CCopsInfo::StateAvailable), bytes({0xBF, 0xC9, 0xD3, 0xC3}));
    EXPECT_EQ(CCopsInfo::GetStateName(CCopsInfo::StateCurrent), bytes({0xCA, 0xD7, 0xD1, 0xA1}));
    EXPECT_EQ(CCopsInfo::GetStateName(CCopsInfo::StateForbidden), bytes({0xBD, 0xFB, 0xD6, 0xB9}));
    EXPECT_EQ(CCopsInfo::GetStateName(CCopsInfo::EState(4)), "");
    EXPECT_EQ(CCopsInfo::GetStateName(CCopsInfo::EState(-1)), "");
}

TEST(CopsInfoRecord, NewRecordIsAllZero)
{
    const CCopsInfo record;
    EXPECT_EQ(record.GetModeType(), 0);
    EXPECT_EQ(record.GetSelector(), 0);
    EXPECT_EQ(record.GetFormat(), 0);
    EXPECT_EQ(record.GetAccessTechType(), 0);
    EXPECT_EQ(record.GetState(), 0);
    EXPECT_EQ(record.GetPreferredPLMNListIndex(), 0);
    EXPECT_FALSE(record.GetPreferredPLMNListGsmSelected());
    EXPECT_FALSE(record.GetPreferredPLMNListTDSelected());
    EXPECT_FALSE(record.GetPreferredPLMNListGsmCompactSelected());
    EXPECT_EQ(record.GetOperatorLongName() + record.GetOperatorShortName() + record.GetOperatorNumericName(), "");
}

TEST(CopsInfoRecord, NamesByFormat)
{
    CCopsInfo record;
    record.SetOperatorName(CCopsInfo::FormatNumeric, "46001");
    EXPECT_EQ(record.GetOperatorNumericName(), "46001");
    EXPECT_EQ(record.GetOperatorLongName(), kUnicom);
    EXPECT_EQ(record.GetOperatorShortName(), "CUCC");

    record.SetOperatorName(CCopsInfo::FormatLong, "Long");  // the others stay
    record.SetOperatorName(CCopsInfo::EFormat(3), "ignored");
    EXPECT_EQ(record.GetOperatorName(CCopsInfo::FormatLong), "Long");
    EXPECT_EQ(record.GetOperatorName(CCopsInfo::FormatShort), "CUCC");
    EXPECT_EQ(record.GetOperatorName(CCopsInfo::FormatNumeric), "46001");
    EXPECT_EQ(record.GetOperatorName(CCopsInfo::EFormat(3)), "");

    record.SetOperatorName(CCopsInfo::FormatNumeric, "31026");  // unknown code blanks both
    EXPECT_EQ(record.GetOperatorNumericName(), "31026");
    EXPECT_EQ(record.GetOperatorLongName(), "");
    EXPECT_EQ(record.GetOperatorShortName(), "");
}

TEST(CopsInfoRecord, AccessTechnologySetsOneFlag)
{
    struct Case {
        int tech;
        bool gsm, compact, td;
    };
    for (const Case& c : {Case{0, true, false, false}, Case{1, false, true, false}, Case{2, false, false, true}}) {
        CCopsInfo record;
        record.SetPreferredPLMNListGsmSelected(true);
        record.SetPreferredPLMNListTDSelected(true);
        record.SetPreferredPLMNListGsmCompactSelected(true);
        record.SetAccessTechType(CCopsInfo::EAccessTechType(c.tech));
        record.SetAccessTechToPreferredPLMNList();
        EXPECT_EQ(record.GetPreferredPLMNListGsmSelected(), c.gsm) << c.tech;
        EXPECT_EQ(record.GetPreferredPLMNListGsmCompactSelected(), c.compact) << c.tech;
        EXPECT_EQ(record.GetPreferredPLMNListTDSelected(), c.td) << c.tech;
    }

    CCopsInfo unnamed;
    unnamed.SetPreferredPLMNListTDSelected(true);
    unnamed.SetAccessTechType(CCopsInfo::EAccessTechType(5));
    unnamed.SetAccessTechToPreferredPLMNList();
    EXPECT_FALSE(unnamed.GetPreferredPLMNListGsmSelected());
    EXPECT_TRUE(unnamed.GetPreferredPLMNListTDSelected());
    EXPECT_FALSE(unnamed.GetPreferredPLMNListGsmCompactSelected());
}

}  // namespace
