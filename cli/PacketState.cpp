#include "PacketState.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include <cellctl/text/Comparison.h>

#include "Limits.h"
#include "Ts27007.h"

namespace cellctl::cli {
namespace {

// Where the fields read here stand in the answers (the context number first):
// +CGDCONT: <cid>,<PDP_type>,<APN>,... and
// +CGEQREQ: <cid>,<Traffic class>,<Maximum bitrate UL>,<Maximum bitrate DL>,...
constexpr std::size_t kApnField = 2;
constexpr std::size_t kTrafficClassField = 1;
constexpr std::size_t kUplinkField = 2;
constexpr std::size_t kDownlinkField = 3;

// The fields after "<prefix> " of the first answer line that has them, quotes
// taken off; empty when no line has the prefix. `first` (when given) picks
// the line whose first field it is: the context of a per-context read.
std::vector<std::string> fieldsOf(const std::string& answer, const std::string& prefix, const std::string& first = "")
{
    std::istringstream lines(answer);
    std::string line;
    while (std::getline(lines, line)) {
        if (!text::startsWith(line, prefix + " "))
            continue;
        std::vector<std::string> fields;
        std::istringstream rest(line.substr(prefix.size() + 1));
        std::string field;
        while (std::getline(rest, field, ',')) {
            field.erase(std::remove(field.begin(), field.end(), '"'), field.end());
            fields.push_back(field);
        }
        if (first.empty() || (!fields.empty() && fields[0] == first))
            return fields;
    }
    return {};
}

}  // namespace

bool isAttached(Session& session)
{
    std::string answer = session.read(PhoneLine::PacketAttach, "about the packet-domain attach", limits::kAnswer);
    std::vector<std::string> fields = fieldsOf(answer, "+CGATT:");
    return !fields.empty() && fields[0] == std::to_string(ts27007::PacketAttached);
}

bool contextHasApn(Session& session, int contextId, const std::string& apn)
{
    std::string answer = session.read(PhoneLine::PdpContext, "about the PDP context", limits::kAnswer);
    std::vector<std::string> fields = fieldsOf(answer, "+CGDCONT:", std::to_string(contextId));
    return fields.size() > kApnField && text::equalsIgnoringCase(fields[kApnField], apn);
}

bool qosProfileIs(Session& session, int contextId, const QosProfile& profile)
{
    std::string answer = session.read(PhoneLine::QualityOfService3G, "about the QoS profile", limits::kAnswer);
    std::vector<std::string> fields = fieldsOf(answer, "+CGEQREQ:", std::to_string(contextId));
    return fields.size() > kDownlinkField && fields[kTrafficClassField] == std::to_string(profile.trafficClass) &&
           fields[kUplinkField] == std::to_string(profile.uplinkKbps) &&
           fields[kDownlinkField] == std::to_string(profile.downlinkKbps);
}

}  // namespace cellctl::cli
