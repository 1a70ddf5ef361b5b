#include <cellsim/ServerThread.h>

#include <future>

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/post.hpp>

#include <cellsim/PtyServer.h>
#include <cellsim/TcpServer.h>

namespace cellsim {

ServerThread::ServerThread(ModemOptions options, ServerSettings settings)
    : m_options(std::move(options)),
      m_settings(std::move(settings))
{
}

ServerThread::~ServerThread() { stop(); }

void ServerThread::start()
{
    if (running()) {
        return;
    }
    m_io = std::make_unique<boost::asio::io_context>();
    // The server is built here, before the thread runs, so errors reach the caller.
    if (m_settings.transport == ServerSettings::Transport::Tcp) {
        m_tcp = std::make_unique<TcpServer>(*m_io, m_options, m_settings.port, m_settings.address);
        m_port = m_tcp->port();
        m_modem = &m_tcp->modem();
    } else {
        m_pty = std::make_unique<PtyServer>(*m_io, m_options, m_settings.linkPath, m_settings.dataLinkPath);
        m_slavePath = m_pty->slavePath();
        m_dataPortPath = m_pty->dataPortPath();
        m_modem = &m_pty->modem();
    }
    m_thread = std::thread([io = m_io.get()] {
        auto work = boost::asio::make_work_guard(*io);
        io->run();
    });
}

void ServerThread::stop()
{
    if (!running()) {
        return;
    }
    m_io->stop();
    m_thread.join();
    // The loop no longer runs: closing the servers and dropping the context
    // discards their pending handlers without running them.
    m_modem = nullptr;
    m_pty.reset();
    m_tcp.reset();
    m_io.reset();
}

bool ServerThread::withModem(const std::function<void(Modem&)>& action)
{
    if (!running()) {
        return false;
    }
    if (std::this_thread::get_id() == m_thread.get_id()) {
        action(*m_modem);
        return true;
    }
    std::promise<void> done;
    boost::asio::post(*m_io, [this, &action, &done] {
        try {
            action(*m_modem);
            done.set_value();
        } catch (...) {
            done.set_exception(std::current_exception());
        }
    });
    done.get_future().get();
    return true;
}

}  // namespace cellsim
