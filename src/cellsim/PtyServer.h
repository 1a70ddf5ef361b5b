#pragma once

#include <memory>
#include <string>

#include <boost/asio/io_context.hpp>

#include <cellsim/Modem.h>
#include <cellsim/ModemOptions.h>
#include <cellsim/PtyPort.h>
#include <cellsim/Scheduler.h>

namespace cellsim {

// Serves a modem on a new pseudo-terminal: programs open slavePath() (or the
// symbolic link, when one is asked for) as they would open a serial modem.
// With ModemOptions::dataPort (or a data link path) a second pty serves the
// modem's data port: the same device, AT commands on both, unsolicited
// reports on the first only, so one port can carry a data call while the
// other answers. Data calls lead to ModemOptions::dataPeer. Runs on the
// given io_context.
class PtyServer {
public:
    // Throws std::system_error when no pty can be had or a link cannot be made.
    PtyServer(boost::asio::io_context& io, const ModemOptions& options, const std::string& linkPath = std::string(),
              const std::string& dataLinkPath = std::string());
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    const std::string& slavePath() const { return m_port->slavePath(); }
    const std::string& linkPath() const { return m_port->linkPath(); }
    Modem& modem() { return m_modem; }

    // The data port's pty and link; empty without a data port.
    const std::string& dataPortPath() const;
    const std::string& dataLinkPath() const;
    Modem* dataPortModem() { return m_dataModem.get(); }

    // Closes the ptys, so clients see the devices go away, removes the links
    // and ends the calls.
    void stop();
    bool running() const { return m_port->running(); }

private:
    AsioScheduler m_scheduler;
    Modem m_modem;
    std::unique_ptr<Modem> m_dataModem;
    std::unique_ptr<PtyPort> m_port;
    std::unique_ptr<PtyPort> m_dataPort;
};

}  // namespace cellsim
