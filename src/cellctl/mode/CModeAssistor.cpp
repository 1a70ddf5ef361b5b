#include <cellctl/mode/CModeAssistor.h>

#include <cellctl/mode/CModeHelper.h>

CModeAssistor::CModeAssistor(bool)
    : m_currentMode(nullptr),
      m_powerOnMode(nullptr),
      m_helper(std::make_unique<CModeHelper>(this))
{
}

CModeAssistor::~CModeAssistor() = default;

void CModeAssistor::SetPhoneLine(PhoneLine* line) { attachHelper(m_helper.get(), line); }

void CModeAssistor::ResetPhoneLine() { detachHelper(m_helper.get()); }

void CModeAssistor::QueryCurrentMode() { m_helper->QueryCurrentMode(); }

void CModeAssistor::QueryPowerOnMode() { m_helper->QueryPowerOnMode(); }

void CModeAssistor::SwitchToMode(CMode* mode)
{
    if (mode != nullptr)
        m_helper->SwitchToMode(*mode);
}

void CModeAssistor::SetPowerOnMode(CMode* mode)
{
    if (mode != nullptr)
        m_helper->SetPowerOnMode(*mode);
}

void CModeAssistor::EnableHsdpaNotification(bool enable) { m_helper->EnableHsdpaNotification(enable); }

void CModeAssistor::EnableCellCapabilityChangesReport(bool enable)
{
    m_helper->EnableCellCapabilityChangesReport(enable);
}

void CModeAssistor::SetCurrentMode(CMode* mode)
{
    m_currentMode = mode;
    m_queryMode.fire(mode);
}

void CModeAssistor::SetCurrentPowerOnMode(CMode* mode)
{
    m_powerOnMode = mode;
    m_queryPowerOnMode.fire(mode);
}

void CModeAssistor::SetSwitchModeResult(bool ok) { m_switchMode.fire(ok); }
void CModeAssistor::SetPowerOnModeResult(bool ok) { m_powerOnModeResult.fire(ok); }
void CModeAssistor::SetEnableHsdpaNotificationResult(bool ok) { m_enableHsdpaNotification.fire(ok); }
void CModeAssistor::SetEnableCellCapabilityChangesReport(bool ok) { m_enableCellCapabilityChangesReport.fire(ok); }
void CModeAssistor::SetHsdpaNotificationValue(bool value) { m_hsdpaNotification.fire(value); }

void CModeAssistor::SetCellCapabilityChangesNotificationValue(const CCellCapabilityInfo& info)
{
    m_cellCapabilityChangesInfo.fire(info);
}

void CModeAssistor::SetCellCapability(const CCellCapabilityInfo& info) { m_cellCapabilityChangesInfo.fire(info); }

void CModeAssistor::connectQueryModeResult(boost::function1<void, CMode*> callback) { m_queryMode.connect(callback); }
void CModeAssistor::disconnectQueryModeResult() { m_queryMode.disconnect(); }

void CModeAssistor::connectQueryPowerOnModeResult(boost::function1<void, CMode*> callback)
{
    m_queryPowerOnMode.connect(callback);
}
void CModeAssistor::disconnectQueryPowerOnModeResult() { m_queryPowerOnMode.disconnect(); }

void CModeAssistor::connectParseSwitchModeResult(boost::function1<void, bool> callback)
{
    m_switchMode.connect(callback);
}
void CModeAssistor::disconnectParseSwitchModeResult() { m_switchMode.disconnect(); }

void CModeAssistor::connectParsePowerOnModeResult(boost::function1<void, bool> callback)
{
    m_powerOnModeResult.connect(callback);
}
void CModeAssistor::disconnectParsePowerOnModeResult() { m_powerOnModeResult.disconnect(); }

void CModeAssistor::connectEnableHsdpaNotificationResult(boost::function1<void, bool> callback)
{
    m_enableHsdpaNotification.connect(callback);
}
void CModeAssistor::disconnectEnableHsdpaNotificationResult() { m_enableHsdpaNotification.disconnect(); }

void CModeAssistor::connectEnableCellCapabilityChangesReport(boost::function1<void, bool> callback)
{
    m_enableCellCapabilityChangesReport.connect(callback);
}
void CModeAssistor::disconnectEnableCellCapabilityChangesReport() { m_enableCellCapabilityChangesReport.disconnect(); }

void CModeAssistor::connectHsdpaNotificationResult(boost::function1<void, bool> callback)
{
    m_hsdpaNotification.connect(callback);
}
void CModeAssistor::disconnectHsdpaNotificationResult() { m_hsdpaNotification.disconnect(); }

void CModeAssistor::connectCellCapabilityChangesInfo(boost::function1<void, const CCellCapabilityInfo&> callback)
{
    m_cellCapabilityChangesInfo.connect(callback);
}
void CModeAssistor::disconnectCellCapabilityChangesInfo() { m_cellCapabilityChangesInfo.disconnect(); }
