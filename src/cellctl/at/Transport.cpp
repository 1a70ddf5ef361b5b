#include <cellctl/at/Transport.h>

#include <cellctl/at/SerialTransport.h>
#include <cellctl/at/TcpTransport.h>
#include <cellctl/text/Comparison.h>

namespace cellctl::at {

std::unique_ptr<Transport> openTransport(const Transport::Strand& strand, const std::string& target,
                                         const AtPhoneLineOptions& options)
{
    constexpr char kTcp[] = "tcp:";
    if (text::startsWith(target, kTcp))
        return openTcpTransport(strand, target.substr(sizeof kTcp - 1));
    return openSerialTransport(strand, target, options);
}

}  // namespace cellctl::at
