#pragma once

#include <utility>

#include <boost/asio/bind_executor.hpp>
#include <boost/asio/error.hpp>
#include <boost/asio/write.hpp>

#include <cellctl/at/Transport.h>

namespace cellctl::at {

// A Transport over any Asio stream (a descriptor, a socket) made on the
// strand's inner executor. The stream is switched to non-blocking mode so that
// writeNow never waits.
template <typename Stream>
class StreamTransport : public Transport {
public:
    // The stream is made in place from `streamArguments`.
    template <typename... Arguments>
    explicit StreamTransport(const Strand& strand, Arguments&&... streamArguments)
        : m_stream(std::forward<Arguments>(streamArguments)...),
          m_strand(strand)
    {
        m_stream.non_blocking(true);
    }

    void asyncReadSome(boost::asio::mutable_buffer buffer, std::shared_ptr<Reader> reader, std::uint64_t tag) override
    {
        // A small handler of its own (no std::function): Asio recycles the
        // memory of the operation, so a read allocates nothing.
        m_stream.async_read_some(
            buffer, boost::asio::bind_executor(m_strand, [reader = std::move(reader), tag](
                                                             const boost::system::error_code& error, std::size_t size) {
                reader->onRead(error, size, tag);
            }));
    }

    std::size_t writeNow(boost::asio::const_buffer buffer, boost::system::error_code& error) override
    {
        std::size_t written = m_stream.write_some(buffer, error);
        if (error == boost::asio::error::would_block || error == boost::asio::error::try_again)
            error.clear();
        return written;
    }

    void asyncWrite(boost::asio::const_buffer buffer, Handler handler) override
    {
        boost::asio::async_write(m_stream, buffer, boost::asio::bind_executor(m_strand, std::move(handler)));
    }

    void close() override
    {
        boost::system::error_code ignored;
        m_stream.close(ignored);
    }

protected:
    Stream& stream() { return m_stream; }

private:
    Stream m_stream;
    Strand m_strand;
};

}  // namespace cellctl::at
