#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <boost/asio/buffer.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/strand.hpp>
#include <boost/system/error_code.hpp>

#include <cellctl/at/AtChannelTypes.h>

namespace cellctl::at {

// A byte stream to the device. The stream itself runs on the io_context's
// plain executor; completion handlers run inside the strand the transport was
// opened with.
class Transport {
public:
    using Strand = boost::asio::strand<boost::asio::io_context::executor_type>;
    using Handler = std::function<void(const boost::system::error_code&, std::size_t)>;

    // Takes what asyncReadSome reads. The pending read holds it by shared_ptr,
    // so it lives until the read completes, also after the transport is gone.
    class Reader {
    public:
        virtual void onRead(const boost::system::error_code& error, std::size_t size, std::uint64_t tag) = 0;

    protected:
        ~Reader() = default;
    };

    virtual ~Transport() = default;
    // One read; the reader is called with `tag` as it was given.
    virtual void asyncReadSome(boost::asio::mutable_buffer buffer, std::shared_ptr<Reader> reader,
                               std::uint64_t tag) = 0;
    // Writes what the device takes at once, without waiting: the bytes written,
    // possibly fewer than given (none when it would block). `error` is set when
    // the device is gone.
    virtual std::size_t writeNow(boost::asio::const_buffer buffer, boost::system::error_code& error) = 0;
    // Writes the whole buffer.
    virtual void asyncWrite(boost::asio::const_buffer buffer, Handler handler) = 0;
    virtual void close() = 0;
};

// Opens "tcp:HOST:PORT", or a serial device or pty slave path. Throws
// std::system_error with the errno of the failure.
std::unique_ptr<Transport> openTransport(const Transport::Strand& strand, const std::string& target,
                                         const AtPhoneLineOptions& options);

}  // namespace cellctl::at
