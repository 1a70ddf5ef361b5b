#pragma once

#include <optional>
#include <string>

namespace cellctl::cli {

// The library hands two SIM answers over as the device gave them; these read
// them with the text kit the AT channel reads answers with.

// Remaining attempts, "^DRAP: <pin>,<puk>,<pin2>,<puk2>". A count the answer
// does not carry stays empty.
struct SimAttempts {
    std::optional<int> pin;
    std::optional<int> puk;
    std::optional<int> pin2;
    std::optional<int> puk2;
};
SimAttempts readAttempts(const std::string& answer);

// The PIN lock state, "+CLCK: <status>": true when the lock is on. Empty when
// the answer carries no status (an error).
std::optional<bool> readPinLock(const std::string& answer);

}  // namespace cellctl::cli
