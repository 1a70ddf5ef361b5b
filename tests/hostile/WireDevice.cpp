#include "WireDevice.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <stdexcept>
#include <utility>

namespace cellctl::hostile {

namespace {
constexpr int kPollMs = 20;
}

WireDevice::WireDevice(Settings settings) : m_settings(std::move(settings))
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        throw std::runtime_error("no pseudo-terminal");
    m_slavePath = ::ptsname(m_master);
    m_thread = std::thread([this] { serve(); });
}

WireDevice::~WireDevice()
{
    m_stop = true;
    m_thread.join();
    ::close(m_master);
}

std::string WireDevice::wire() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_wire;
}

std::vector<std::string> WireDevice::lines() const
{
    std::vector<std::string> lines;
    std::string current;
    for (char c : wire()) {
        if (c == '\r') {
            lines.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    return lines;
}

void WireDevice::serve()
{
    std::string line;
    char buffer[256];
    while (!m_stop) {
        pollfd ready{m_master, POLLIN, 0};
        if (::poll(&ready, 1, kPollMs) <= 0)
            continue;
        if (!(ready.revents & POLLIN)) {
            ::usleep(kPollMs * 1000);  // no one has the slave open
            continue;
        }
        const ssize_t got = ::read(m_master, buffer, sizeof buffer);
        if (got <= 0)
            continue;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_wire.append(buffer, static_cast<std::size_t>(got));
        }
        for (ssize_t i = 0; i < got; ++i) {
            if (buffer[i] == '\r') {
                answer(line);
                line.clear();
            } else {
                line += buffer[i];
            }
        }
    }
}

void WireDevice::answer(const std::string& line)
{
    if (!m_settings.silentFor.empty() && line.find(m_settings.silentFor) != std::string::npos)
        return;
    const std::string reply = (m_settings.echo ? line + "\r" : std::string()) + "\r\nOK\r\n";
    std::size_t done = 0;
    while (done < reply.size() && !m_stop) {
        const ssize_t written = ::write(m_master, reply.data() + done, reply.size() - done);
        if (written > 0)
            done += static_cast<std::size_t>(written);
        else
            ::usleep(1000);
    }
}

}  // namespace cellctl::hostile
