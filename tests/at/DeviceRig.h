#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <boost/asio/io_context.hpp>

#include <cellctl/at/AtPhoneLine.h>

#include "FakePtyDevice.h"

namespace cellctl::at::test {

// The device on a pty: the channel opens its slave path like a serial
// device; the test plays the device on the master side.
using cellctl::test::FakePtyDevice;

// One answer or report the line delivered on its result signals.
struct Delivered {
    enum class Signal { Query, Modify };
    Signal signal;
    int code;
    std::string text;

    bool operator==(const Delivered& other) const
    {
        return signal == other.signal && code == other.code && text == other.text;
    }
};
std::ostream& operator<<(std::ostream& out, const Delivered& delivered);
Delivered queryAnswer(int code, std::string text);
Delivered modifyAnswer(int code, std::string text);

// Options for tests that wait for timeouts: 3 s commands take 300 ms.
AtPhoneLineOptions quickTimeouts();
// Options for every other test: no command times out on a slow machine.
AtPhoneLineOptions patientTimeouts();

// An AtPhoneLine on a pty, the device played byte by byte by the test, and
// everything the line delivers recorded. The io_context runs on the test's
// own thread, in the waits below.
class DeviceRig {
public:
    explicit DeviceRig(AtPhoneLineOptions options = patientTimeouts());
    ~DeviceRig();

    // Opens the line on `target` (the pty by default) and lets the device
    // answer the channel's ATE0.
    void openLine();
    void openLine(const std::string& target);

    // The device is played on `fd` (a TCP socket, say) instead of the pty.
    void playDeviceOn(int fd) { m_deviceFd = fd; }

    // The next command line the channel wrote, without its CR.
    std::string nextCommand() { return nextCommandOn(deviceFd()); }
    std::string nextCommandOn(int fd);
    // The device sends bytes (all at once, or one write per byte).
    void deviceSends(const std::string& bytes) { sendOn(deviceFd(), bytes); }
    void sendOn(int fd, const std::string& bytes);
    void deviceSendsBytewise(const std::string& bytes);
    // A whole answer the way devices frame it: each line as CR LF line CR LF.
    void deviceAnswers(const std::vector<std::string>& lines);

    // Runs the io_context until `done` holds; false if it never does (a guard
    // against hanging, not a speed check).
    bool runUntil(const std::function<bool()>& done);
    // Runs every handler that is ready, then returns.
    void settle();
    // Runs until every host command got its answer.
    bool runUntilAnswered();
    // Everything the channel wrote that nextCommand() has not taken.
    std::string unreadOutput();

    boost::asio::io_context io;
    std::unique_ptr<FakePtyDevice> pty;
    AtPhoneLine line;
    std::vector<Delivered> delivered;
    std::vector<std::pair<ChannelEvent, std::string>> events;
    std::vector<std::string> trace;

private:
    int deviceFd() const { return m_deviceFd >= 0 ? m_deviceFd : pty->master(); }
    void readFrom(int fd);

    int m_deviceFd = -1;
    std::map<int, std::string> m_fromChannel;
};

}  // namespace cellctl::at::test
