#include "NoisyDevice.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <stdexcept>
#include <vector>

namespace cellctl::faults {

namespace {

constexpr int kPollMs = 20;

std::string framed(const std::string& line)
{
    return "\r\n" + line + "\r\n";
}

struct Reply {
    std::vector<std::string> lines;
    std::string report;  // sent after the answer
};

// The load cycle's commands answered as a fresh cellsim answers them.
const std::map<std::string, Reply>& replies()
{
    static const std::map<std::string, Reply> table = {
        {"ATE0", {{"OK"}, ""}},
        {"AT", {{"OK"}, ""}},
        {"AT+CSQ", {{"+CSQ: 99,99", "OK"}, ""}},
        {"AT^DSTM=1,2,2", {{"OK"}, "^DSTMR: 2"}},
        {"AT+CFUN?", {{"+CFUN: 0", "OK"}, ""}},
        {"AT^DSTM=1,0", {{"OK"}, "^DSTMR: 0"}},
        {"AT^DUSIM?", {{"^DUSIM: 1", "OK"}, ""}},
        {"AT^DRAP?", {{"^DRAP: 3,10,3,10", "OK"}, ""}},
        {"AT+CGMR", {{"CELLSIM TD-HSDPA V1.0.0", "OK"}, ""}},
        {"AT+CPIN?", {{"+CPIN: READY", "OK"}, ""}},
        {"AT^DSTM?", {{"^DSTM: 1,2,2", "OK"}, ""}},
    };
    return table;
}

// Unsolicited lines of a burst, with what the channel delivers for each.
const NoisyDevice::BurstLine kBurstLines[] = {
    {"+CREG: 1", 10, "1"},
    {"+CGREG: 5", 117, "5"},
    {"^DSTMR: 2", 149, "2"},
    {"RING", -1, ""},
    {"+HSIND: 1", 158, "+HSIND: 1"},
    {"^DCINFO: 1,0,1,1", 159, "^DCINFO: 1,0,1,1"},
    {"+CREG: 5,\"1A2B\",\"00C3F1\"", 10, "5,\"1A2B\",\"00C3F1\""},
    {"+CGEV: ME DETACH", -1, ""},
};

// Beginnings of results and reports, cut short.
const char* const kPartialLines[] = {"O", "ERR", "+CME ERR", "+CRE", "+CGRE", "^DSTMR", "NO CARR", "+CSQ"};

}  // namespace

NoisyDevice::NoisyDevice(Settings settings) : m_settings(settings), m_random(settings.seed)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        throw std::runtime_error("no pseudo-terminal");
    m_slavePath = ::ptsname(m_master);
    m_thread = std::thread([this] { serve(); });
}

NoisyDevice::~NoisyDevice()
{
    m_stop = true;
    m_thread.join();
    ::close(m_master);
}

const NoisyDevice::BurstLine& NoisyDevice::burstLine(std::size_t index)
{
    return kBurstLines[index % (sizeof kBurstLines / sizeof kBurstLines[0])];
}

NoisyDevice::BurstCounts NoisyDevice::burstCounts(std::size_t size)
{
    BurstCounts counts;
    for (std::size_t i = 0; i < size; ++i) {
        switch (burstLine(i).code) {
        case 10: ++counts.registration; break;
        case 117: ++counts.packetRegistration; break;
        case 149: ++counts.modeChanged; break;
        case 158: ++counts.hsdpa; break;
        case 159: ++counts.cellCapability; break;
        default: ++counts.unused; break;
        }
    }
    return counts;
}

void NoisyDevice::serve()
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
        for (ssize_t i = 0; i < got; ++i) {
            if (buffer[i] == '\r' || buffer[i] == '\n') {
                if (!line.empty())
                    handle(line);
                line.clear();
            } else {
                line += buffer[i];
            }
        }
    }
}

void NoisyDevice::handle(const std::string& command)
{
    std::string report;
    const std::string answer = answerTo(command, report);
    std::string bytes;
    const bool burstHere = m_settings.burstSize > 0 && !m_burstDone && command == "AT+CFUN?";
    if (burstHere)
        bytes += burst(0, m_settings.burstSize / 2);
    if (m_settings.noise) {
        // Noise before the answer, inside it (after its first line) or after it.
        const unsigned where = m_random() % 3;
        const std::size_t firstLineEnd = answer.find("\r\n", 2) + 2;
        std::string noisy = answer;
        if (where == 0)
            noisy = noise() + answer;
        else if (where == 1)
            noisy = answer.substr(0, firstLineEnd) + noise() + answer.substr(firstLineEnd);
        else
            noisy = answer + noise();
        bytes += noisy;
    } else {
        bytes += answer;
    }
    if (!report.empty())
        bytes += framed(report);
    if (burstHere) {
        bytes += burst(m_settings.burstSize / 2, m_settings.burstSize);
        m_burstDone = true;
    }
    ++m_served;
    send(bytes);
}

std::string NoisyDevice::answerTo(const std::string& command, std::string& report) const
{
    const auto found = replies().find(command);
    if (found == replies().end())
        return framed("ERROR");
    std::string answer;
    for (const std::string& line : found->second.lines)
        answer += framed(line);
    report = found->second.report;
    return answer;
}

std::string NoisyDevice::noise()
{
    std::string bytes;
    switch (m_random() % 4) {
    case 0: {  // junk: a first byte no result or report starts with, then any byte but CR and LF
        std::string junk(1, static_cast<char>(0x80 | (m_random() & 0x7f)));
        const std::size_t length = m_random() % 64;
        for (std::size_t i = 0; i < length; ++i) {
            char c = static_cast<char>(m_random() & 0xff);
            junk += (c == '\r' || c == '\n') ? '\0' : c;
        }
        junk += "\x1b\x1a";
        bytes = framed(junk);
        break;
    }
    case 1:  // a partial line: the next line's CR LF ends it
        bytes = "\r\n" + std::string(kPartialLines[m_random() % (sizeof kPartialLines / sizeof kPartialLines[0])]);
        break;
    case 2: {  // an overlong line, sometimes dressed as an answer line
        const std::size_t length = 4097 + m_random() % 8000;
        std::string line = (m_random() % 2) ? "+CSQ: 1,1" : "+CFUN: 1";
        line += std::string(length, 'x');
        bytes = framed(line);
        break;
    }
    default:  // an overlong line without its end: the next line's CR LF ends it
        bytes = "\r\n" + std::string(4097 + m_random() % 8000, static_cast<char>(0x80 | (m_random() & 0x7f)));
        break;
    }
    return bytes;
}

std::string NoisyDevice::burst(std::size_t from, std::size_t to) const
{
    std::string bytes;
    for (std::size_t i = from; i < to; ++i)
        bytes += framed(burstLine(i).line);
    return bytes;
}

void NoisyDevice::send(const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size() && !m_stop) {
        pollfd ready{m_master, POLLOUT, 0};
        if (::poll(&ready, 1, kPollMs) <= 0)
            continue;
        // Pieces of random size: the channel must frame whatever it is given.
        const std::size_t piece = m_settings.noise ? 1 + m_random() % 97 : bytes.size() - done;
        const ssize_t written = ::write(m_master, bytes.data() + done, std::min(piece, bytes.size() - done));
        if (written > 0)
            done += static_cast<std::size_t>(written);
    }
}

}  // namespace cellctl::faults
