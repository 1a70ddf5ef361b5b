#pragma once

#include <memory>
#include <string>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>

#include <cellsim/Modem.h>
#include <cellsim/ModemConnection.h>
#include <cellsim/ModemOptions.h>
#include <cellsim/Scheduler.h>

namespace cellsim {

// Serves one modem on a TCP port, as a serial-to-network adapter would: one
// client at a time; a new client takes the line over from the previous one.
// The modem keeps its state across clients. Runs on the given io_context.
class TcpServer {
public:
    // Port 0 picks a free port. Throws boost::system::system_error when the
    // address cannot be bound.
    TcpServer(boost::asio::io_context& io, const ModemOptions& options, unsigned short port,
              const std::string& address = "127.0.0.1");
    ~TcpServer();
    TcpServer(const TcpServer&) = delete;
    TcpServer& operator=(const TcpServer&) = delete;

    unsigned short port() const { return m_port; }
    Modem& modem() { return m_modem; }

    // Stops listening and closes the client's connection.
    void stop();
    bool running() const { return m_acceptor.is_open(); }

private:
    using Connection = ModemConnection<boost::asio::ip::tcp::socket>;

    void accept();

    AsioScheduler m_scheduler;
    Modem m_modem;
    boost::asio::ip::tcp::acceptor m_acceptor;
    unsigned short m_port = 0;
    std::shared_ptr<char> m_alive = std::make_shared<char>();
    std::unique_ptr<Connection> m_client;
};

}  // namespace cellsim
