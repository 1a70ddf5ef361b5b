#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <boost/asio/io_context.hpp>

#include <cellctl/at/AtPhoneLine.h>
#include <cellctl/cellctl.h>
#include <cellsim/ServerThread.h>

namespace cellctl::e2e {

// What a mode callback showed, copied while the record was valid.
struct ModeSeen {
    int behaviour;
    int modeType;
    int accessTech;
};

// Every host callback's values, in arrival order.
struct Results {
    std::vector<bool> queryPowerOn, powerOn, powerOff, softReset, disableReadPb;
    std::vector<int> registration;
    std::vector<std::pair<int, int>> signal;  // access technology, level

    std::vector<bool> needPin, needPuk, simAbsent, lockPasswordChanged, pin2Changed;
    std::vector<std::pair<bool, int>> checkPin, checkPuk;
    std::vector<std::string> attemptsRemaining, pinLockState;

    std::vector<CCopsInfo> currentOperator;
    std::vector<std::vector<CCopsInfo>> availableOperators, preferredList;
    std::vector<CCopsInfo> selector;
    std::vector<bool> selectOperator, modifyList, selectSelector;

    std::vector<ModeSeen> mode, powerOnMode;
    std::vector<bool> switchMode, setPowerOnMode, hsdpaEnabled, cellReportsEnabled;
    std::vector<CCellCapabilityInfo> cellCapability;

    std::vector<bool> pdpContext, qos, attach;
    std::vector<int> packetRegistration;
    std::vector<std::string> serviceMapping, usimQos, serviceQuality;

    std::vector<std::pair<at::ChannelEvent, std::string>> channel;
};

// The whole stack as a connection manager builds it: cellsim serving a pty on
// its own thread, an AtPhoneLine on the test's thread opened on that pty, and
// every assistor attached, with the values of the callbacks the tests read
// recorded in `results`.
class Stack {
public:
    static cellsim::ModemOptions quickModem();

    explicit Stack(const cellsim::ModemOptions& modem = quickModem(), double timeoutScale = 1.0);
    ~Stack();
    Stack(const Stack&) = delete;
    Stack& operator=(const Stack&) = delete;

    // Runs the line's io_context until `done` holds; false if it never does
    // (a guard against hanging, not a speed check).
    bool runUntil(const std::function<bool()>& done);
    template <typename T>
    bool waitFor(const std::vector<T>& results, std::size_t count = 1)
    {
        return runUntil([&results, count] { return results.size() >= count; });
    }
    // Runs until every command sent so far has its answer.
    bool settle();
    // Runs the io_context for a while.
    void pause(std::chrono::milliseconds duration);

    // PowerOn with the character set switched to HEX, as a host does first.
    void powerOn();
    // Powers on and unlocks the card with `pin` if it asks; waits for registration.
    void startUp(const std::string& pin = "1234");
    // Reads the operator again with long names (format 0).
    void useLongOperatorNames();

    cellsim::ServerThread server;
    boost::asio::io_context io;
    at::AtPhoneLine line;
    CAssistorSet assistors;  // after the line: detached before it goes
    CUsimAssistor& usim = assistors.GetUsimAssistor();
    CCopsAssistor& cops = assistors.GetCopsAssistor();
    CModeAssistor& mode = assistors.GetModeAssistor();
    CConnectionAssistor& connection = assistors.GetConnectionAssistor();
    CPowerAssistor& power = assistors.GetPowerAssistor();
    Results results;

private:
    void connectCallbacks();
};

// The long name of 46000 (and 46002, 46007) in GBK.
extern const std::string chinaMobile;

}  // namespace cellctl::e2e
