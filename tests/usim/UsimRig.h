#pragma once

#include <string>
#include <vector>

#include <cellctl/usim/CUsimAssistor.h>

#include "RecordingPhoneLine.h"

namespace cellctl::test {

// A SIM assistor attached to a recording PhoneLine, with a callback of every
// kind connected. Each callback appends one line such as "CheckPin(false,2)"
// to `events`, so a test compares the whole outcome of an answer at once.
struct UsimRig {
    RecordingPhoneLine line;  // declared first: outlives the assistor
    CUsimAssistor assistor;
    std::vector<std::string> events;

    UsimRig()
    {
        assistor.SetPhoneLine(&line);
        assistor.connectNeedCheckPinResult([this](bool v) { log("NeedCheckPin", text(v)); });
        assistor.connectNeedCheckPukResult([this](bool v) { log("NeedCheckPuk", text(v)); });
        assistor.connectCheckPinResult(
            [this](bool ok, int left) { log("CheckPin", text(ok) + "," + std::to_string(left)); });
        assistor.connectCheckPukResult(
            [this](bool ok, int left) { log("CheckPuk", text(ok) + "," + std::to_string(left)); });
        assistor.connectQuerySimCardExistResult([this](bool v) { log("QuerySimCardExist", text(v)); });
        assistor.connectQueryAttemptRemain([this](std::string v) { log("QueryAttemptRemain", v); });
        assistor.connectQueryIsPinStarted([this](std::string v) { log("QueryIsPinStarted", v); });
        assistor.connectChangeLockSimCardPassword([this](bool v) { log("ChangeLockSimCardPassword", text(v)); });
        assistor.connectChangeSimFixedDialingMemoryPassword(
            [this](bool v) { log("ChangeSimFixedDialingMemoryPassword", text(v)); });
    }

    ~UsimRig() { assistor.ResetPhoneLine(); }

    // Events logged since the last call; clears the log.
    std::vector<std::string> take()
    {
        std::vector<std::string> taken;
        taken.swap(events);
        return taken;
    }

    // Sends a PIN entry through the assistor and answers it with `answer`.
    void enterPin(const std::string& answer)
    {
        assistor.CheckPin("0000");
        line.answerModify(PhoneLine::EnterPin, answer);
    }

private:
    static std::string text(bool value) { return value ? "true" : "false"; }
    void log(const std::string& kind, const std::string& values) { events.push_back(kind + "(" + values + ")"); }
};

using Events = std::vector<std::string>;

}  // namespace cellctl::test
