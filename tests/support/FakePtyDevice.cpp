#include "FakePtyDevice.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <utility>

namespace cellctl::test {

namespace {

constexpr int kPollMs = 20;

// Beginnings of results and reports, cut short.
const char* const kPartialLines[] = {"O", "ERR", "+CME ERR", "+CRE", "+CGRE", "^DSTMR", "NO CARR", "+CSQ"};

}  // namespace

std::string framed(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += "\r\n" + line + "\r\n";
    return bytes;
}

FakePtyDevice::FakePtyDevice()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        throw std::system_error(errno, std::generic_category(), "cannot create a pty");
    const char* name = ::ptsname(m_master);
    if (name == nullptr)
        throw std::system_error(errno, std::generic_category(), "pty without a slave");
    m_slavePath = name;
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

FakePtyDevice::FakePtyDevice(Answer answer) : FakePtyDevice(std::move(answer), Options()) {}

FakePtyDevice::FakePtyDevice(Answer answer, Options options) : FakePtyDevice()
{
    m_answer = std::move(answer);
    m_options = options;
    m_random.seed(options.seed);
    m_thread = std::thread([this] { serve(); });
}

FakePtyDevice::~FakePtyDevice() { lose(); }

std::string FakePtyDevice::wire() const
{
    std::lock_guard<std::mutex> lock(m_wireMutex);
    return m_wire;
}

void FakePtyDevice::lose()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

void FakePtyDevice::serve()
{
    std::string line;
    char buffer[512];
    while (!m_stop) {
        pollfd ready{m_master, POLLIN, 0};
        if (::poll(&ready, 1, kPollMs) <= 0)
            continue;
        if (!(ready.revents & POLLIN)) {
            ::usleep(kPollMs * 1000);  // no one has the slave open (yet, or any more)
            continue;
        }
        const ssize_t got = ::read(m_master, buffer, sizeof buffer);
        if (got <= 0)
            continue;  // no reader on the slave yet (EIO): wait for one
        {
            std::lock_guard<std::mutex> lock(m_wireMutex);
            m_wire.append(buffer, static_cast<std::size_t>(got));
        }
        for (ssize_t i = 0; i < got; ++i) {
            if (buffer[i] != '\r') {
                line += buffer[i];
                continue;
            }
            const std::string answer = m_answer(line);
            line.clear();
            if (!answer.empty())
                send(m_options.noise ? noisy(answer) : answer);
        }
    }
}

std::string FakePtyDevice::noisy(const std::string& answer)
{
    // Noise before the answer, inside it (after its first line) or after it.
    std::size_t firstLineEnd = answer.find("\r\n", 2);
    firstLineEnd = firstLineEnd == std::string::npos ? answer.size() : firstLineEnd + 2;
    switch (m_random() % 3) {
    case 0:
        return noise() + answer;
    case 1:
        return answer.substr(0, firstLineEnd) + noise() + answer.substr(firstLineEnd);
    default:
        return answer + noise();
    }
}

std::string FakePtyDevice::noise()
{
    switch (m_random() % 4) {
    case 0: {  // junk: a first byte no result or report starts with, then any byte but CR and LF
        std::string junk(1, static_cast<char>(0x80 | (m_random() & 0x7f)));
        const std::size_t length = m_random() % 64;
        for (std::size_t i = 0; i < length; ++i) {
            char c = static_cast<char>(m_random() & 0xff);
            junk += (c == '\r' || c == '\n') ? '\0' : c;
        }
        return framed({junk + "\x1b\x1a"});
    }
    case 1:  // a partial line: the next line's CR LF ends it
        return "\r\n" + std::string(kPartialLines[m_random() % (sizeof kPartialLines / sizeof kPartialLines[0])]);
    case 2: {  // an overlong line, sometimes dressed as an answer line
        const std::size_t length = 4097 + m_random() % 8000;
        std::string line = (m_random() % 2) ? "+CSQ: 1,1" : "+CFUN: 1";
        return framed({line + std::string(length, 'x')});
    }
    default:  // an overlong line without its end: the next line's CR LF ends it
        return "\r\n" + std::string(4097 + m_random() % 8000, static_cast<char>(0x80 | (m_random() & 0x7f)));
    }
}

void FakePtyDevice::send(const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size() && !m_stop) {
        pollfd ready{m_master, POLLOUT, 0};
        if (::poll(&ready, 1, kPollMs) <= 0)
            continue;
        // With noise, pieces of random size: the channel must frame whatever it is given.
        const std::size_t piece = m_options.noise ? 1 + m_random() % 97 : bytes.size() - done;
        const ssize_t written = ::write(m_master, bytes.data() + done, std::min(piece, bytes.size() - done));
        if (written > 0)
            done += static_cast<std::size_t>(written);
    }
}

}  // namespace cellctl::test
