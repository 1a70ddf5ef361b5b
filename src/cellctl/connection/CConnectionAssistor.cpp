#include <cellctl/connection/CConnectionAssistor.h>
#include <cellctl/framework/AnswerText.h>

#include <utility>

#include <cellctl/connection/CConnectionHelper.h>
#include <cellctl/text/Numbers.h>

CConnectionAssistor::CConnectionAssistor(CConnectionHelper* helper) : m_helper(helper) {}

CConnectionAssistor::~CConnectionAssistor() = default;

void CConnectionAssistor::SetHelper(CConnectionHelper* helper) { m_helper = helper; }

void CConnectionAssistor::ResetPhoneLine() { detachHelper(m_helper); }

void CConnectionAssistor::Initialize()
{
    if (m_helper != nullptr)
        m_helper->EnableNetworkRegistrationStatus();
}

void CConnectionAssistor::UnInitialize() {}

void CConnectionAssistor::AttachGprs()
{
    if (m_helper != nullptr)
        m_helper->EnablePsAttach();
}

void CConnectionAssistor::PdpActive(int qosContextId, std::string apn, int trafficClass, int maxBitRateUplink,
                                    int maxBitRateDownlink)
{
    if (m_helper == nullptr)
        return;
    m_helper->SetPdpContext(std::move(apn));
    m_helper->SetPacketDomainQos(qosContextId, trafficClass, maxBitRateUplink, maxBitRateDownlink);
}

void CConnectionAssistor::GsmPdpActive(int, std::string apn, int, int, int)
{
    if (m_helper != nullptr)
        m_helper->SetPdpContext(std::move(apn));
}

void CConnectionAssistor::GetServiceMappingList()
{
    if (m_helper != nullptr)
        m_helper->GetServiceMappingList();
}

void CConnectionAssistor::ReadUsimQos(int number)
{
    if (m_helper != nullptr)
        m_helper->ReadUsimQos(number);
}

void CConnectionAssistor::Get3GServiceQuality()
{
    if (m_helper != nullptr)
        m_helper->Read3GServiceQuality();
}

void CConnectionAssistor::ParseSetQosResult(const std::string& answer)
{
    m_setQosResult.fire(cellctl::containsOk(answer));
}

void CConnectionAssistor::ParseSetPdpcontResult(const std::string& answer)
{
    m_setPdpcontResult.fire(cellctl::containsOk(answer));
}

void CConnectionAssistor::ParsePsRegisterResult(const std::string& answer)
{
    m_psRegisterResult.fire(cellctl::text::readLeadingInt(answer));
}

void CConnectionAssistor::ParsePsAttachResult(const std::string& answer)
{
    m_psAttachResult.fire(cellctl::text::readLeadingInt(answer) != 0);
}

void CConnectionAssistor::GetServiceMappingListResult(const std::string& answer)
{
    m_serviceMappingListResult.fire(answer);
}

void CConnectionAssistor::ParseGetUsimQosResult(const std::string& answer) { m_usimQosResult.fire(answer); }

void CConnectionAssistor::Get3GServiceQualityResult(const std::string& answer) { m_serviceQualityResult.fire(answer); }

void CConnectionAssistor::connectSetQosResult(boost::function1<void, bool> callback)
{
    m_setQosResult.connect(std::move(callback));
}

void CConnectionAssistor::connectSetPdpcontResult(boost::function1<void, bool> callback)
{
    m_setPdpcontResult.connect(std::move(callback));
}

void CConnectionAssistor::connectPsRegisterResult(boost::function1<void, int> callback)
{
    m_psRegisterResult.connect(std::move(callback));
}

void CConnectionAssistor::connectPsAttachResult(boost::function1<void, bool> callback)
{
    m_psAttachResult.connect(std::move(callback));
}

void CConnectionAssistor::connectQueryDsmlResult(boost::function1<void, std::string> callback)
{
    m_serviceMappingListResult.connect(std::move(callback));
}

void CConnectionAssistor::connectModifyUsimQosResult(boost::function1<void, std::string> callback)
{
    m_usimQosResult.connect(std::move(callback));
}

void CConnectionAssistor::connectQuery3GServiceQualityResult(boost::function1<void, std::string> callback)
{
    m_serviceQualityResult.connect(std::move(callback));
}
