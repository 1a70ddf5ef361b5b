#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include <boost/asio/io_context.hpp>

#include <cellsim/Modem.h>
#include <cellsim/ModemOptions.h>

namespace cellsim {

class PtyServer;
class TcpServer;

// Where a server makes the modem available.
struct ServerSettings {
    enum class Transport { Pty, Tcp };
    Transport transport = Transport::Pty;
    std::string linkPath;               // pty: also reachable through this symbolic link
    std::string dataLinkPath;           // pty: the data port's link (a data port is served with it)
    std::string address = "127.0.0.1";  // tcp
    unsigned short port = 0;            // tcp: 0 picks a free port
};

// Runs a modem server on a thread of its own, for programs and tests that
// embed the simulator. start() opens the pty or port and returns once it can
// be used; stop() closes it (a client sees the device go away) and joins the
// thread. A stopped server can be started again: a fresh modem, on a new pty.
class ServerThread {
public:
    ServerThread(ModemOptions options, ServerSettings settings = ServerSettings());
    ~ServerThread();
    ServerThread(const ServerThread&) = delete;
    ServerThread& operator=(const ServerThread&) = delete;

    // Throws std::system_error when the pty or port cannot be had.
    void start();
    void stop();
    bool running() const { return m_thread.joinable(); }

    // The pty slave's path (pty) and the bound port (tcp) of the running server.
    std::string slavePath() const { return m_slavePath; }
    // The data port's pty slave; empty without a data port.
    std::string dataPortPath() const { return m_dataPortPath; }
    unsigned short port() const { return m_port; }

    // Runs `action` on the server's thread with its modem and waits for it,
    // e.g. to change faults while the modem runs. Returns false when stopped.
    // Not to be called while another thread starts or stops the server.
    bool withModem(const std::function<void(Modem&)>& action);

private:
    ModemOptions m_options;
    ServerSettings m_settings;
    std::unique_ptr<boost::asio::io_context> m_io;
    std::unique_ptr<PtyServer> m_pty;
    std::unique_ptr<TcpServer> m_tcp;
    Modem* m_modem = nullptr;
    std::thread m_thread;
    std::string m_slavePath;
    std::string m_dataPortPath;
    unsigned short m_port = 0;
};

}  // namespace cellsim
