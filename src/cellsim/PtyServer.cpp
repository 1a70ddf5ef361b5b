#include <cellsim/PtyServer.h>

#include <cellsim/PeerProcess.h>

namespace cellsim {
namespace {

const std::string noPath;

}  // namespace

PtyServer::PtyServer(boost::asio::io_context& io, const ModemOptions& options, const std::string& linkPath,
                     const std::string& dataLinkPath)
    : m_scheduler(io.get_executor()),
      m_modem(m_scheduler, options)
{
    const NetworkSideFactory network = peerProcessFactory(io.get_executor(), options.dataPeer);
    m_modem.setNetworkSide(network);
    m_port = std::make_unique<PtyPort>(io, m_modem, linkPath);
    if (options.dataPort || !dataLinkPath.empty()) {
        m_dataModem = std::make_unique<Modem>(m_scheduler, m_modem);
        m_dataModem->setNetworkSide(network);
        m_dataPort = std::make_unique<PtyPort>(io, *m_dataModem, dataLinkPath);
    }
}

PtyServer::~PtyServer() { stop(); }

const std::string& PtyServer::dataPortPath() const { return m_dataPort ? m_dataPort->slavePath() : noPath; }

const std::string& PtyServer::dataLinkPath() const { return m_dataPort ? m_dataPort->linkPath() : noPath; }

void PtyServer::stop()
{
    m_port->stop();
    m_modem.hostGone();
    if (m_dataPort) {
        m_dataPort->stop();
        m_dataModem->hostGone();
    }
}

}  // namespace cellsim
