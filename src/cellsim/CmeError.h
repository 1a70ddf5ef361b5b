#pragma once

namespace cellsim {

// Mobile equipment error codes the modem reports (+CME ERROR: <n>).
enum class CmeError : int {
    OperationNotAllowed = 3,
    OperationNotSupported = 4,
    SimNotInserted = 10,
    SimPinRequired = 11,
    SimPukRequired = 12,
    SimFailure = 13,
    IncorrectPassword = 16,
    SimPin2Required = 17,
    SimPuk2Required = 18,
    MemoryFull = 20,
    InvalidIndex = 21,
    NotFound = 22,
    NoNetworkService = 30,
    NetworkNotAllowed = 32,
    IncorrectParameters = 50,
};

// The verbose text of a code, as AT+CMEE=2 shows it.
const char* cmeErrorText(CmeError error);

}  // namespace cellsim
