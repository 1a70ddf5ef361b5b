#include <cellctl/cops/CCopsHelper.h>
#include <cellctl/framework/AnswerText.h>

#include <string_view>
#include <utility>
#include <vector>

#include <cellctl/cops/CCopsAssistor.h>
#include <cellctl/framework/AtResponseParser.h>
#include <cellctl/text/Fields.h>
#include <cellctl/text/Numbers.h>
#include <cellctl/text/Quoting.h>

using cellctl::AtResponse;
using cellctl::AtResponseParser;
using cellctl::text::countLinesStartingWith;
using cellctl::text::extractQuoted;
using cellctl::text::inQuotes;
using cellctl::text::readSmallNumber;

namespace {

const char* flag(bool on) { return on ? "1" : "0"; }

// A preferred-list line names its operator in the field of its format only;
// no table lookup, and any other format stores no name.
void storePreferredName(CCopsInfo& entry, CCopsInfo::EFormat format, const std::string& name)
{
    switch (format) {
    case CCopsInfo::FormatLong:
        entry.SetOperatorLongName(name);
        break;
    case CCopsInfo::FormatShort:
        entry.SetOperatorShortName(name);
        break;
    case CCopsInfo::FormatNumeric:
        entry.SetOperatorNumericName(name);
        break;
    }
}

}  // namespace

CCopsHelper::CCopsHelper(CCopsAssistor* copsAssistor) : m_copsAssistor(copsAssistor) {}

CCopsHelper::~CCopsHelper() = default;

void CCopsHelper::Initialize() { bindSlots(this); }

void CCopsHelper::SelectCops(CCopsInfo* cops)
{
    if (cops == nullptr)
        return;
    const int mode = cops->GetModeType();
    if (mode == CCopsInfo::ModeAutomatic) {
        sendModify(PhoneLine::CurrentOperator, "0");
        return;
    }
    const CCopsInfo::EFormat format = cops->GetFormat();
    sendModify(PhoneLine::CurrentOperator,
               std::to_string(mode) + "," + std::to_string(format) + "," + inQuotes(cops->GetOperatorName(format)));
}

void CCopsHelper::SelectSelector(CCopsInfo* cops)
{
    if (cops != nullptr)
        sendModify(PhoneLine::PreferredSelector, std::to_string(cops->GetSelector()));
}

void CCopsHelper::ModifyCopsList(CCopsInfo* cops)
{
    if (cops == nullptr)
        return;
    const CCopsInfo::EFormat format = cops->GetFormat();
    sendModify(PhoneLine::PreferredOperators,
               std::to_string(cops->GetPreferredPLMNListIndex()) + "," + std::to_string(format) + "," +
                   inQuotes(cops->GetOperatorName(format)) + "," + flag(cops->GetPreferredPLMNListGsmSelected()) + "," +
                   flag(cops->GetPreferredPLMNListGsmCompactSelected()) + "," +
                   flag(cops->GetPreferredPLMNListTDSelected()));
}

void CCopsHelper::DeleteCopsList(CCopsInfo* cops)
{
    if (cops != nullptr)
        sendModify(PhoneLine::PreferredOperators, std::to_string(cops->GetPreferredPLMNListIndex()));
}

void CCopsHelper::querySlot(PhoneLine::QueryType code, const std::string& answer)
{
    switch (code) {
    case PhoneLine::CurrentOperator:
        ParseQueryCopsResult(answer);
        break;
    case PhoneLine::AvailableOperators:
        ParseQueryAvailableCopsResult(answer);
        break;
    case PhoneLine::PreferredOperators:
        ParseQueryPreferredCopsListResult(answer);
        break;
    case PhoneLine::PreferredSelector:
        ParseQueryPreferredSelectorResult(answer);
        break;
    default:
        break;
    }
}

void CCopsHelper::modifySlot(PhoneLine::QueryType code, const std::string& answer)
{
    switch (code) {
    case PhoneLine::CurrentOperator:
        ParseSelectCopsResult(answer);
        break;
    case PhoneLine::PreferredOperators:
        ParseModifyCopsListResult(answer);
        break;
    case PhoneLine::PreferredSelector:
        ParseSelectSelectorResult(answer);
        break;
    default:
        break;
    }
}

