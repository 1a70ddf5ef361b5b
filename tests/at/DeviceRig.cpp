#include "DeviceRig.h"

#include <chrono>
#include <ostream>
#include <stdexcept>
#include <unistd.h>

namespace cellctl::at::test {
namespace {

// Waits guard against a hang only; nothing here measures speed.
constexpr auto kHangGuard = std::chrono::seconds(20);

}  // namespace

std::ostream& operator<<(std::ostream& out, const Delivered& delivered)
{
    return out << (delivered.signal == Delivered::Signal::Query ? "query " : "modify ") << delivered.code << " \""
               << delivered.text << "\"";
}

Delivered queryAnswer(int code, std::string text) { return {Delivered::Signal::Query, code, std::move(text)}; }

Delivered modifyAnswer(int code, std::string text) { return {Delivered::Signal::Modify, code, std::move(text)}; }

AtPhoneLineOptions quickTimeouts()
{
    AtPhoneLineOptions options;
    options.timeoutScale = 0.1;
    return options;
}

AtPhoneLineOptions patientTimeouts()
{
    AtPhoneLineOptions options;
    options.timeoutScale = 10;
    return options;
}

DeviceRig::DeviceRig(AtPhoneLineOptions options) : pty(std::make_unique<FakePtyDevice>()), line(io, options)
{
    line.connectQueryResult(
        [this](PhoneLine::QueryType code, const std::string& text) { delivered.push_back(queryAnswer(code, text)); });
    line.connectModifyResult(
        [this](PhoneLine::QueryType code, const std::string& text) { delivered.push_back(modifyAnswer(code, text)); });
    line.connectStatus([this](ChannelEvent event, const std::string& text) { events.emplace_back(event, text); });
    line.setTrace([this](const std::string& text) { trace.push_back(text); });
}

DeviceRig::~DeviceRig()
{
    line.close();
    settle();
}

void DeviceRig::openLine() { openLine(pty->slavePath()); }

void DeviceRig::openLine(const std::string& target)
{
    line.open(target);
    if (nextCommand() != "ATE0")
        throw std::runtime_error("the channel did not start with ATE0");
    deviceAnswers({"OK"});
    settle();
}

void DeviceRig::readFrom(int fd)
{
    char buffer[4096];
    ssize_t got;
    while (fd >= 0 && (got = ::read(fd, buffer, sizeof buffer)) > 0)
        m_fromChannel[fd].append(buffer, static_cast<std::size_t>(got));
}

std::string DeviceRig::nextCommandOn(int fd)
{
    std::string& written = m_fromChannel[fd];
    bool complete = runUntil([&] {
        readFrom(fd);
        return written.find('\r') != std::string::npos;
    });
    if (!complete)
        return "<nothing written>";
    std::size_t end = written.find('\r');
    std::string command = written.substr(0, end);
    written.erase(0, end + 1);
    return command;
}

std::string DeviceRig::unreadOutput()
{
    settle();
    readFrom(deviceFd());
    return m_fromChannel[deviceFd()];
}

void DeviceRig::sendOn(int fd, const std::string& bytes)
{
    std::size_t sent = 0;
    runUntil([&] {
        ssize_t wrote = ::write(fd, bytes.data() + sent, bytes.size() - sent);
        if (wrote > 0)
            sent += static_cast<std::size_t>(wrote);
        return sent == bytes.size();
    });
    settle();
}

void DeviceRig::deviceSendsBytewise(const std::string& bytes)
{
    for (char byte : bytes)
        deviceSends(std::string(1, byte));
}

void DeviceRig::deviceAnswers(const std::vector<std::string>& lines) { deviceSends(cellctl::test::framed(lines)); }

bool DeviceRig::runUntil(const std::function<bool()>& done)
{
    auto deadline = std::chrono::steady_clock::now() + kHangGuard;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        if (io.stopped())
            io.restart();
        io.run_one_for(std::chrono::milliseconds(2));
    }
    return true;
}

void DeviceRig::settle()
{
    // Let the kernel move bytes through the pty, then run what became ready.
    for (int round = 0; round < 3; ++round) {
        if (io.stopped())
            io.restart();
        io.poll();
        ::usleep(1000);
    }
    if (io.stopped())
        io.restart();
    io.poll();
}

bool DeviceRig::runUntilAnswered()
{
    return runUntil([this] { return line.pendingCommands() == 0; });
}

}  // namespace cellctl::at::test
