#pragma once

#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

namespace cellctl::cli {

// Every way a command can fail. Each kind has its own exit status and JSON name
// (ExitStatus.cpp holds the table).
enum class ErrorKind {
    Failed,  // the modem refused or could not carry out the request
    BadArguments,
    NoSim,
    PinRequired,    // the SIM waits for its PIN and none was given
    WrongPassword,  // wrong PIN, PUK or password; attempts left in the message
    PukRequired,    // the SIM is blocked and waits for its PUK
    DeviceNotFound,
    DeviceBusy,
    DeviceUnusable,  // the device exists but cannot be opened (permissions, not a modem)
    Timeout,
    DeviceLost,
    NoNetwork,        // no registration within the time limit, or registration denied
    PppMissing,       // pppd is not installed
    PppNotPermitted,  // pppd may be run only by root or the dip group
    NoKernelPpp,      // the kernel has no PPP (/dev/ppp)
    DialFailed,       // NO CARRIER, BUSY, ERROR, … on dial
    NoIpAddress,      // PPP gave no address in time
    AuthRefused,      // the network refused the PPP user name or password
    LinkDropped,      // the link went down and was not (or no longer) redialled
    NoApn,            // no --apn and none in the provider database
    OutputFailed,     // standard output stopped taking what is written (closed pipe, full disk)
    Interrupted,
    Internal  // a fault of cellctl itself
};

// A failure on its way to main(), which prints `what()` and exits with the
// kind's status. `details` travel into the JSON document's error object.
class CliError : public std::runtime_error {
public:
    CliError(ErrorKind kind, const std::string& message, nlohmann::json details = nlohmann::json::object())
        : std::runtime_error(message),
          m_kind(kind),
          m_details(std::move(details))
    {
    }

    ErrorKind kind() const { return m_kind; }
    const nlohmann::json& details() const { return m_details; }

private:
    ErrorKind m_kind;
    nlohmann::json m_details;
};

}  // namespace cellctl::cli
