// What the assistor sends, and when its callbacks fire.

#include "CopsFixture.h"

namespace {

using cellctl::test::CopsFixture;
using cellctl::test::RecordingPhoneLine;
using Command = RecordingPhoneLine::Command;

class CopsRequests : public CopsFixture {
protected:
    static CCopsInfo entry(int index, CCopsInfo::EFormat format, const std::string& name)
    {
        CCopsInfo record;
        record.SetPreferredPLMNListIndex(index);
        record.SetFormat(format);
        record.SetOperatorName(format, name);
        return record;
    }
};

TEST_F(CopsRequests, QueriesSendTheirCodes)
{
    assistor.QueryCops();
    assistor.QueryAvailableCops();
    assistor.QueryPreferredCopsList();
    assistor.QueryPreferredSelector();
    EXPECT_EQ(line.sent(), (std::vector<Command>{RecordingPhoneLine::Query(11), RecordingPhoneLine::Query(12),
                                                 RecordingPhoneLine::Query(93), RecordingPhoneLine::Query(94)}));
}

TEST_F(CopsRequests, SelectionTexts)
{
    CCopsInfo automatic = entry(0, CCopsInfo::FormatNumeric, "46000");
    assistor.SelectCops(&automatic);  // mode 0 carries no operator

    CCopsInfo manual = automatic;
    manual.SetModeType(CCopsInfo::ModeManual);
    assistor.SelectCops(&manual);

    // Ten GBK characters: far longer than any fixed buffer would hold.
    const std::string longName = "\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF\xCD\xA8\xD0\xC5\xBF\xC9\xD3\xC3\xCA\xD7\xD1\xA1";
    CCopsInfo byLongName = entry(0, CCopsInfo::FormatLong, longName);
    byLongName.SetModeType(CCopsInfo::EModeType(4));
    assistor.SelectCops(&byLongName);

    CCopsInfo selector;
    selector.SetSelector(CCopsInfo::ESelector(2));
    assistor.SelectSelector(&selector);

    EXPECT_EQ(line.sent(), (std::vector<Command>{
                               RecordingPhoneLine::Modify(11, "0"),
                               RecordingPhoneLine::Modify(11, "1,2,\"46000\""),
                               RecordingPhoneLine::Modify(11, "4,0,\"" + longName + "\""),
                               RecordingPhoneLine::Modify(94, "2"),
                           }));
}

TEST_F(CopsRequests, PreferredListTexts)
{
    CCopsInfo gsm = entry(3, CCopsInfo::FormatNumeric, "46000");
    gsm.SetAccessTechType(CCopsInfo::AccessTechGsm);
    gsm.SetAccessTechToPreferredPLMNList();
    CCopsInfo compact = entry(10, CCopsInfo::FormatLong, "\xD6\xD0\xB9\xFA\xC1\xAA\xCD\xA8");
    compact.SetAccessTechType(CCopsInfo::AccessTechGsmCompact);
    compact.SetAccessTechToPreferredPLMNList();
    CCopsInfo td = entry(1, CCopsInfo::FormatShort, "CMCC");
    td.SetAccessTechType(CCopsInfo::AccessTechTd);
    td.SetAccessTechToPreferredPLMNList();

    assistor.ModifyCopsList(&gsm);
    assistor.ModifyCopsList(&compact);
    assistor.ModifyCopsList(&td);
    CCopsInfo remove = entry(12, CCopsInfo::FormatLong, "");
    assistor.DeleteCopsList(&remove);
    remove.SetPreferredPLMNListIndex(-1);
    assistor.DeleteCopsList(&remove);

    EXPECT_EQ(line.sent(), (std::vector<Command>{
                               RecordingPhoneLine::Modify(93, "3,2,\"46000\",1,0,0"),
                               RecordingPhoneLine::Modify(93, "10,0,\"\xD6\xD0\xB9\xFA\xC1\xAA\xCD\xA8\",0,1,0"),
                               RecordingPhoneLine::Modify(93, "1,1,\"CMCC\",0,0,1"),
                               RecordingPhoneLine::Modify(93, "12"),
                               RecordingPhoneLine::Modify(93, "-1"),
                           }));
}

TEST_F(CopsRequests, NullRecordsAreIgnored)
{
    assistor.SelectCops(nullptr);
    assistor.SelectSelector(nullptr);
    assistor.ModifyCopsList(nullptr);
    assistor.DeleteCopsList(nullptr);
    assistor.SetCurrentCops(nullptr);
    EXPECT_TRUE(line.sent().empty());
    EXPECT_EQ(reports(), 0u);
}

TEST_F(CopsRequests, NothingSentBeforeAttachAndNothingHeardAfterDetach)
{
    CCopsAssistor unattached;
    CCopsInfo manual = entry(1, CCopsInfo::FormatNumeric, "46000");
    manual.SetModeType(CCopsInfo::ModeManual);
    unattached.QueryCops();
    unattached.SelectCops(&manual);
    unattached.ModifyCopsList(&manual);
    EXPECT_TRUE(line.sent().empty());

    assistor.ResetPhoneLine();
    assistor.QueryCops();  // still sent on the line it keeps
    line.answerQuery(11, "+COPS: 1,2,\"46000\",2\nOK");
    EXPECT_EQ(line.sent(), std::vector<Command>{RecordingPhoneLine::Query(11)});
    EXPECT_EQ(reports(), 0u);
}

TEST_F(CopsRequests, SettersStoreAndFire)
{
    CCopsInfo record = entry(0, CCopsInfo::FormatNumeric, "46007");
    assistor.SetCurrentCops(&record);
    record.SetOperatorNumericName("changed");  // the callback got a copy
    ASSERT_EQ(current.size(), 1u);
    EXPECT_EQ(current[0].GetOperatorNumericName(), "46007");

    assistor.SetAvailableCops({});
    assistor.SetQueryPreferredSelectorResult(true);  // reports nothing
    assistor.SetSelectCopsResult(true);
    assistor.SetSelectSelectorResult(false);
    assistor.SetModifyCopsListResult(true);
    ASSERT_EQ(available.size(), 1u);
    EXPECT_TRUE(available[0].empty());
    EXPECT_EQ(selected, std::vector<bool>{true});
    EXPECT_EQ(selectorSet, std::vector<bool>{false});
    EXPECT_EQ(listChanged, std::vector<bool>{true});
    EXPECT_EQ(reports(), 5u);
}

TEST_F(CopsRequests, DisconnectRemovesOnlyThatKind)
{
    assistor.disconnectSelectCopsResult();
    line.answerModify(11, "OK");
    line.answerModify(93, "OK");
    line.answerQuery(94, "+CPLS: 1\nOK");
    EXPECT_TRUE(selected.empty());
    EXPECT_EQ(listChanged, std::vector<bool>{true});
    EXPECT_EQ(selectors.size(), 1u);

    // A second callback then its removal: the first keeps firing.
    std::vector<bool> extra;
    assistor.connectModifyCopsListResult([&](bool ok) { extra.push_back(ok); });
    line.answerModify(93, "ERROR");
    assistor.disconnectModifyCopsListResult();
    assistor.disconnectModifyCopsListResult();
    line.answerModify(93, "OK");
    EXPECT_EQ(extra, std::vector<bool>{false});
    EXPECT_EQ(listChanged, (std::vector<bool>{true, false, true}));
}

}  // namespace
