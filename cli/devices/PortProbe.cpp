#include "PortProbe.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

#include "PortHolder.h"

namespace cellctl::cli {
namespace {

using Clock = std::chrono::steady_clock;
// How long one AT waits before it is sent again: a port that sleeps may miss the first.
constexpr std::chrono::milliseconds kAtRetry{400};

// The port opened raw for the probe, claimed exclusively, put back as it was on close.
class ProbeLine {
public:
    explicit ProbeLine(int fd) : m_fd(fd)
    {
        m_isTerminal = ::tcgetattr(m_fd, &m_saved) == 0;
        if (!m_isTerminal)
            return;
        ::ioctl(m_fd, TIOCEXCL);
        termios raw = m_saved;
        ::cfmakeraw(&raw);
        raw.c_cflag |= CLOCAL | CREAD;
        raw.c_cc[VMIN] = 0;
        raw.c_cc[VTIME] = 0;
        ::tcsetattr(m_fd, TCSANOW, &raw);
        ::tcflush(m_fd, TCIOFLUSH);
    }
    ~ProbeLine()
    {
        if (m_isTerminal) {
            // Unsent bytes are dropped so that closing never waits on a stuck device.
            ::tcflush(m_fd, TCIOFLUSH);
            ::tcsetattr(m_fd, TCSANOW, &m_saved);
            ::ioctl(m_fd, TIOCNXCL);
        }
        ::close(m_fd);
    }
    ProbeLine(const ProbeLine&) = delete;
    ProbeLine& operator=(const ProbeLine&) = delete;

    bool isTerminal() const { return m_isTerminal; }
    // The device failed a read or write (gone, hung up): no use asking again.
    bool broken() const { return m_broken; }

    // Sends `command` and collects the answer lines until a final result or
    // `until`. The echo of the command is dropped. Nothing when no final result came.
    std::optional<std::vector<std::string>> exchange(const std::string& command, Clock::time_point until)
    {
        const std::string line = command + "\r";
        if (::write(m_fd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
            m_broken = true;
            return std::nullopt;
        }
        std::vector<std::string> lines;
        std::string partial;
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
            if (left.count() <= 0)
                return std::nullopt;
            pollfd ready{m_fd, POLLIN, 0};
            if (::poll(&ready, 1, static_cast<int>(left.count())) <= 0)
                continue;
            char buffer[256];
            const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
            if (got <= 0) {
                // Readable yet nothing to read: the other end hung up.
                m_broken = got == 0 || (errno != EAGAIN && errno != EINTR);
                if (m_broken)
                    return std::nullopt;
                continue;
            }
            for (ssize_t i = 0; i < got; ++i) {
                const char c = buffer[i];
                if (c != '\r' && c != '\n') {
                    if (partial.size() < 256)
                        partial += c;
                    continue;
                }
                if (partial.empty() || partial == command) {
                    partial.clear();
                    continue;
                }
                if (partial == "OK" || partial == "ERROR" || partial.rfind("+CME ERROR", 0) == 0) {
                    lines.push_back(partial);
                    return lines;
                }
                lines.push_back(partial);
                partial.clear();
            }
        }
    }

private:
    int m_fd;
    termios m_saved{};
    bool m_isTerminal = false;
    bool m_broken = false;
};

std::string identity(const std::vector<std::string>& answer)
{
    std::string text;
    for (size_t i = 0; i + 1 < answer.size(); ++i)  // the last line is the final result
        text += (text.empty() ? "" : " ") + answer[i];
    return text;
}

}  // namespace

const char* portStateName(PortState state)
{
    switch (state) {
    case PortState::At:
        return "at";
    case PortState::Silent:
        return "silent";
    case PortState::Busy:
        return "busy";
    case PortState::Unusable:
        return "unusable";
    case PortState::NotProbed:
        break;
    }
    return "not-probed";
}

PortProbe probePort(const std::string& devicePath, std::chrono::milliseconds limit, const std::string& lockDir)
{
    const Clock::time_point deadline = Clock::now() + limit;
    if (std::optional<std::string> holder = portHolder(devicePath, lockDir))
        return {PortState::Busy, *holder};

    const int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EBUSY)
            return {PortState::Busy, "opened exclusively by another program"};
        return {PortState::Unusable, std::strerror(errno)};
    }
    ProbeLine line(fd);
    if (!line.isTerminal())
        return {PortState::Unusable, "not a terminal"};

    std::optional<std::vector<std::string>> answer;
    while (!answer && !line.broken() && Clock::now() < deadline)
        answer = line.exchange("AT", std::min(deadline, Clock::now() + kAtRetry));
    if (!answer)
        return {PortState::Silent, "no answer to AT"};
    if (answer->back() != "OK")
        return {PortState::Silent, "answers " + answer->back() + " to AT"};

    std::optional<std::vector<std::string>> ati = line.exchange("ATI", deadline);
    return {PortState::At, ati && ati->back() == "OK" ? identity(*ati) : ""};
}

}  // namespace cellctl::cli
