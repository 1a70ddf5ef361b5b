#pragma once

#include <string>

#include <cellctl/cops/CCopsInfo.h>
#include <cellctl/framework/CAtHelper.h>

class CCopsAssistor;

// Speaks to PhoneLine for the operator assistor: builds the selection and
// preferred-list commands, parses the answers to the operator codes and hands
// every result to the assistor. Not exported.
class CCopsHelper : public CAtHelper {
public:
    explicit CCopsHelper(CCopsAssistor* copsAssistor);
    ~CCopsHelper() override;
    CCopsHelper(const CCopsHelper&) = delete;
    CCopsHelper& operator=(const CCopsHelper&) = delete;

    void Initialize() override;

    // Requests. A null record, or no PhoneLine, sends nothing.
    // Mode 0 sends "0"; any other mode sends mode,format,"name".
    void SelectCops(CCopsInfo* cops);
    void SelectSelector(CCopsInfo* cops);
    // index,format,"name",gsm,gsmCompact,td with each flag as 1 or 0.
    void ModifyCopsList(CCopsInfo* cops);
    void DeleteCopsList(CCopsInfo* cops);

    void querySlot(PhoneLine::QueryType code, const std::string& answer);
    void modifySlot(PhoneLine::QueryType code, const std::string& answer);

    // "+COPS: mode,format,"name",act" into the current-operator record.
    void ParseQueryCopsResult(const std::string& answer);
    // "+COPS: (state,"long","short","numeric",act),...,,(modes),(formats)".
    void ParseQueryAvailableCopsResult(const std::string& answer);
    // One "+CPOL: index,format,"name",gsm,gsmCompact,td" line per entry.
    void ParseQueryPreferredCopsListResult(const std::string& answer);
    // "<tag>: selector".
    void ParseQueryPreferredSelectorResult(const std::string& answer);
    void ParseSelectCopsResult(const std::string& answer);
    void ParseModifyCopsListResult(const std::string& answer);
    void ParseSelectSelectorResult(const std::string& answer);

private:
    CCopsAssistor* m_copsAssistor;
    // Every current-operator answer is parsed into this one record, so fields
    // a later answer does not carry keep the values of earlier answers.
    CCopsInfo m_currentCops;
};
