#pragma once

#include <stdexcept>
#include <string>

namespace cellctl::cli {

// Why a data session could not bring up or keep a link; the host turns each
// into its own message and exit status.
enum class DataLinkFailure {
    PppdMissing,       // no pppd: the ppp package is not installed
    PppdNotPermitted,  // pppd may not be run by this user
    NoKernelPpp,       // the kernel lacks PPP
    DialFailed,        // NO CARRIER, BUSY, ERROR, … on dial
    NoIpAddress,       // no address within the IP timeout
    AuthRefused,       // the network refused the user name or password
    LinkDropped,       // the link went down and was not (or no longer) redialled
    PppdFailed,        // pppd ended for another reason before the link was up
    DeviceBusy,        // another program holds the port
    DeviceLost,        // the port went away mid-session
    ModemStuck         // the modem does not answer after hang-up
};

class DataLinkError : public std::runtime_error {
public:
    DataLinkError(DataLinkFailure failure, const std::string& message) : std::runtime_error(message), m_failure(failure)
    {
    }
    DataLinkFailure failure() const { return m_failure; }

private:
    DataLinkFailure m_failure;
};

}  // namespace cellctl::cli
