#pragma once

#include <string>
#include <vector>

#include <cellctl/at/OperatorNames.h>

// The answer of a network scan (AT+COPS=?) in the one-line, fully quoted form
// the operator parser reads:
//   +COPS: (2,"long","short","46000",2),(1,...),,(0,1,2),(0,1,2)
// Devices in the field spread the operators over several +COPS: lines, break
// the list across lines, leave empty name fields unquoted, close a tuple before
// its access technology ("46000"),2) and, under HEX or UCS2, send names hex-encoded.

namespace cellctl::at {

// Lines that continue a broken scan list (they carry no +COPS: prefix).
bool continuesOperatorScan(const std::string& line, const std::string& collectedSoFar);

// The normalised +COPS: line made of the scan's information lines.
std::string normaliseOperatorScan(const std::vector<std::string>& lines, NameEncoding names);

}  // namespace cellctl::at
