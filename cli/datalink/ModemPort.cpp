#include "ModemPort.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <boost/asio/posix/stream_descriptor.hpp>

#include <cellctl/at/BaudRates.h>

#include "DataLinkError.h"

namespace cellctl::cli {
namespace {

using std::chrono::milliseconds;

// V.250's default escape guard time (S12 = 50, in fiftieths of a second),
// with a margin.
constexpr milliseconds kGuardTime{1200};
constexpr milliseconds kEscapeAnswerLimit{2000};

// A rate outside the table (the arguments allow none) keeps the usual 115200.
speed_t speedCode(unsigned baudRate) { return at::speedConstant(baudRate).value_or(B115200); }

void writeAll(int fd, const std::string& bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            if (::poll(&p, 1, 1000) <= 0)
                throw DataLinkError(DataLinkFailure::DeviceLost, "the modem port takes no more data");
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            throw DataLinkError(DataLinkFailure::DeviceLost,
                                std::string("the modem port went away: ") + std::strerror(errno));
        }
    }
}

}  // namespace

// Reads the port on the event loop for the length of one conversation, cutting
// what arrives into lines. The descriptor is released again afterwards, so
// that nothing reads the port while pppd owns it.
struct ModemPort::Reader {
    boost::asio::posix::stream_descriptor stream;
    std::array<char, 512> buffer{};
    std::string partial;
    std::deque<std::string> lines;
    bool reading = false;
    bool failed = false;

    Reader(boost::asio::io_context& io, int fd) : stream(io, fd) { read(); }

    void read()
    {
        reading = true;
        stream.async_read_some(boost::asio::buffer(buffer),
                               [this](const boost::system::error_code& error, std::size_t size) {
                                   reading = false;
                                   if (error) {
                                       failed = error != boost::asio::error::operation_aborted;
                                       return;
                                   }
                                   take(std::string(buffer.data(), size));
                                   read();
                               });
    }

    void take(const std::string& bytes)
    {
        for (char c : bytes) {
            if (c == '\r' || c == '\n') {
                if (!partial.empty())
                    lines.push_back(partial);
                partial.clear();
            } else if (partial.size() < 4096) {
                partial += c;
            }
        }
    }
};

ModemPort::ModemPort(boost::asio::io_context& io, DataLinkHost& host, const std::string& path, unsigned baudRate)
    : m_io(io),
      m_host(host),
      m_path(path),
      m_lock(path)
{
    m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        throw DataLinkError(errno == EBUSY ? DataLinkFailure::DeviceBusy : DataLinkFailure::DeviceLost,
                            "cannot open the modem port " + path + ": " + std::strerror(errno));
    termios tty{};
    if (::tcgetattr(m_fd, &tty) == 0) {
        ::cfmakeraw(&tty);
        tty.c_cflag |= CLOCAL | CREAD;
        tty.c_cflag &= ~(CSTOPB | PARENB);
        tty.c_cc[VMIN] = 1;
        tty.c_cc[VTIME] = 0;
        ::cfsetispeed(&tty, speedCode(baudRate));
        ::cfsetospeed(&tty, speedCode(baudRate));
        ::tcsetattr(m_fd, TCSANOW, &tty);
    }
    // pppd gets the descriptor as it is; it expects blocking I/O.
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
}

ModemPort::~ModemPort()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

ModemPort::Answer ModemPort::command(const std::string& line, LinkClock::duration limit)
{
    discardInput();
    writeAll(m_fd, line + "\r");
    return readAnswer(line, limit);
}

ModemPort::Answer ModemPort::readAnswer(const std::string& sent, LinkClock::duration limit)
{
    Answer answer;
    Reader reader(m_io, m_fd);
    auto finished = [&] {
        while (!reader.lines.empty()) {
            std::string line = reader.lines.front();
            reader.lines.pop_front();
            if (line == sent)
                continue;  // echo
            DialOutcome outcome = classifyDialLine(line);
            if (outcome == DialOutcome::NotFinal) {
                answer.lines.push_back(line);
                continue;
            }
            answer.final = line;
            answer.outcome = outcome;
            return true;
        }
        return reader.failed;
    };
    m_host.runLoop(finished, limit);
    reader.stream.cancel();
    m_host.runLoop([&reader] { return !reader.reading; }, milliseconds(500));
    reader.stream.release();
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
    if (reader.failed && answer.final.empty())
        throw DataLinkError(DataLinkFailure::DeviceLost, "the modem port " + m_path + " went away");
    return answer;
}

void ModemPort::discardInput() { ::tcflush(m_fd, TCIFLUSH); }

void ModemPort::pause(LinkClock::duration duration)
{
    m_host.runLoop([] { return false; }, duration);
}

void ModemPort::dropDtr(LinkClock::duration duration)
{
    termios saved{};
    if (::tcgetattr(m_fd, &saved) != 0)
        return;
    termios dropped = saved;
    ::cfsetispeed(&dropped, B0);
    ::cfsetospeed(&dropped, B0);
    ::tcsetattr(m_fd, TCSANOW, &dropped);
    pause(duration);
    ::tcsetattr(m_fd, TCSANOW, &saved);
}

bool ModemPort::escapeToCommandMode()
{
    discardInput();
    pause(kGuardTime);
    writeAll(m_fd, "+++");
    Answer answer = readAnswer("+++", kGuardTime + kEscapeAnswerLimit);
    return answer.outcome == DialOutcome::Ok;
}

}  // namespace cellctl::cli
