#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include <cellsim/FirmwareQuirks.h>

namespace cellsim {

// Access technologies as the modem numbers them in +COPS, +CPOL and ^DSTM.
enum AccessTech : int { AccessGsm = 0, AccessTd = 2 };

// One network the radio can see: a PLMN on one access technology.
struct NetworkEntry {
    std::string numeric;   // MCC and MNC, e.g. "46000"
    std::string longName;  // GBK bytes
    std::string shortName;
    int accessTech = AccessTd;
    bool forbidden = false;  // listed in the scan, refused on selection
    bool home = false;       // registers as home (status 1); others register roaming (5)
};

// The six operators the modem knows by name, each on the access technologies
// its network offers. The first entry is the home network on TD.
std::vector<NetworkEntry> defaultNetworks();

// Looks up the built-in names of a numeric operator code; unknown codes get
// the code itself as both names.
NetworkEntry knownOperator(const std::string& numeric, int accessTech);

enum class SimStart { Ready, PinLocked, PukBlocked, Absent };
enum class ModeStart { Gsm, Td, Dual };

// Misbehaviour that a real line or device shows, for testing hosts against it.
struct Faults {
    std::chrono::milliseconds latency{0};  // delay before every command runs
    double dropRate = 0.0;                 // share of answers lost (0 to 1)
    bool splitWrites = false;              // output leaves in small pieces, 1 ms apart
    bool forcedEcho = false;               // echoes input even after ATE0
    bool garbage = false;                  // a line of junk bytes before every answer
    unsigned storm = 0;                    // unsolicited lines before every answer
    std::vector<std::string> refused;      // commands ("+CGDCONT") always answered ERROR
};

// The starting state of the modem and its faults.
struct ModemOptions {
    SimStart sim = SimStart::Ready;
    std::string pin = "1234";
    std::string puk = "12345678";
    std::string pin2 = "5678";
    std::string puk2 = "87654321";
    bool usim = true;  // ^DUSIM: 1 (USIM) or 0 (SIM)
    ModeStart mode = ModeStart::Dual;
    std::vector<NetworkEntry> networks = defaultNetworks();
    std::chrono::milliseconds registrationDelay{1000};
    std::chrono::milliseconds scanDuration{3000};
    // Whether a character received while a command that takes time runs
    // aborts it (V.250), as most modems do. Without, the command runs to its
    // end and lines received meanwhile wait their turn.
    bool abortOnCharacter = true;
    std::string revision = "CELLSIM TD-HSDPA V1.0.0";
    int gsmRssi = 23;  // +CSQ value while camped on GSM
    int tdLevel = 41;  // ^DCSQ value while camped on TD
    Faults faults;
    FirmwareQuirks quirks;   // how the firmware bends the standard forms
    std::uint32_t seed = 1;  // drives drops, garbage and split sizes
    // The network side of data calls (ATD*99#): a command run with /bin/sh -c,
    // its standard input and output joined to the call. Empty: the host's
    // data goes nowhere and nothing answers it.
    std::string dataPeer;
    bool dataPort = false;  // a second port for data beside the AT port (PtyServer)
};

}  // namespace cellsim
