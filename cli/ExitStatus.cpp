#include "ExitStatus.h"

#include <sstream>

namespace cellctl::cli {
namespace {

// One row per failure kind. The statuses are part of the interface: scripts
// test them, so a number never changes meaning.
const ExitStatusEntry kExitStatuses[] = {
    {ErrorKind::Failed, 1, "failed", "the modem refused or could not carry out the request"},
    {ErrorKind::BadArguments, 2, "bad-arguments", "bad command line"},
    {ErrorKind::NoSim, 3, "no-sim", "no SIM card in the modem"},
    {ErrorKind::PinRequired, 4, "pin-required", "the SIM card waits for its PIN (give it with --pin)"},
    {ErrorKind::WrongPassword, 5, "wrong-pin",
     "wrong PIN, PUK or password (the message says how many attempts are left)"},
    {ErrorKind::PukRequired, 6, "puk-required", "the SIM card is blocked and needs its PUK"},
    {ErrorKind::DeviceNotFound, 7, "device-not-found", "the device does not exist"},
    {ErrorKind::DeviceBusy, 8, "device-busy", "another program holds the device"},
    {ErrorKind::DeviceUnusable, 9, "device-unusable", "the device cannot be opened (permissions, not a modem)"},
    {ErrorKind::Timeout, 10, "timeout", "the modem did not answer in time"},
    {ErrorKind::DeviceLost, 11, "device-lost", "the device went away while in use"},
    {ErrorKind::NoNetwork, 12, "no-network", "no network registration (none in time, or denied)"},
    {ErrorKind::PppMissing, 13, "ppp-missing", "pppd is not installed (install the ppp package)"},
    {ErrorKind::PppNotPermitted, 14, "ppp-not-permitted", "pppd may be run only by root or members of the dip group"},
    {ErrorKind::NoKernelPpp, 15, "no-kernel-ppp", "the kernel has no PPP support (/dev/ppp is missing)"},
    {ErrorKind::DialFailed, 16, "dial-failed", "the modem could not dial the data call (NO CARRIER, BUSY, ERROR)"},
    {ErrorKind::NoIpAddress, 17, "no-ip-address", "PPP started but no IP address came in time (--ip-timeout)"},
    {ErrorKind::AuthRefused, 18, "auth-refused", "the network refused the PPP user name or password"},
    {ErrorKind::LinkDropped, 19, "link-dropped",
     "the data link went down and was not redialled (--no-redial, --max-redials)"},
    {ErrorKind::NoApn, 20, "no-apn", "no --apn given and none found for the SIM in the provider database"},
    {ErrorKind::OutputFailed, 21, "output-failed", "standard output could not be written (a closed pipe, a full disk)"},
    {ErrorKind::Internal, 70, "internal-error", "an internal error of cellctl"},
    {ErrorKind::Interrupted, 130, "interrupted", "interrupted (Ctrl-C or a termination signal)"},
};

const ExitStatusEntry* findEntry(ErrorKind kind)
{
    for (const ExitStatusEntry& entry : kExitStatuses) {
        if (entry.kind == kind)
            return &entry;
    }
    return nullptr;
}

}  // namespace

const ExitStatusEntry& exitStatusEntry(ErrorKind kind)
{
    // Every kind has a row (the tests check it); a missing one is our fault.
    const ExitStatusEntry* entry = findEntry(kind);
    return entry != nullptr ? *entry : *findEntry(ErrorKind::Internal);
}

std::vector<ExitStatusEntry> exitStatusTable() { return {std::begin(kExitStatuses), std::end(kExitStatuses)}; }

int exitStatusOf(ErrorKind kind) { return exitStatusEntry(kind).status; }

std::string exitStatusHelp()
{
    std::ostringstream text;
    text << "Exit status:\n  0    success\n";
    for (const ExitStatusEntry& entry : kExitStatuses) {
        std::string number = std::to_string(entry.status);
        text << "  " << number << std::string(5 - number.size(), ' ') << entry.meaning << '\n';
    }
    return text.str();
}

}  // namespace cellctl::cli
