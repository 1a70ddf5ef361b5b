#pragma once

#include <string>
#include <vector>

#include <cellctl/connection/CConnectionAssistor.h>
#include <cellctl/connection/CConnectionHelper.h>

#include "RecordingPhoneLine.h"

namespace cellctl::test {

// Logs every result of an assistor as "<result>:<value>", in arrival order.
class ConnectionResultLog {
public:
    explicit ConnectionResultLog(CConnectionAssistor& assistor)
    {
        assistor.connectSetQosResult([this](bool ok) { add("qos", ok); });
        assistor.connectSetPdpcontResult([this](bool ok) { add("pdp", ok); });
        assistor.connectPsRegisterResult([this](int value) { add("register", std::to_string(value)); });
        assistor.connectPsAttachResult([this](bool ok) { add("attach", ok); });
        assistor.connectQueryDsmlResult([this](std::string text) { add("dsml", text); });
        assistor.connectModifyUsimQosResult([this](std::string text) { add("usimqos", text); });
        assistor.connectQuery3GServiceQualityResult([this](std::string text) { add("quality", text); });
    }

    // Returns what arrived since the last call and forgets it.
    std::vector<std::string> take()
    {
        std::vector<std::string> taken;
        taken.swap(m_entries);
        return taken;
    }

private:
    void add(const char* result, bool value) { add(result, std::string(value ? "true" : "false")); }
    void add(const char* result, const std::string& value) { m_entries.push_back(std::string(result) + ":" + value); }

    std::vector<std::string> m_entries;
};

// The packet-data pair wired as the host wires it, on a recording line.
struct WiredConnection {
    WiredConnection()
    {
        helper.SetConnectionAssistor(&assistor);
        helper.SetPhoneLine(&line);
        helper.Initialize();
    }
    ~WiredConnection() { assistor.ResetPhoneLine(); }

    RecordingPhoneLine line;
    CConnectionHelper helper;
    CConnectionAssistor assistor{&helper};
    ConnectionResultLog log{assistor};
};

}  // namespace cellctl::test
