#pragma once

#include <chrono>

namespace cellctl::cli {

using Seconds = std::chrono::duration<double>;

// How long each kind of step may take before cellctl gives up, unless
// --timeout says otherwise. Each is a little above the channel's own limit for
// the command, so that normally the channel reports first and says which
// command went unanswered.
namespace limits {
// The channel's own limit for most commands; --timeout scales the channel's
// limits by the user's value over this one (never below them).
inline const Seconds kChannelAnswer{3};
inline const Seconds kAnswer{10};          // most commands: 3 s on the channel
inline const Seconds kPowerOn{40};         // +CFUN: up to 30 s
inline const Seconds kSim{15};             // +CPIN?: up to 10 s while the card starts
inline const Seconds kPreferredList{25};   // +CPOL: about 20 s
inline const Seconds kScan{330};           // +COPS=?: minutes
inline const Seconds kSelect{130};         // manual +COPS=: up to 2 minutes
inline const Seconds kAttach{160};         // +CGATT: minutes
inline const Seconds kRegistration{60};    // from radio on to a network
inline const Seconds kSettle{15};          // the same, when a command only shows the network
inline const Seconds kEarlierCommand{60};  // a modem still finishing a command of an earlier run
// How long an aborted command's final result is awaited before leaving.
inline const std::chrono::milliseconds kAbortGrace{2000};
}  // namespace limits

// How often a state that has no report of its own is asked again.
namespace polling {
inline const Seconds kSimBusy{1};
inline const Seconds kRegistration{2};
inline const Seconds kScanProgress{5};
}  // namespace polling

}  // namespace cellctl::cli
