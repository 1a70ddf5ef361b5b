#include <cellctl/mode/CModeHelper.h>
#include <cellctl/framework/AnswerText.h>

#include <cellctl/framework/AtResponseParser.h>
#include <cellctl/mode/CCellCapabilityInfo.h>
#include <cellctl/mode/CModeAssistor.h>

using cellctl::AtResponse;
using cellctl::AtResponseParser;

CModeHelper::CModeHelper(CModeAssistor* assistor) : m_assistor(assistor) {}

CModeHelper::~CModeHelper() = default;

void CModeHelper::SwitchToMode(const CMode& mode)
{
    // Mode type 0 selects a mode without an access technology, so none is sent.
    std::string text = std::to_string(mode.GetBehaviorType()) + "," + std::to_string(mode.GetModeType());
    if (mode.GetModeType() != CMode::ModeTypeDefault)
        text += "," + std::to_string(mode.GetAccessTechType());
    sendModify(PhoneLine::NetworkMode, text);
}

void CModeHelper::SetPowerOnMode(const CMode& mode)
{
    sendModify(PhoneLine::PowerOnMode, "0," + std::to_string(mode.GetAccessTechType()));
}

void CModeHelper::EnableHsdpaNotification(bool enable) { sendModify(PhoneLine::HsdpaNotification, enable ? "1" : "0"); }

void CModeHelper::EnableCellCapabilityChangesReport(bool enable)
{
    sendModify(PhoneLine::CellCapabilityReporting, enable ? "1" : "0");
}

void CModeHelper::QueryCurrentMode() { sendQuery(PhoneLine::NetworkMode); }

void CModeHelper::QueryPowerOnMode() { sendQuery(PhoneLine::PowerOnMode); }

void CModeHelper::querySlot(PhoneLine::QueryType code, const std::string& answer)
{
    switch (code) {
    case PhoneLine::NetworkMode:
        ParseCurrentMode(answer);
        break;
    case PhoneLine::PowerOnMode:
        ParsePowerOnMode(answer);
        break;
    default:
        break;
    }
}

void CModeHelper::modifySlot(PhoneLine::QueryType code, const std::string& answer)
{
    switch (code) {
    case PhoneLine::NetworkMode:
        ParseSwitchModeResult(answer);
        break;
    case PhoneLine::PowerOnMode:
        ParsePowerOnModeResult(answer);
        break;
    case PhoneLine::NetworkModeChanged:
        ParseModeChangeReport(answer);
        break;
    case PhoneLine::HsdpaNotification:
        ParseEnableHsdpaNotificationResult(answer);
        break;
    case PhoneLine::CellCapabilityReporting:
        ParseEnableCellCapabilityChangesReportResult(answer);
        break;
    case PhoneLine::HsdpaIndication:
        ParseHsdpaIndication(answer);
        break;
    case PhoneLine::CellCapabilityReport:
        ParseCellCapabilityInfo(answer);
        break;
    default:
        break;
    }
}

void CModeHelper::ParseCurrentMode(const std::string& answer)
{
    int behavior = CMode::BehaviorDefault;
    int modeType = CMode::ModeTypeDefault;
    int accessTech = CMode::AccessTechTd;
    // Only a lower-case "error" marks a failed read; "ERROR" falls through to
    // the defaults like any answer without a mode line.
    if (answer.find("error") != std::string::npos) {
        modeType = CMode::ModeTypeOnError;
    } else {
        AtResponseParser parser(AtResponse{answer});
        if (parser.findLine("^DSTM: ")) {
            behavior = parser.readInt();
            modeType = parser.readInt();
            accessTech = parser.readInt();
        }
    }
    m_currentMode.SetBehaviorType(static_cast<CMode::EBehaviorType>(behavior));
    m_currentMode.SetModeType(static_cast<CMode::EModeType>(modeType));
    m_currentMode.SetAccessTechType(static_cast<CMode::EAccessTechType>(accessTech));
    if (m_assistor != nullptr)
        m_assistor->SetCurrentMode(&m_currentMode);
}

void CModeHelper::ParsePowerOnMode(const std::string& answer)
{
    // The answer's two numbers are mode type and access technology, although
    // the set command sends 0 and an access technology.
    AtResponseParser parser(AtResponse{answer});
    parser.findLine("^DDTM: ");
    const int modeType = parser.readInt();
    const int accessTech = parser.readInt();
    m_powerOnMode.SetBehaviorType(CMode::BehaviorPowerOn);
    m_powerOnMode.SetModeType(static_cast<CMode::EModeType>(modeType));
    m_powerOnMode.SetAccessTechType(static_cast<CMode::EAccessTechType>(accessTech));
    if (m_assistor != nullptr)
        m_assistor->SetCurrentPowerOnMode(&m_powerOnMode);
}

void CModeHelper::ParseSwitchModeResult(const std::string& answer)
{
    if (m_assistor != nullptr)
        m_assistor->SetSwitchModeResult(cellctl::containsOk(answer));
}

void CModeHelper::ParsePowerOnModeResult(const std::string& answer)
{
    if (m_assistor != nullptr)
        m_assistor->SetPowerOnModeResult(cellctl::containsOk(answer));
}

void CModeHelper::ParseModeChangeReport(const std::string&)
{
    // The report's number alone is not a whole mode record, so the mode is read
    // again and reported through the current-mode callback. The report's code
    // already says that the mode changed: a garbled or out-of-range number
    // triggers the re-read as well rather than leave the host on a stale mode.
    QueryCurrentMode();
}

void CModeHelper::ParseEnableHsdpaNotificationResult(const std::string& answer)
{
    if (m_assistor != nullptr)
        m_assistor->SetEnableHsdpaNotificationResult(cellctl::containsOk(answer));
}

void CModeHelper::ParseEnableCellCapabilityChangesReportResult(const std::string& answer)
{
    if (m_assistor != nullptr)
        m_assistor->SetEnableCellCapabilityChangesReport(cellctl::containsOk(answer));
}

void CModeHelper::ParseHsdpaIndication(const std::string& answer)
{
    AtResponseParser parser(AtResponse{answer});
    parser.findLine("+HSIND: ");
    CCellCapabilityInfo info;
    info.m_capability3 = parser.readInt() != 0;
    if (m_assistor != nullptr)
        m_assistor->SetCellCapabilityChangesNotificationValue(info);
}

void CModeHelper::ParseCellCapabilityInfo(const std::string& answer)
{
    AtResponseParser parser(AtResponse{answer});
    parser.findLine("^DCINFO: ");
    CCellCapabilityInfo info;
    info.m_capability1 = parser.readInt() != 0;
    info.m_capability2 = parser.readInt() != 0;
    info.m_capability3 = parser.readInt() != 0;
    info.m_capability4 = parser.readInt() != 0;
    if (m_assistor != nullptr)
        m_assistor->SetCellCapabilityChangesNotificationValue(info);
}
