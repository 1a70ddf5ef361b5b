#include <cellctl/at/TcpTransport.h>

#include <cerrno>
#include <system_error>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>

#include <cellctl/at/StreamTransport.h>

namespace cellctl::at {
namespace {

using boost::asio::ip::tcp;
using Socket = boost::asio::basic_stream_socket<tcp, boost::asio::io_context::executor_type>;

struct HostAndPort {
    std::string host;
    std::string port;
};

[[noreturn]] void fail(int error, const std::string& what)
{
    throw std::system_error(error, std::generic_category(), what);
}

HostAndPort split(const std::string& hostAndPort)
{
    std::size_t colon = hostAndPort.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == hostAndPort.size())
        fail(EINVAL, "expected tcp:HOST:PORT, got tcp:" + hostAndPort);
    std::string host = hostAndPort.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    return {host, hostAndPort.substr(colon + 1)};
}

// Errors of the system keep their errno; a name that does not resolve is
// "not found".
int errnoOf(const boost::system::error_code& error)
{
    return error.category() == boost::system::system_category() ? error.value() : ENOENT;
}

}  // namespace

std::unique_ptr<Transport> openTcpTransport(const Transport::Strand& strand, const std::string& hostAndPort)
{
    HostAndPort target = split(hostAndPort);
    boost::system::error_code error;
    tcp::resolver resolver(strand.get_inner_executor());
    tcp::resolver::results_type endpoints = resolver.resolve(target.host, target.port, error);
    if (error)
        fail(errnoOf(error), "cannot resolve " + hostAndPort + ": " + error.message());
    Socket socket(strand.get_inner_executor());
    boost::asio::connect(socket, endpoints, error);
    if (error)
        fail(errnoOf(error), "cannot connect to " + hostAndPort + ": " + error.message());
    socket.set_option(tcp::no_delay(true), error);
    return std::make_unique<StreamTransport<Socket>>(strand, std::move(socket));
}

}  // namespace cellctl::at
