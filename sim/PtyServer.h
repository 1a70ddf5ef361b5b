#pragma once

#include <memory>
#include <string>

#include <boost/asio/io_context.hpp>
#include <boost/asio/posix/stream_descriptor.hpp>

#include <cellsim/Modem.h>
#include <cellsim/ModemConnection.h>
#include <cellsim/ModemOptions.h>
#include <cellsim/Scheduler.h>

namespace cellsim {

// Serves a modem on a new pseudo-terminal: programs open slavePath() (or the
// symbolic link, when one is asked for) as they would open a serial modem.
// The slave starts in raw mode. Runs on the given io_context.
class PtyServer {
public:
    // Throws std::system_error when no pty can be had or the link cannot be made.
    PtyServer(boost::asio::io_context& io, const ModemOptions& options, const std::string& linkPath = std::string());
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    const std::string& slavePath() const { return m_slavePath; }
    const std::string& linkPath() const { return m_linkPath; }
    Modem& modem() { return m_modem; }

    // Closes the pty, so a client sees the device go away, and removes the link.
    void stop();
    bool running() const { return m_connection != nullptr; }

private:
    AsioScheduler m_scheduler;
    Modem m_modem;
    int m_slaveFd = -1;  // held open so the pty survives clients coming and going
    std::string m_slavePath;
    std::string m_linkPath;
    std::unique_ptr<ModemConnection<boost::asio::posix::stream_descriptor>> m_connection;
};

}  // namespace cellsim
