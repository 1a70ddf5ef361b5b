#include "PacketState.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

#include "Limits.h"

namespace cellctl::cli {
namespace {

// The fields after "<prefix> " of the first answer line that has them, quotes
// taken off; empty when no line has the prefix. `first` (when given) picks
// the line whose first field it is: the context of a per-context read.
std::vector<std::string> fieldsOf(const std::string& answer, const std::string& prefix,
                                  const std::string& first = "")
{
    std::istringstream lines(answer);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, prefix.size() + 1, prefix + " ") != 0)
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

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

bool isAttached(Session& session)
{
    std::string answer = session.read(PhoneLine::PacketAttach, "about the packet-domain attach", limits::kAnswer);
    std::vector<std::string> fields = fieldsOf(answer, "+CGATT:");
    return !fields.empty() && fields[0] == "1";
}

bool contextHasApn(Session& session, int contextId, const std::string& apn)
{
    std::string answer = session.read(PhoneLine::PdpContext, "about the PDP context", limits::kAnswer);
    std::vector<std::string> fields = fieldsOf(answer, "+CGDCONT:", std::to_string(contextId));
    return fields.size() >= 3 && lowerCase(fields[2]) == lowerCase(apn);
}

bool qosProfileIs(Session& session, int contextId, const QosProfile& profile)
{
    std::string answer = session.read(PhoneLine::QualityOfService3G, "about the QoS profile", limits::kAnswer);
    std::vector<std::string> fields = fieldsOf(answer, "+CGEQREQ:", std::to_string(contextId));
    return fields.size() >= 4 && fields[1] == std::to_string(profile.trafficClass) &&
           fields[2] == std::to_string(profile.uplinkKbps) && fields[3] == std::to_string(profile.downlinkKbps);
}

}  // namespace cellctl::cli
