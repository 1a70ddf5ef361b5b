#pragma once

#include <utility>

#include <boost/asio/write.hpp>

#include <cellctl/at/Transport.h>

namespace cellctl::at {

// A Transport over any Asio stream (a descriptor, a socket).
template <typename Stream>
class StreamTransport : public Transport {
public:
    explicit StreamTransport(Stream stream) : m_stream(std::move(stream)) {}

    void asyncReadSome(boost::asio::mutable_buffer buffer, Handler handler) override
    {
        m_stream.async_read_some(buffer, std::move(handler));
    }

    void asyncWrite(boost::asio::const_buffer buffer, Handler handler) override
    {
        boost::asio::async_write(m_stream, buffer, std::move(handler));
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
};

}  // namespace cellctl::at
