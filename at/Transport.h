#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include <boost/asio/any_io_executor.hpp>
#include <boost/asio/buffer.hpp>
#include <boost/system/error_code.hpp>

#include <cellctl/at/AtChannelTypes.h>

namespace cellctl::at {

// A byte stream to the device. Completion handlers run through the executor
// the transport was opened with.
class Transport {
public:
    using Handler = std::function<void(const boost::system::error_code&, std::size_t)>;

    virtual ~Transport() = default;
    virtual void asyncReadSome(boost::asio::mutable_buffer buffer, Handler handler) = 0;
    // Writes the whole buffer.
    virtual void asyncWrite(boost::asio::const_buffer buffer, Handler handler) = 0;
    virtual void close() = 0;
};

// Opens "tcp:HOST:PORT", or a serial device or pty slave path. Throws
// std::system_error with the errno of the failure.
std::unique_ptr<Transport> openTransport(const boost::asio::any_io_executor& executor, const std::string& target,
                                         const AtPhoneLineOptions& options);

}  // namespace cellctl::at
