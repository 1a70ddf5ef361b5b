#pragma once

#include <map>
#include <string>
#include <vector>

namespace cellsim {

// A PDP context as +CGDCONT defines it.
struct PdpContext {
    std::string type;
    std::string apn;
    std::string address;
    int dataCompression = 0;
    int headerCompression = 0;
};

// Packet-data settings kept by context identifier: contexts, requested QoS
// profiles (+CGEQREQ, the fields after the cid as the modem shows them), and
// packet-domain event reporting (+CGEREP).
struct PacketData {
    static constexpr int MaxContextId = 11;

    std::map<int, PdpContext> contexts;
    std::map<int, std::vector<std::string>> qosProfiles;
    int eventMode = 0;
    int eventBuffer = 0;
};

}  // namespace cellsim
