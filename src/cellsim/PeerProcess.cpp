#include <cellsim/PeerProcess.h>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

#include <boost/asio/buffer.hpp>
#include <boost/asio/post.hpp>

namespace cellsim {

PeerProcess::PeerProcess(const boost::asio::any_io_executor& executor, const std::string& command, Events events)
    : m_executor(executor),
      m_events(std::move(events)),
      m_socket(executor)
{
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
        end(std::string("peer could not start: ") + std::strerror(errno));
        return;
    }
    try {
        std::weak_ptr<char> alive = m_alive;
        m_child = ChildProcess::start(executor, command, pair[1], [this, alive] {
            if (!alive.expired() && !m_ended) {
                // Take what the program wrote before it went, then end.
                m_childExited = true;
                m_socket.cancel();
            }
        });
    } catch (const std::system_error& error) {
        ::close(pair[0]);
        ::close(pair[1]);
        end(std::string("peer could not start: ") + error.code().message());
        return;
    }
    ::close(pair[1]);
    m_socket.assign(boost::asio::local::stream_protocol(), pair[0]);
    read();
}

PeerProcess::~PeerProcess()
{
    m_alive.reset();
    boost::system::error_code ignored;
    m_socket.close(ignored);
    if (m_child) {
        m_child->stop();
    }
}

void PeerProcess::read()
{
    std::weak_ptr<char> alive = m_alive;
    m_socket.async_read_some(boost::asio::buffer(m_buffer),
                             [this, alive](const boost::system::error_code& error, std::size_t size) {
                                 if (alive.expired()) {
                                     return;
                                 }
                                 if (size > 0) {
                                     m_events.received(std::string(m_buffer.data(), size));
                                 }
                                 if (m_childExited) {
                                     drain();
                                     end("peer hung up");
                                 } else if (error) {
                                     end("peer hung up");
                                 } else {
                                     read();
                                 }
                             });
}

// What is left in the socket once the program exited, up to the queue limit
// (a program it left behind may still be writing).
void PeerProcess::drain()
{
    boost::system::error_code error;
    m_socket.non_blocking(true, error);
    for (std::size_t taken = 0; !error && taken < Writes::MaxQueuedBytes;) {
        const std::size_t size = m_socket.read_some(boost::asio::buffer(m_buffer), error);
        if (size > 0) {
            m_events.received(std::string(m_buffer.data(), size));
        }
        taken += size;
    }
}

void PeerProcess::send(const std::string& bytes)
{
    if (!m_ended) {
        m_writes.send(bytes);
    }
}

// The call hears of the end from the io_context, never from inside one of
// this object's handlers or send(): it may destroy the PeerProcess then.
void PeerProcess::end(const std::string& reason)
{
    if (m_ended) {
        return;
    }
    m_ended = true;
    boost::asio::post(m_executor, [alive = std::weak_ptr<char>(m_alive), ended = m_events.ended, reason] {
        if (!alive.expired()) {
            ended(reason);
        }
    });
}

NetworkSideFactory peerProcessFactory(const boost::asio::any_io_executor& executor, const std::string& command)
{
    if (command.empty()) {
        return {};
    }
    return [executor, command](NetworkSide::Events events) -> std::unique_ptr<NetworkSide> {
        return std::make_unique<PeerProcess>(executor, command, std::move(events));
    };
}

}  // namespace cellsim
