#include <cellctl/power/CPowerAssistorHsdpa.h>

#include <cellctl/mode/CModeAssistor.h>

CPowerAssistorHsdpa::CPowerAssistorHsdpa(CUsimAssistor* usim, CCopsAssistor* cops, CModeAssistor* mode)
    : CPowerAssistor(usim, cops, mode)
{
}

CPowerAssistorHsdpa::~CPowerAssistorHsdpa() = default;

void CPowerAssistorHsdpa::SetupFeature()
{
    if (!m_helper)
        return;
    CPowerAssistor::SetupFeature();
    if (m_modeAssistor != nullptr) {
        m_modeAssistor->EnableCellCapabilityChangesReport(true);
        m_modeAssistor->EnableHsdpaNotification(true);
    }
}
