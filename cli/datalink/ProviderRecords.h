#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "datalink/ProviderDatabase.h"

namespace cellctl::cli {

// A network code as the database writes it: "00" and "000" are different
// networks, so the MNC stays text.
struct NetworkCode {
    std::string mcc;
    std::string mnc;
};

// Why an APN was taken as the provider's internet APN, best first.
enum class ApnBasis {
    internetUsage,        // the first marked <usage type="internet"/>
    sharedInternetUsage,  // none is; the first whose usage includes internet, e.g. "mms-internet-hipri"
    noUsageStated,        // no APN of the entry states a usage; its first APN
};

// One provider's GSM entry, reduced to what the lookup needs.
struct ProviderRecord {
    std::string country;             // code attribute of the enclosing <country>
    std::string name;                // the name without a language tag, else the first
    std::vector<std::string> names;  // every name, in any language
    bool primary = false;            // primary="true": the network owner among providers sharing a code
    std::vector<NetworkCode> networks;
    std::optional<AccessPointSettings> internetApn;  // empty when no APN qualifies
    ApnBasis apnBasis = ApnBasis::internetUsage;
};

struct ProviderFile {
    std::vector<ProviderRecord> providers;
    std::string error;  // why the file could not be read whole, e.g. "cannot be read (...)"; empty when it was
};

// Reads the database in one streaming pass and keeps the GSM providers of the
// countries that list at least one of wantedMccs. Providers without a <gsm>
// section are left out; <cdma> sections are ignored.
ProviderFile readProviders(const std::string& path, const std::set<std::string>& wantedMccs);

}  // namespace cellctl::cli
