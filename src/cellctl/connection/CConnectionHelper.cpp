#include <cellctl/connection/CConnectionHelper.h>

#include <cstddef>

#include <cellctl/connection/CConnectionAssistor.h>

namespace {

// Fixed fields 5 to 13 of the requested QoS profile: no guaranteed bit rates,
// no delivery order, 1500-byte SDUs, error ratios "0E0", erroneous-SDU
// delivery left out, no transfer delay, no handling priority.
const char kQosTail[] = ",0,0,0,1500,\"0E0\",\"0E0\",,0,0";
// Context 1, type IP, then the APN between these two.
const char kPdpContextHead[] = "1,\"IP\",\"";
const char kPdpContextTail[] = "\",,0,0";

using ResultEntry = void (CConnectionAssistor::*)(const std::string&);

struct Route {
    PhoneLine::QueryType code;
    ResultEntry entry;
};

const Route kQueryRoutes[] = {
    {PhoneLine::ServiceMappingList, &CConnectionAssistor::GetServiceMappingListResult},
    {PhoneLine::QualityOfService3G, &CConnectionAssistor::Get3GServiceQualityResult},
};

// Answers to 116 and 119 (the reporting switches) are deliberately not routed.
const Route kModifyRoutes[] = {
    {PhoneLine::UsimQos, &CConnectionAssistor::ParseGetUsimQosResult},
    {PhoneLine::PacketRegistration, &CConnectionAssistor::ParsePsRegisterResult},
    {PhoneLine::PacketAttach, &CConnectionAssistor::ParsePsAttachResult},
    {PhoneLine::QualityOfService3G, &CConnectionAssistor::ParseSetQosResult},
    {PhoneLine::PdpContext, &CConnectionAssistor::ParseSetPdpcontResult},
};

template <std::size_t N>
void route(const Route (&routes)[N], CConnectionAssistor* assistor, PhoneLine::QueryType code,
           const std::string& answer)
{
    if (assistor == nullptr)
        return;
    for (const Route& r : routes) {
        if (r.code == code) {
            (assistor->*r.entry)(answer);
            return;
        }
    }
}

}  // namespace

CConnectionHelper::CConnectionHelper() : m_connectionAssistor(nullptr) {}

CConnectionHelper::~CConnectionHelper() = default;

void CConnectionHelper::SetConnectionAssistor(CConnectionAssistor* assistor) { m_connectionAssistor = assistor; }

void CConnectionHelper::Initialize() { bindSlots(this); }

void CConnectionHelper::GetServiceMappingList() { sendQuery(PhoneLine::ServiceMappingList); }

void CConnectionHelper::ReadUsimQos(int number) { sendModify(PhoneLine::UsimQos, std::to_string(number)); }

void CConnectionHelper::EnableNetworkRegistrationStatus() { sendModify(PhoneLine::PacketRegistrationReporting, "1"); }

void CConnectionHelper::EnablePsAttach() { sendModify(PhoneLine::PacketAttach, "1"); }

void CConnectionHelper::EnablePacketDomainEventReporting() { sendModify(PhoneLine::PacketDomainEventReporting, "2,1"); }

void CConnectionHelper::Read3GServiceQuality() { sendQuery(PhoneLine::QualityOfService3G); }

void CConnectionHelper::SetPacketDomainQos(int contextId, int trafficClass, int maxBitRateUplink,
                                           int maxBitRateDownlink)
{
    sendModify(PhoneLine::QualityOfService3G, std::to_string(contextId) + ',' + std::to_string(trafficClass) + ',' +
                                                  std::to_string(maxBitRateUplink) + ',' +
                                                  std::to_string(maxBitRateDownlink) + kQosTail);
}

void CConnectionHelper::SetPdpContext(std::string apn)
{
    sendModify(PhoneLine::PdpContext, kPdpContextHead + apn + kPdpContextTail);
}

void CConnectionHelper::querySlot(PhoneLine::QueryType code, const std::string& answer)
{
    route(kQueryRoutes, m_connectionAssistor, code, answer);
}

void CConnectionHelper::modifySlot(PhoneLine::QueryType code, const std::string& answer)
{
    route(kModifyRoutes, m_connectionAssistor, code, answer);
}

void CConnectionHelper::ParseSetQosResult(const std::string& answer)
{
    if (m_connectionAssistor != nullptr)
        m_connectionAssistor->ParseSetQosResult(answer);
}

void CConnectionHelper::ParseSetPdpcontResult(const std::string& answer)
{
    if (m_connectionAssistor != nullptr)
        m_connectionAssistor->ParseSetPdpcontResult(answer);
}

void CConnectionHelper::ParsePsAttachResult(const std::string& answer)
{
    if (m_connectionAssistor != nullptr)
        m_connectionAssistor->ParsePsAttachResult(answer);
}

void CConnectionHelper::ParsePsRegisterResult(const std::string& answer)
{
    if (m_connectionAssistor != nullptr)
        m_connectionAssistor->ParsePsRegisterResult(answer);
}

void CConnectionHelper::sendQuery(PhoneLine::QueryType code)
{
    if (m_phoneLine != nullptr)
        m_phoneLine->query(code);
}

void CConnectionHelper::sendModify(PhoneLine::QueryType code, const std::string& text)
{
    if (m_phoneLine != nullptr)
        m_phoneLine->modify(code, text);
}
