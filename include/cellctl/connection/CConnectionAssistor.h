#pragma once

#include <string>

#include <cellctl/framework/CAssistor.h>
#include <cellctl/framework/Export.h>
#include <cellctl/framework/ResultSignal.h>
#include <cellctl/framework/Signals.h>

class CConnectionHelper;

// Host-facing packet-data object: attach, PDP context and QoS set-up, and the
// USIM QoS, 3G service quality and service mapping list reads. The helper is
// borrowed; the host also calls the helper's SetConnectionAssistor with this
// object. Callbacks stay registered for the life of the assistor.
class CELLCTL_EXPORT CConnectionAssistor : public CAssistor {
public:
    explicit CConnectionAssistor(CConnectionHelper* helper);
    CConnectionAssistor(const CConnectionAssistor&) = delete;
    CConnectionAssistor& operator=(const CConnectionAssistor&) = delete;
    // Drops every callback; neither unbinds nor deletes the helper.
    ~CConnectionAssistor() override;

    void SetHelper(CConnectionHelper* helper);
    // Unbinds the helper from its PhoneLine.
    void ResetPhoneLine();

    // Requests; each does nothing while no helper is set.
    virtual void Initialize();    // switches packet-domain registration reports on
    virtual void UnInitialize();  // nothing to undo
    virtual void AttachGprs();
    // Defines context 1 on the APN, then requests the QoS profile for
    // `qosContextId`, without waiting for the first answer.
    virtual void PdpActive(int qosContextId, std::string apn, int trafficClass, int maxBitRateUplink,
                           int maxBitRateDownlink);
    // Defines context 1 on the APN only; the integers are not used.
    virtual void GsmPdpActive(int qosContextId, std::string apn, int trafficClass, int maxBitRateUplink,
                              int maxBitRateDownlink);
    virtual void GetServiceMappingList();
    virtual void ReadUsimQos(int number);
    virtual void Get3GServiceQuality();

    // Result entry points: each turns the answer text into its value and
    // fires that result's callbacks once.
    void ParseSetQosResult(const std::string& answer);            // "OK" anywhere
    void ParseSetPdpcontResult(const std::string& answer);        // "OK" anywhere
    void ParsePsRegisterResult(const std::string& answer);        // leading number
    void ParsePsAttachResult(const std::string& answer);          // leading number != 0
    void GetServiceMappingListResult(const std::string& answer);  // whole text
    void ParseGetUsimQosResult(const std::string& answer);        // whole text
    void Get3GServiceQualityResult(const std::string& answer);    // whole text

    // Callback registration; callbacks run in registration order.
    void connectSetQosResult(boost::function1<void, bool> callback);
    void connectSetPdpcontResult(boost::function1<void, bool> callback);
    void connectPsRegisterResult(boost::function1<void, int> callback);
    void connectPsAttachResult(boost::function1<void, bool> callback);
    void connectQueryDsmlResult(boost::function1<void, std::string> callback);
    void connectModifyUsimQosResult(boost::function1<void, std::string> callback);
    void connectQuery3GServiceQualityResult(boost::function1<void, std::string> callback);

private:
    CConnectionHelper* m_helper;
    cellctl::ConnectOnlyResultSignal<bool> m_setQosResult;
    cellctl::ConnectOnlyResultSignal<bool> m_setPdpcontResult;
    cellctl::ConnectOnlyResultSignal<int> m_psRegisterResult;
    cellctl::ConnectOnlyResultSignal<bool> m_psAttachResult;
    cellctl::ConnectOnlyResultSignal<std::string> m_serviceMappingListResult;
    cellctl::ConnectOnlyResultSignal<std::string> m_usimQosResult;
    cellctl::ConnectOnlyResultSignal<std::string> m_serviceQualityResult;
};
