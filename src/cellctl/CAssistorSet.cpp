#include <cellctl/CAssistorSet.h>

#include <cellctl/power/CPowerAssistorHsdpa.h>

namespace {

std::unique_ptr<CPowerAssistor> makePowerAssistor(CAssistorSet::EPowerType type, CUsimAssistor* usim,
                                                  CCopsAssistor* cops, CModeAssistor* mode)
{
    if (type == CAssistorSet::PowerHsdpa)
        return std::make_unique<CPowerAssistorHsdpa>(usim, cops, mode);
    return std::make_unique<CPowerAssistor>(usim, cops, mode);
}

}  // namespace

CAssistorSet::CAssistorSet(EPowerType powerType)
    : m_power(makePowerAssistor(powerType, &m_usim, &m_cops, &m_mode)),
      m_connection(&m_connectionHelper),
      m_phoneLine(nullptr)
{
    m_connectionHelper.SetConnectionAssistor(&m_connection);
}

CAssistorSet::~CAssistorSet() { ResetPhoneLine(); }

void CAssistorSet::SetPhoneLine(PhoneLine* line)
{
    ResetPhoneLine();
    m_usim.SetPhoneLine(line);
    m_cops.SetPhoneLine(line);
    m_mode.SetPhoneLine(line);
    m_power->SetPhoneLine(line);
    m_connectionHelper.SetPhoneLine(line);
    m_connectionHelper.Initialize();
    m_phoneLine = line;
}

void CAssistorSet::ResetPhoneLine()
{
    if (m_phoneLine == nullptr)
        return;
    m_connection.ResetPhoneLine();
    m_power->ResetPhoneLine();
    m_mode.ResetPhoneLine();
    m_cops.ResetPhoneLine();
    m_usim.ResetPhoneLine();
    m_phoneLine = nullptr;
}
