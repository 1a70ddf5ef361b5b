#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include <cellctl/cellctl.h>

namespace cellctl::cli {

// The numbers the modem reports, in words: for people ("text") and as stable
// names for JSON ("name"). Numbers without a word stay visible as numbers.

std::string registrationText(int status);
std::string registrationName(int status);
bool isRegistered(int status);

std::string accessTechnologyText(int accessTechnology);
std::string accessTechnologyName(int accessTechnology);

// The signal as the modem gave it; a GSM reading also in dBm.
std::string signalText(int accessTechnology, int level);
nlohmann::json signalJson(int accessTechnology, int level);

// An operator: its display name in UTF-8 with the numeric code beside it.
std::string operatorText(const CCopsInfo& info);
// The operator's name alone, decoded; empty when it has none.
std::string displayName(const CCopsInfo& info);
nlohmann::json operatorJson(const CCopsInfo& info);
std::string operatorSelectionText(int modeType);
std::string operatorStateText(int state);
std::string operatorStateName(int state);

// Network modes. The mode command's second number says how the modem picks
// its network: 0 both (dual mode, preferring the access technology given),
// any other number only the access technology given; cellctl asks for 2.
constexpr int kModeTypeDual = 0;
constexpr int kModeTypeSingle = 2;
std::string networkModeText(const CMode& mode);
nlohmann::json networkModeJson(const CMode& mode);
// The power-on mode names only the access technology the modem starts on.
std::string powerOnModeText(const CMode& mode);
nlohmann::json powerOnModeJson(const CMode& mode);

}  // namespace cellctl::cli
