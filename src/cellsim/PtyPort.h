#pragma once

#include <chrono>
#include <memory>
#include <string>

#include <boost/asio/io_context.hpp>
#include <boost/asio/posix/stream_descriptor.hpp>
#include <boost/asio/steady_timer.hpp>

#include <cellsim/Modem.h>
#include <cellsim/ModemConnection.h>

namespace cellsim {

// One pseudo-terminal serving one port of a modem: programs open slavePath()
// (or the symbolic link, when one is asked for) as they would a serial port.
// The slave starts in raw mode and the port holds it open, so the pty
// survives clients coming and going.
//
// While a data call is up the port watches the host's side of the line: the
// host setting the speed to B0 (how a pty drops DTR; master and slave share
// their settings) drops the call with NO CARRIER, and the host closing the
// device ends it (the port lets go of the slave meanwhile, so that a close
// shows). Runs on the given io_context.
class PtyPort {
public:
    static constexpr std::chrono::milliseconds LinePoll{100};

    // Throws std::system_error when no pty can be had or the link cannot be made.
    PtyPort(boost::asio::io_context& io, Modem& modem, const std::string& linkPath = std::string());
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    const std::string& slavePath() const { return m_slavePath; }
    const std::string& linkPath() const { return m_linkPath; }

    // Closes the pty, so a client sees the device go away, and removes the link.
    void stop();
    bool running() const { return m_connection != nullptr; }

private:
    void callChanged(bool up);
    void watchLine();
    bool holdSlave();
    void releaseSlave();

    Modem& m_modem;
    int m_masterFd = -1;  // owned by the connection
    int m_slaveFd = -1;
    std::string m_slavePath;
    std::string m_linkPath;
    boost::asio::steady_timer m_lineTimer;
    bool m_watching = false;
    std::shared_ptr<char> m_alive = std::make_shared<char>();
    std::unique_ptr<ModemConnection<boost::asio::posix::stream_descriptor>> m_connection;
};

}  // namespace cellsim