void CCopsHelper::ParseQueryCopsResult(const std::string& answer)
{
    AtResponseParser reader(AtResponse{answer});
    // Without a "+COPS: " line the fields come from the answer's last line,
    // which for an error answer reads as zeros and an empty name.
    reader.findLine("+COPS: ");
    const int mode = reader.readInt();
    const int format = reader.readInt();
    std::string name = reader.readQuoted();
    const int accessTech = reader.readInt();

    m_currentCops.SetModeType(CCopsInfo::EModeType(mode));
    m_currentCops.SetFormat(CCopsInfo::EFormat(format));
    m_currentCops.SetAccessTechType(CCopsInfo::EAccessTechType(accessTech));
    m_currentCops.SetOperatorName(CCopsInfo::EFormat(format), std::move(name));
    if (m_copsAssistor != nullptr)
        m_copsAssistor->SetCurrentCops(&m_currentCops);
}

void CCopsHelper::ParseQueryAvailableCopsResult(const std::string& answer)
{
    std::vector<CCopsInfo> operators;
    CCopsInfo entry;
    AtResponseParser reader(AtResponse{answer});
    // Only the first "+COPS:" line is read. The trailing lists of modes and
    // formats hold no quoted names, which ends the loop.
    if (reader.findLine("+COPS:")) {
        for (;;) {
            const int state = reader.readDigit();
            std::string longName = reader.readQuoted();
            std::string shortName = reader.readQuoted();
            std::string numericName = reader.readQuoted();
            const int accessTech = reader.readInt();
            if (longName.empty() && shortName.empty() && numericName.empty())
                break;
            entry.SetState(CCopsInfo::EState(state));
            entry.SetOperatorLongName(longName);
            entry.SetOperatorShortName(shortName);
            entry.SetOperatorNumericName(numericName);
            entry.SetAccessTechType(CCopsInfo::EAccessTechType(accessTech));
            operators.push_back(entry);
        }
    }
    if (m_copsAssistor != nullptr)
        m_copsAssistor->SetAvailableCops(operators);
}

void CCopsHelper::ParseQueryPreferredCopsListResult(const std::string& answer)
{
    std::vector<CCopsInfo> entries;
    constexpr char kPreferredLine[] = "+CPOL:";
    entries.reserve(countLinesStartingWith(answer, kPreferredLine));
    // One record for every line: fields a line does not write (the names of
    // other formats) keep the values of the lines before it.
    CCopsInfo entry;
    AtResponseParser reader(AtResponse{answer});
    while (reader.findLine(kPreferredLine)) {
        const std::string_view line = reader.currentLineView();
        unsigned pos = 0;
        const int index = readSmallNumber(line, pos);
        const CCopsInfo::EFormat format = CCopsInfo::EFormat(readSmallNumber(line, pos));
        const std::string name = extractQuoted(line, pos);
        const bool gsm = readSmallNumber(line, pos) != 0;
        const bool gsmCompact = readSmallNumber(line, pos) != 0;
        const bool td = readSmallNumber(line, pos) != 0;

        entry.SetPreferredPLMNListIndex(index);
        entry.SetFormat(format);
        storePreferredName(entry, format, name);
        entry.SetPreferredPLMNListGsmSelected(gsm);
        entry.SetPreferredPLMNListGsmCompactSelected(gsmCompact);
        entry.SetPreferredPLMNListTDSelected(td);
        entries.push_back(entry);
    }
    if (m_copsAssistor != nullptr)
        m_copsAssistor->SetPreferredCopsList(entries);
}

void CCopsHelper::ParseQueryPreferredSelectorResult(const std::string& answer)
{
    // The reader stands on the line that begins like the answer's first line.
    AtResponseParser reader(answer);
    CCopsInfo selector;
    selector.SetSelector(CCopsInfo::ESelector(reader.readInt()));
    if (m_copsAssistor != nullptr)
        m_copsAssistor->SetCurrentPreferredSelector(selector);
}

void CCopsHelper::ParseSelectCopsResult(const std::string& answer)
{
    if (m_copsAssistor != nullptr)
        m_copsAssistor->SetSelectCopsResult(cellctl::containsOk(answer));
}

void CCopsHelper::ParseModifyCopsListResult(const std::string& answer)
{
    if (m_copsAssistor != nullptr)
        m_copsAssistor->SetModifyCopsListResult(cellctl::containsOk(answer));
}

void CCopsHelper::ParseSelectSelectorResult(const std::string& answer)
{
    if (m_copsAssistor != nullptr)
        m_copsAssistor->SetSelectSelectorResult(cellctl::containsOk(answer));
}
