#include <cellctl/framework/CAtHelper.h>

CAtHelper::CAtHelper() : m_phoneLine(nullptr), m_slotsBoundHere(false) {}

CAtHelper::CAtHelper(const CAtHelper& other)
    : m_phoneLine(other.m_phoneLine),
      m_queryConnection(other.m_queryConnection),
      m_modifyConnection(other.m_modifyConnection),
      m_slotsBoundHere(false)
{
}

CAtHelper& CAtHelper::operator=(const CAtHelper& other)
{
    m_phoneLine = other.m_phoneLine;
    m_queryConnection = other.m_queryConnection;
    m_modifyConnection = other.m_modifyConnection;
    m_slotsBoundHere = false;
    return *this;
}

CAtHelper::~CAtHelper()
{
    // Straight on the handles, not through the PhoneLine, which may be gone.
    if (m_slotsBoundHere) {
        m_queryConnection.disconnect();
        m_modifyConnection.disconnect();
    }
}

void CAtHelper::Initialize() {}

void CAtHelper::UnInitialize()
{
    if (m_phoneLine == nullptr)
        return;
    m_phoneLine->disconnect(m_queryConnection);
    m_phoneLine->disconnect(m_modifyConnection);
}

void CAtHelper::SetPhoneLine(PhoneLine* phoneLine) { m_phoneLine = phoneLine; }

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
