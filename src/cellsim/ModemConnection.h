#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include <boost/asio/buffer.hpp>

#include <cellsim/Modem.h>
#include <cellsim/WriteQueue.h>

namespace cellsim {

// Joins a modem to a byte stream (a pty master or a TCP socket): what the
// stream delivers is fed to the modem, what the modem says is written to the
// stream in order, up to the WriteQueue's limit.
template <typename Stream>
class ModemConnection {
public:
    // `closed` runs (at most once) when the stream fails or the peer goes away.
    ModemConnection(Stream stream, Modem& modem, std::function<void()> closed = {})
        : m_stream(std::move(stream)),
          m_modem(modem),
          m_closed(std::move(closed))
    {
    }
    ModemConnection(const ModemConnection&) = delete;
    ModemConnection& operator=(const ModemConnection&) = delete;
    ~ModemConnection() { close(); }

    // A pty master reads EIO while no one has the slave open. `hungUp` runs
    // then; when it returns true (the line is usable again), reading goes on.
    void setHungUp(std::function<bool()> hungUp) { m_hungUp = std::move(hungUp); }

    void start()
    {
        std::weak_ptr<char> alive = m_alive;
        m_modem.setSink([this, alive](const std::string& bytes) {
            if (!alive.expired()) {
                m_writes.send(bytes);
            }
        });
        read();
    }

    // Closes the stream; pending reads and writes are abandoned.
    void close()
    {
        if (!m_alive) {
            return;
        }
        m_alive.reset();
        m_modem.setSink({});
        boost::system::error_code ignored;
        m_stream.close(ignored);
    }

private:
    void read()
    {
        std::weak_ptr<char> alive = m_alive;
        m_stream.async_read_some(
            boost::asio::buffer(m_buffer), [this, alive](const boost::system::error_code& error, std::size_t size) {
                if (alive.expired()) {
                    return;
                }
                if (error) {
                    if (m_hungUp && error == boost::system::errc::io_error && m_hungUp() && !alive.expired()) {
                        read();
                    } else if (!alive.expired()) {
                        fail();
                    }
                    return;
                }
                m_modem.feed(std::string(m_buffer.data(), size));
                if (!alive.expired()) {
                    read();
                }
            });
    }

    void fail()
    {
        close();
        if (m_closed) {
            auto closed = std::move(m_closed);
            m_closed = nullptr;
            closed();
        }
    }

    Stream m_stream;
    Modem& m_modem;
    std::function<void()> m_closed;
    std::function<bool()> m_hungUp;
    std::shared_ptr<char> m_alive = std::make_shared<char>();
    WriteQueue<Stream> m_writes{m_stream, m_alive, [this] { fail(); }};
    std::array<char, 1024> m_buffer{};
};

}  // namespace cellsim
