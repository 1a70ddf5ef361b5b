#include <cellsim/ModemOptions.h>

namespace cellsim {
namespace {

struct KnownName {
    const char* numeric;
    const char* longName;  // GBK
    const char* shortName;
};

// Operators of the country the modem is sold in, with their GBK long names.
const KnownName knownNames[] = {
    {"46000", "\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF", "CMCC"}, {"46002", "\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF", "CMCC"},
    {"46007", "\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF", "CMCC"}, {"46001", "\xD6\xD0\xB9\xFA\xC1\xAA\xCD\xA8", "CUCC"},
    {"46005", "\xD6\xD0\xB9\xFA\xB5\xE7\xD0\xC5", "CTC"},  {"46006", "\xD6\xD0\xB9\xFA\xCD\xF8\xCD\xA8", "CNC"},
};

NetworkEntry entry(const char* numeric, int accessTech, bool home, bool forbidden)
{
    NetworkEntry network = knownOperator(numeric, accessTech);
    network.home = home;
    network.forbidden = forbidden;
    return network;
}

}  // namespace

NetworkEntry knownOperator(const std::string& numeric, int accessTech)
{
    NetworkEntry network;
    network.numeric = numeric;
    network.accessTech = accessTech;
    network.longName = numeric;
    network.shortName = numeric;
    for (const KnownName& known : knownNames) {
        if (numeric == known.numeric) {
            network.longName = known.longName;
            network.shortName = known.shortName;
        }
    }
    return network;
}

std::vector<NetworkEntry> defaultNetworks()
{
    return {
        entry("46000", AccessTd, true, false),   entry("46000", AccessGsm, true, false),
        entry("46002", AccessGsm, true, false),  entry("46007", AccessTd, true, false),
        entry("46001", AccessGsm, false, false), entry("46005", AccessGsm, false, true),
        entry("46006", AccessGsm, false, true),
    };
}

}  // namespace cellsim
