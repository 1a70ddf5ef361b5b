#include <cellctl/at/Transport.h>

#include <cellctl/at/SerialTransport.h>
#include <cellctl/at/TcpTransport.h>
#include <cellctl/at/TextUtil.h>

namespace cellctl::at {

std::unique_ptr<Transport> openTransport(const boost::asio::any_io_executor& executor, const std::string& target,
                                         const AtPhoneLineOptions& options)
{
    constexpr char kTcp[] = "tcp:";
    if (startsWith(target, kTcp))
        return openTcpTransport(executor, target.substr(sizeof kTcp - 1));
    return openSerialTransport(executor, target, options);
}

}  // namespace cellctl::at
