#include "QosProfile.h"

#include <cctype>
#include <vector>

namespace cellctl::cli {
namespace {

// Traffic classes of the 3G QoS profile, by their number.
const char* const kTrafficClasses[] = {"conversational", "streaming", "interactive", "background", "subscribed"};
constexpr int kTrafficClassCount = 5;
constexpr long kMaxBitRateKbps = 256000;

std::vector<std::string> splitAtCommas(const std::string& text)
{
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (c == ',')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

std::optional<int> readBitRate(const std::string& field)
{
    if (field.empty() || field.size() > 6)
        return std::nullopt;
    long value = 0;
    for (char c : field) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > kMaxBitRateKbps)
        return std::nullopt;
    return static_cast<int>(value);
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

std::optional<QosProfile> parseQosProfile(const std::string& text)
{
    std::vector<std::string> fields = splitAtCommas(text);
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
