#include "QosProfile.h"

#include <iterator>
#include <vector>

#include <cellctl/text/Fields.h>
#include <cellctl/text/Numbers.h>

namespace cellctl::cli {
namespace {

// Traffic classes of the 3G QoS profile, by their number.
const char* const kTrafficClasses[] = {"conversational", "streaming", "interactive", "background", "subscribed"};
constexpr int kTrafficClassCount = static_cast<int>(std::size(kTrafficClasses));
static_assert(kTrafficClassCount == ts27007::TrafficSubscribed + 1);
constexpr int kMaxBitRateKbps = 256000;
constexpr std::size_t kLongestBitRate = 6;  // digits of kMaxBitRateKbps

std::optional<int> readBitRate(const std::string& field)
{
    if (field.size() > kLongestBitRate || !text::isDigits(field))
        return std::nullopt;
    std::optional<int> value = text::readNumberField(field);
    if (!value || *value > kMaxBitRateKbps)
        return std::nullopt;
    return value;
}

std::optional<int> readTrafficClass(const std::string& field)
{
    for (int i = 0; i < kTrafficClassCount; ++i) {
        if (field == kTrafficClasses[i] || field == std::to_string(i))
            return i;
    }
    return std::nullopt;
}

}  // namespace

std::optional<QosProfile> parseQosProfile(const std::string& argument)
{
    std::vector<std::string> fields = text::splitFields(argument);
    if (fields.size() != 3)
        return std::nullopt;
    std::optional<int> trafficClass = readTrafficClass(fields[0]);
    std::optional<int> uplink = readBitRate(fields[1]);
    std::optional<int> downlink = readBitRate(fields[2]);
    if (!trafficClass || !uplink || !downlink)
        return std::nullopt;
    return QosProfile{*trafficClass, *uplink, *downlink};
}

std::string trafficClassName(int trafficClass)
{
    if (trafficClass >= 0 && trafficClass < kTrafficClassCount)
        return kTrafficClasses[trafficClass];
    return "class " + std::to_string(trafficClass);
}

std::string qosText(const QosProfile& profile)
{
    return trafficClassName(profile.trafficClass) + ", " + std::to_string(profile.uplinkKbps) + "/" +
           std::to_string(profile.downlinkKbps) + " kbit/s up/down";
}

}  // namespace cellctl::cli
