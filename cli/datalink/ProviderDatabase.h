#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cellctl::cli {

// What a packet-data connection needs from the provider database: the access
// point and, when the provider asks for them, the credentials.
struct AccessPointSettings {
    std::string apn;
    std::string user;              // may be empty
    std::string password;          // may be empty; never put into any message
    std::string auth;              // "pap", "chap" or "" when the entry names no method
    std::vector<std::string> dns;  // static DNS servers the entry lists, usually none
    std::string provider;          // the provider's name
    std::string country;           // the country code of the entry, e.g. "cn"
};

struct ProviderMatch {
    std::optional<AccessPointSettings> settings;  // empty: nothing suitable found
    std::string explanation;                      // for people: the entry chosen and by which rule, or why none was
};

// Where Debian's mobile-broadband-provider-info package puts its database.
constexpr const char* kProviderDatabasePath = "/usr/share/mobile-broadband-provider-info/serviceproviders.xml";

// Finds the internet access point for a SIM in the provider database.
// imsi: the SIM identity (AT+CIMI), 15 digits, or empty when the modem gave
// none. registeredCode: the numeric code (MCC + MNC, 5 or 6 digits) of the
// network the modem is registered on, or empty; registeredName: that
// operator's name, or empty.
// The entry is looked up by the SIM's home network, then by the registered
// network's code, then by the registered operator's name among the providers
// of the same country. The explanation names no password; the operator name
// it may quote is passed through as given.
ProviderMatch findAccessPoint(const std::string& databasePath, const std::string& imsi,
                              const std::string& registeredCode, const std::string& registeredName);

}  // namespace cellctl::cli
