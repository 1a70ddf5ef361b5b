#pragma once

#include <array>
#include <chrono>
#include <memory>
#include <string>

#include <boost/asio/any_io_executor.hpp>
#include <boost/asio/local/stream_protocol.hpp>

#include <cellsim/ChildProcess.h>
#include <cellsim/NetworkSide.h>
#include <cellsim/WriteQueue.h>

namespace cellsim {

// The network side of a data call as a program (ModemOptions::dataPeer):
// `/bin/sh -c COMMAND` with its standard input and output joined to the call
// through a socket pair. The program's exit, or the end of its output, ends
// the call ("peer hung up"); what it wrote before it exited still reaches the
// host. Destroying a PeerProcess stops the program (SIGTERM, SIGKILL 2 s
// later). Bytes the program does not read pile up only to a limit.
class PeerProcess : public NetworkSide {
public:
    PeerProcess(const boost::asio::any_io_executor& executor, const std::string& command, Events events);
    ~PeerProcess() override;

    void send(const std::string& bytes) override;

private:
    using Writes = WriteQueue<boost::asio::local::stream_protocol::socket>;

    void read();
    void drain();
    void end(const std::string& reason);

    boost::asio::any_io_executor m_executor;
    Events m_events;
    boost::asio::local::stream_protocol::socket m_socket;
    std::shared_ptr<ChildProcess> m_child;
    std::shared_ptr<char> m_alive = std::make_shared<char>();
    Writes m_writes{m_socket, m_alive, [this] { end("peer hung up"); }};
    std::array<char, 4096> m_buffer{};
    bool m_childExited = false;
    bool m_ended = false;
};

// Network sides that run `command`; none (an empty factory) when it is empty.
NetworkSideFactory peerProcessFactory(const boost::asio::any_io_executor& executor, const std::string& command);

}  // namespace cellsim
