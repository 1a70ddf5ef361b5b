#include <cellsim/TcpServer.h>

#include <cellsim/PeerProcess.h>

namespace cellsim {

TcpServer::TcpServer(boost::asio::io_context& io, const ModemOptions& options, unsigned short port,
                     const std::string& address)
    : m_scheduler(io.get_executor()),
      m_modem(m_scheduler, options),
      m_acceptor(io, boost::asio::ip::tcp::endpoint(boost::asio::ip::make_address(address), port))
{
    m_port = m_acceptor.local_endpoint().port();
    m_modem.setNetworkSide(peerProcessFactory(io.get_executor(), options.dataPeer));
    accept();
}

TcpServer::~TcpServer() { stop(); }

void TcpServer::accept()
{
    std::weak_ptr<char> alive = m_alive;
    m_acceptor.async_accept([this, alive](const boost::system::error_code& error, boost::asio::ip::tcp::socket socket) {
        if (alive.expired()) {
            return;
        }
        if (!error) {
            // The previous client's connection closes first: it lets go of
            // the modem's output before the new one takes it.
            if (m_client) {
                m_client->close();
                m_modem.hostGone();
            }
            m_client = std::make_unique<Connection>(std::move(socket), m_modem, [this] { m_modem.hostGone(); });
            m_client->start();
        }
        if (m_acceptor.is_open()) {
            accept();
        }
    });
}

void TcpServer::stop()
{
    m_alive.reset();
    boost::system::error_code ignored;
    m_acceptor.close(ignored);
    m_client.reset();
}

}  // namespace cellsim
