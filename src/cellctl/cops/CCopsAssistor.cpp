#include <cellctl/cops/CCopsAssistor.h>

#include <cellctl/cops/CCopsHelper.h>
#include <cellctl/framework/PhoneLine.h>

CCopsAssistor::CCopsAssistor() : m_helper(new CCopsHelper(this)) {}

CCopsAssistor::~CCopsAssistor() = default;

void CCopsAssistor::SetPhoneLine(PhoneLine* line) { attachHelper(m_helper.get(), line); }

void CCopsAssistor::ResetPhoneLine() { detachHelper(m_helper.get()); }

void CCopsAssistor::query(int code)
{
    if (m_helper && m_helper->GetPhoneLine() != nullptr)
        m_helper->GetPhoneLine()->query(PhoneLine::QueryType(code));
}

void CCopsAssistor::QueryCops() { query(PhoneLine::CurrentOperator); }
void CCopsAssistor::QueryAvailableCops() { query(PhoneLine::AvailableOperators); }
void CCopsAssistor::QueryPreferredCopsList() { query(PhoneLine::PreferredOperators); }
void CCopsAssistor::QueryPreferredSelector() { query(PhoneLine::PreferredSelector); }

void CCopsAssistor::SelectCops(CCopsInfo* cops)
{
    if (m_helper)
        m_helper->SelectCops(cops);
}

void CCopsAssistor::SelectSelector(CCopsInfo* cops)
{
    if (m_helper)
        m_helper->SelectSelector(cops);
}

void CCopsAssistor::ModifyCopsList(CCopsInfo* cops)
{
    if (m_helper)
        m_helper->ModifyCopsList(cops);
}

void CCopsAssistor::DeleteCopsList(CCopsInfo* cops)
{
    if (m_helper)
        m_helper->DeleteCopsList(cops);
}

void CCopsAssistor::SetCurrentCops(CCopsInfo* cops)
{
    if (cops == nullptr)
        return;
    m_currentCops = *cops;
    // Callbacks get their own copy: a callback that triggers another report
    // cannot change the record under the callbacks that follow it.
    m_queryCopsResult.fire(CCopsInfo(*cops));
}

void CCopsAssistor::SetAvailableCops(const std::vector<CCopsInfo>& operators)
{
    m_availableCops = operators;
    m_availableCopsResult.fire(operators);
}

void CCopsAssistor::SetSelectCopsResult(bool ok) { m_selectCopsResult.fire(ok); }

void CCopsAssistor::SetCurrentPreferredSelector(const CCopsInfo& selector)
{
    m_preferredSelector = selector;
    m_preferredSelectorResult.fire(selector);
}

void CCopsAssistor::SetPreferredCopsList(const std::vector<CCopsInfo>& entries)
{
    m_preferredCopsList = entries;
    m_preferredCopsListResult.fire(entries);
}

void CCopsAssistor::SetSelectSelectorResult(bool ok) { m_selectSelectorResult.fire(ok); }
void CCopsAssistor::SetModifyCopsListResult(bool ok) { m_modifyCopsListResult.fire(ok); }
void CCopsAssistor::SetQueryPreferredSelectorResult(bool) {}

void CCopsAssistor::connectQueryCopsResult(boost::function1<void, const CCopsInfo&> callback)
{
    m_queryCopsResult.connect(callback);
}
void CCopsAssistor::disconnectQueryCopsResult() { m_queryCopsResult.disconnect(); }

void CCopsAssistor::connectQueryAvailableCops(boost::function1<void, const std::vector<CCopsInfo>&> callback)
{
    m_availableCopsResult.connect(callback);
}
void CCopsAssistor::disconnectQueryAvailableCops() { m_availableCopsResult.disconnect(); }

void CCopsAssistor::connectSelectCopsResult(boost::function1<void, bool> callback)
{
    m_selectCopsResult.connect(callback);
}
void CCopsAssistor::disconnectSelectCopsResult() { m_selectCopsResult.disconnect(); }

void CCopsAssistor::connectQueryPreferredSelector(boost::function1<void, const CCopsInfo&> callback)
{
    m_preferredSelectorResult.connect(callback);
}
void CCopsAssistor::disconnectQueryPreferredSelector() { m_preferredSelectorResult.disconnect(); }

void CCopsAssistor::connectQueryPreferredCopsList(boost::function1<void, const std::vector<CCopsInfo>&> callback)
{
    m_preferredCopsListResult.connect(callback);
}
void CCopsAssistor::disconnectQueryPreferredCopsList() { m_preferredCopsListResult.disconnect(); }

void CCopsAssistor::connectSelectSelectorResult(boost::function1<void, bool> callback)
{
    m_selectSelectorResult.connect(callback);
}
void CCopsAssistor::disconnectSelectSelectorResult() { m_selectSelectorResult.disconnect(); }

void CCopsAssistor::connectModifyCopsListResult(boost::function1<void, bool> callback)
{
    m_modifyCopsListResult.connect(callback);
}
void CCopsAssistor::disconnectModifyCopsListResult() { m_modifyCopsListResult.disconnect(); }
