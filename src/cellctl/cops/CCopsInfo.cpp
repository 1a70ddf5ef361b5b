#include <cellctl/cops/CCopsInfo.h>

#include <utility>

namespace {

// Display names are GBK bytes, spelled as escapes so that no editor or
// compiler character set can alter them.

struct OperatorNames {
    const char* numeric;
    const char* longName;
    const char* shortName;
};

const OperatorNames kOperatorNames[] = {
    {"46000", "\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF", "CMCC"},  // China Mobile
    {"46002", "\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF", "CMCC"},  // China Mobile
    {"46007", "\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF", "CMCC"},  // China Mobile
    {"46001", "\xD6\xD0\xB9\xFA\xC1\xAA\xCD\xA8", "CUCC"},  // China Unicom
    {"46005", "\xD6\xD0\xB9\xFA\xB5\xE7\xD0\xC5", "CTC"},   // China Telecom
    {"46006", "\xD6\xD0\xB9\xFA\xCD\xF8\xCD\xA8", "CNC"},   // China Netcom
};

// Indexed by CCopsInfo::EState.
const char* const kStateNames[] = {
    "\xCE\xB4\xD6\xAA",  // unknown
    "\xBF\xC9\xD3\xC3",  // available
    "\xCA\xD7\xD1\xA1",  // current
    "\xBD\xFB\xD6\xB9",  // forbidden
};

const OperatorNames* findOperator(const std::string& numeric)
{
    for (const OperatorNames& row : kOperatorNames) {
        if (numeric == row.numeric)
            return &row;
    }
    return nullptr;
}

}  // namespace

CCopsInfo::CCopsInfo()
    : m_modeType(ModeAutomatic),
      m_selector(ESelector(0)),
      m_format(FormatLong),
      m_accessTechType(AccessTechGsm),
      m_state(StateUnknown),
      m_preferredPLMNListIndex(0),
      m_gsmSelected(false),
      m_tdSelected(false),
      m_gsmCompactSelected(false)
{
}

std::string CCopsInfo::GetOperatorName(EFormat format) const
{
    switch (format) {
    case FormatLong:
        return m_longName;
    case FormatShort:
        return m_shortName;
    case FormatNumeric:
        return m_numericName;
    }
    return std::string();
}

void CCopsInfo::SetOperatorName(EFormat format, std::string name)
{
    switch (format) {
    case FormatLong:
        m_longName = std::move(name);
        break;
    case FormatShort:
        m_shortName = std::move(name);
        break;
    case FormatNumeric:
        m_numericName = std::move(name);
        m_longName = GetLongNameFromNumeric(m_numericName);
        m_shortName = GetShortNameFromNumeric(m_numericName);
        break;
    }
}

void CCopsInfo::SetAccessTechToPreferredPLMNList()
{
    switch (m_accessTechType) {
    case AccessTechGsm:
    case AccessTechGsmCompact:
    case AccessTechTd:
        m_gsmSelected = m_accessTechType == AccessTechGsm;
        m_gsmCompactSelected = m_accessTechType == AccessTechGsmCompact;
        m_tdSelected = m_accessTechType == AccessTechTd;
        break;
    }
}

std::string CCopsInfo::GetStateName(EState state)
{
    const unsigned index = static_cast<unsigned>(state);
    if (index >= sizeof kStateNames / sizeof kStateNames[0])
        return std::string();
    return kStateNames[index];
}

std::string CCopsInfo::GetOperatorLongNameFromNumeric(const std::string& numeric)
{
    const OperatorNames* row = findOperator(numeric);
    return row ? row->longName : std::string();
}

std::string CCopsInfo::GetOperatorShortNameFromNumeric(const std::string& numeric)
{
    const OperatorNames* row = findOperator(numeric);
    return row ? row->shortName : std::string();
}

std::string CCopsInfo::GetLongNameFromNumeric(const std::string& numeric) const
{
    return GetOperatorLongNameFromNumeric(numeric);
}

std::string CCopsInfo::GetShortNameFromNumeric(const std::string& numeric) const
{
    return GetOperatorShortNameFromNumeric(numeric);
}
