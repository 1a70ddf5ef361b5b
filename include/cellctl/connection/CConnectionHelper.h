#pragma once

#include <string>

#include <cellctl/framework/CAtHelper.h>
#include <cellctl/framework/Export.h>
#include <cellctl/framework/PhoneLine.h>

class CConnectionAssistor;

// Packet-data helper: turns the connection assistor's requests into PhoneLine
// commands and hands every answer it handles to that assistor. The host owns
// both objects and wires them: SetConnectionAssistor, SetPhoneLine, Initialize.
class CELLCTL_EXPORT CConnectionHelper : public CAtHelper {
public:
    CConnectionHelper();
    CConnectionHelper(const CConnectionHelper&) = default;
    CConnectionHelper& operator=(const CConnectionHelper&) = default;
    // Does not unbind the slots: UnInitialize must run first.
    ~CConnectionHelper() override;

    // Stores the assistor that receives parsed answers (borrowed, may be null).
    void SetConnectionAssistor(CConnectionAssistor* assistor);

    void Initialize() override;

    // Commands. Each sends one request, or nothing while no PhoneLine is set.
    void GetServiceMappingList();
    void ReadUsimQos(int number);
    void EnableNetworkRegistrationStatus();
    void EnablePsAttach();
    void EnablePacketDomainEventReporting();
    void Read3GServiceQuality();
    // Requested 3G QoS profile: the four values as given, then fixed defaults
    // for the remaining nine fields.
    void SetPacketDomainQos(int contextId, int trafficClass, int maxBitRateUplink, int maxBitRateDownlink);
    // Defines context 1 as an IP context on the given APN, inserted verbatim.
    void SetPdpContext(std::string apn);

    // Answer routing by code; code 120 means the profile read on the query
    // signal and the outcome of the profile set on the modify signal.
    void querySlot(PhoneLine::QueryType code, const std::string& answer);
    void modifySlot(PhoneLine::QueryType code, const std::string& answer);

    // The same results as the assistor's entry points of the same names;
    // nothing happens while no assistor is set.
    void ParseSetQosResult(const std::string& answer);
    void ParseSetPdpcontResult(const std::string& answer);
    void ParsePsAttachResult(const std::string& answer);
    void ParsePsRegisterResult(const std::string& answer);

private:
    void sendQuery(PhoneLine::QueryType code);
    void sendModify(PhoneLine::QueryType code, const std::string& text);

    CConnectionAssistor* m_connectionAssistor;
};
