#pragma once

#include <string>

// Numbers of 3GPP TS 27.007 that cellctl reads from the modem and the library
// leaves unnamed. CCopsInfo names the operator states, formats and access
// technologies and the automatic and manual selection modes.

namespace cellctl::cli::ts27007 {

// <stat> of +CREG and +CGREG.
enum RegistrationStatus : int {
    NotRegistered = 0,
    RegisteredHome = 1,
    Searching = 2,
    RegistrationDenied = 3,
    RegistrationUnknown = 4,
    RegisteredRoaming = 5,
};

// <mode> of +COPS beyond automatic (0) and manual (1).
enum OperatorSelectionMode : int {
    SelectionDeregister = 2,
    SelectionManualThenAutomatic = 4,
};

// <rssi> of +CSQ when the level is not known or not detectable.
constexpr int kRssiNotKnown = 99;
// Any other <rssi> stands for a signal strength in 2 dB steps from -113 dBm.
constexpr int kRssiZeroDbm = -113;
constexpr int kRssiStepDb = 2;

constexpr int rssiToDbm(int rssi) { return kRssiZeroDbm + kRssiStepDb * rssi; }

// <state> of +CGATT.
enum PacketAttachState : int {
    PacketDetached = 0,
    PacketAttached = 1,
};

// <Traffic class> of +CGEQREQ.
enum TrafficClass : int {
    TrafficConversational = 0,
    TrafficStreaming = 1,
    TrafficInteractive = 2,
    TrafficBackground = 3,
    TrafficSubscribed = 4,
};

// A +CME ERROR the modem gives as a final result: numbered ("+CME ERROR: 14")
// after AT+CMEE=1, in words ("+CME ERROR: SIM busy") after AT+CMEE=2.
struct MobileEquipmentError {
    int code;
    const char* text;
};

constexpr char kCmeErrorPrefix[] = "+CME ERROR: ";
constexpr MobileEquipmentError kSimNotInserted{10, "SIM not inserted"};
constexpr MobileEquipmentError kSimBusy{14, "SIM busy"};

// The numbered result line of `error`.
inline std::string numberedCmeError(const MobileEquipmentError& error)
{
    return kCmeErrorPrefix + std::to_string(error.code);
}

}  // namespace cellctl::cli::ts27007
