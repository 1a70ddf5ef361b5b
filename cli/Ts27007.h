#pragma once

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

}  // namespace cellctl::cli::ts27007
