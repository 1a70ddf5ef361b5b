#pragma once

#include <memory>
#include <vector>

#include <boost/function.hpp>

#include <cellctl/cops/CCopsInfo.h>
#include <cellctl/framework/CAssistor.h>
#include <cellctl/framework/Export.h>
#include <cellctl/framework/ResultSignal.h>

class CCopsHelper;
class PhoneLine;

// The host's object for network operators: the current operator, the scan of
// available operators, manual or automatic selection, the preferred-operator
// list and its selector. Requests return at once; every result arrives later
// through the callbacks registered with the connect operations.
class CELLCTL_EXPORT CCopsAssistor : public CAssistor {
public:
    CCopsAssistor();
    ~CCopsAssistor() override;
    CCopsAssistor(const CCopsAssistor&) = delete;
    CCopsAssistor& operator=(const CCopsAssistor&) = delete;

    void SetPhoneLine(PhoneLine* line);
    void ResetPhoneLine();

    // Requests. Nothing is sent while no PhoneLine is attached; a null record
    // is ignored (nothing sent, nothing reported).
    void QueryCops();
    void QueryAvailableCops();
    void QueryPreferredCopsList();
    void QueryPreferredSelector();
    void SelectCops(CCopsInfo* cops);
    void SelectSelector(CCopsInfo* cops);
    void ModifyCopsList(CCopsInfo* cops);
    void DeleteCopsList(CCopsInfo* cops);

    // Results. The helper calls these; each stores what it is given and fires
    // the matching callbacks.
    void SetCurrentCops(CCopsInfo* cops);
    void SetAvailableCops(const std::vector<CCopsInfo>& operators);
    void SetSelectCopsResult(bool ok);
    void SetCurrentPreferredSelector(const CCopsInfo& selector);
    void SetPreferredCopsList(const std::vector<CCopsInfo>& entries);
    void SetSelectSelectorResult(bool ok);
    void SetModifyCopsListResult(bool ok);
    // Kept for the interface; reports nothing.
    void SetQueryPreferredSelectorResult(bool ok);

    void connectQueryCopsResult(boost::function1<void, const CCopsInfo&> callback);
    void disconnectQueryCopsResult();
    void connectQueryAvailableCops(boost::function1<void, const std::vector<CCopsInfo>&> callback);
    void disconnectQueryAvailableCops();
    void connectSelectCopsResult(boost::function1<void, bool> callback);
    void disconnectSelectCopsResult();
    void connectQueryPreferredSelector(boost::function1<void, const CCopsInfo&> callback);
    void disconnectQueryPreferredSelector();
    void connectQueryPreferredCopsList(boost::function1<void, const std::vector<CCopsInfo>&> callback);
    void disconnectQueryPreferredCopsList();
    void connectSelectSelectorResult(boost::function1<void, bool> callback);
    void disconnectSelectSelectorResult();
    // Reports both writing and deleting a preferred-list entry.
    void connectModifyCopsListResult(boost::function1<void, bool> callback);
    void disconnectModifyCopsListResult();

private:
    void query(int code);

    // A copy of the record last reported as the current operator.
    CCopsInfo m_currentCops;
    std::unique_ptr<CCopsHelper> m_helper;
    CCopsInfo m_preferredSelector;
    std::vector<CCopsInfo> m_availableCops;
    std::vector<CCopsInfo> m_preferredCopsList;

    cellctl::ResultSignal<const CCopsInfo&> m_queryCopsResult;
    cellctl::ResultSignal<const std::vector<CCopsInfo>&> m_availableCopsResult;
    cellctl::ResultSignal<bool> m_selectCopsResult;
    cellctl::ResultSignal<const CCopsInfo&> m_preferredSelectorResult;
    cellctl::ResultSignal<const std::vector<CCopsInfo>&> m_preferredCopsListResult;
    cellctl::ResultSignal<bool> m_selectSelectorResult;
    cellctl::ResultSignal<bool> m_modifyCopsListResult;
};
