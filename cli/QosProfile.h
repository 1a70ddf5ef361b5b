#pragma once

#include <optional>
#include <string>

#include "Ts27007.h"

namespace cellctl::cli {

// The requested 3G quality of service of a connection: traffic class and the
// maximum bit rates up and down, in kbit/s.
struct QosProfile {
    int trafficClass = ts27007::TrafficBackground;
    int uplinkKbps = 64;
    int downlinkKbps = 384;
};

// "CLASS,UL,DL", CLASS a number 0 to 4 or its name (conversational,
// streaming, interactive, background, subscribed). Empty when malformed.
std::optional<QosProfile> parseQosProfile(const std::string& text);

std::string trafficClassName(int trafficClass);
std::string qosText(const QosProfile& profile);

}  // namespace cellctl::cli
