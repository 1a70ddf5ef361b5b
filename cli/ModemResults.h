#pragma once

#include <string>
#include <vector>

#include <cellctl/cellctl.h>

#include "Assistors.h"
#include "ResultTap.h"

namespace cellctl::cli {

// Every library result cellctl uses, one tap per callback kind. Records the
// library hands out by pointer (modes) are copied, so listeners own what they
// keep.
struct ModemResults {
    // Registers one callback per kind with the assistors: after they are
    // attached to the channel and before the first request, as at start-up.
    void connectTo(Assistors& assistors);

    // Power and registration.
    ResultTap<bool> poweredOn;     // answer to the power-on command
    ResultTap<bool> wasPoweredOn;  // radio state read at the start of power-on
    ResultTap<bool> poweredOff;
    ResultTap<bool> softReset;
    ResultTap<int, int> signal;   // access technology (0 GSM, 2 TD), level
    ResultTap<int> registration;  // queried or reported status

    // SIM.
    ResultTap<bool> needPin;  // true: waits for the PIN; false: ready
    ResultTap<bool> needPuk;
    ResultTap<bool> simAbsent;
    ResultTap<bool, int> pinChecked;  // verdict, attempts left by the library's count
    ResultTap<std::string> attempts;  // the device's remaining-attempts answer
    ResultTap<std::string> pinLock;   // the device's lock-state answer
    ResultTap<bool, int> pukChecked;  // answer to PUK + new PIN
    ResultTap<bool> lockPasswordChanged;
    ResultTap<bool> fixedDialingPasswordChanged;

    // Operators.
    ResultTap<CCopsInfo> currentOperator;
    ResultTap<std::vector<CCopsInfo>> availableOperators;
    ResultTap<bool> operatorSelected;
    ResultTap<CCopsInfo> preferredSelector;
    ResultTap<std::vector<CCopsInfo>> preferredOperators;
    ResultTap<bool> selectorSet;
    ResultTap<bool> preferredListChanged;

    // Network mode.
    ResultTap<CMode> currentMode;
    ResultTap<CMode> powerOnMode;
    ResultTap<bool> modeSwitched;
    ResultTap<bool> powerOnModeSet;
    ResultTap<CCellCapabilityInfo> cellCapability;

    // Packet data.
    ResultTap<bool> contextDefined;
    ResultTap<bool> qosSet;
    ResultTap<bool> attached;
    ResultTap<int> packetRegistration;
};

}  // namespace cellctl::cli
