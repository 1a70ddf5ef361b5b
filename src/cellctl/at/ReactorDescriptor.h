#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include <boost/asio/buffer.hpp>
#include <boost/system/error_code.hpp>

#include <cellctl/at/Transport.h>

namespace cellctl::at {

// A serial or pty descriptor on the io_context's reactor, for the one read and
// the one write a channel has outstanding at most.
//
// Asio's stream descriptor reads until a read fails with EAGAIN: after every
// answer one more read system call finds nothing. The reactor watches the
// descriptor edge-triggered, so a read that fills less than its buffer has
// taken all the device sent, and further bytes raise a new event; this
// descriptor tells the reactor so (the read is "exhausted", as Asio does for
// stream sockets), and the next read waits for that event without trying
// first. A command's round trip then costs one write, one wait and one read.
//
// Completions run inside the strand given at construction. Pending operations
// keep the shared state alive, so the descriptor may be closed or destroyed
// while they are outstanding; they complete with operation_aborted.
class ReactorDescriptor {
public:
    // Takes ownership of `fd` (non-blocking) and registers it with the
    // reactor of the strand's io_context. Throws std::system_error.
    ReactorDescriptor(const Transport::Strand& strand, int fd);
    ~ReactorDescriptor();

    ReactorDescriptor(const ReactorDescriptor&) = delete;
    ReactorDescriptor& operator=(const ReactorDescriptor&) = delete;

    int nativeHandle() const;
    bool isOpen() const;
    // Deregisters and closes; pending operations complete with operation_aborted.
    void close();

    void asyncReadSome(boost::asio::mutable_buffer buffer, std::shared_ptr<Transport::Reader> reader,
                       std::uint64_t tag);
    // What the device takes at once, without waiting.
    std::size_t writeNow(boost::asio::const_buffer buffer, boost::system::error_code& error);
    // Writes the whole buffer, waiting for room as needed.
    void asyncWrite(boost::asio::const_buffer buffer, Transport::Handler handler);

private:
    struct State;
    std::shared_ptr<State> m_state;
};

}  // namespace cellctl::at
