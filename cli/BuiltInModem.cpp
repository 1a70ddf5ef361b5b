#include "BuiltInModem.h"

#include <optional>
#include <system_error>
#include <thread>

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/post.hpp>

#include <cellsim/PtyServer.h>

#include "CliError.h"

namespace cellctl::cli {

// The modem's own io_context, kept busy by a work guard, and the thread that
// runs it. The modem lives and dies on that thread.
struct BuiltInModem::Running {
    boost::asio::io_context io;
    boost::asio::executor_work_guard<boost::asio::io_context::executor_type> work{io.get_executor()};
    std::unique_ptr<cellsim::PtyServer> server;
    std::thread thread;
};

BuiltInModem::BuiltInModem(const BuiltInModemOptions& options) : m_running(std::make_unique<Running>())
{
    try {
        m_running->server = std::make_unique<cellsim::PtyServer>(m_running->io, options);
    } catch (const std::system_error& error) {
        throw CliError(ErrorKind::DeviceUnusable,
                       std::string("cannot start the built-in simulated modem: ") + error.what());
    }
    m_path = m_running->server->slavePath();
    m_dataPath = m_running->server->dataPortPath();
    m_running->thread = std::thread([running = m_running.get()] { running->io.run(); });
}

BuiltInModem::~BuiltInModem()
{
    Running& running = *m_running;
    boost::asio::post(running.io, [&running] {
        running.server.reset();
        running.io.stop();
    });
    running.work.reset();
    running.thread.join();
}

}  // namespace cellctl::cli
