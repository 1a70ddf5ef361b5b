#include <cellctl/framework/CAtHelper.h>

CAtHelper::CAtHelper() : m_phoneLine(nullptr) {}

CAtHelper::~CAtHelper() = default;

void CAtHelper::Initialize() {}

void CAtHelper::UnInitialize()
{
    if (m_phoneLine == nullptr)
        return;
    m_phoneLine->disconnect(m_queryConnection);
    m_phoneLine->disconnect(m_modifyConnection);
}

void CAtHelper::SetPhoneLine(PhoneLine* phoneLine)
{
    m_phoneLine = phoneLine;
}

void CAtHelper::sendQuery(PhoneLine::QueryType code) const
{
    if (m_phoneLine != nullptr)
        m_phoneLine->query(code);
}

void CAtHelper::sendModify(PhoneLine::QueryType code, const std::string& text) const
{
    if (m_phoneLine != nullptr)
        m_phoneLine->modify(code, text);
}
