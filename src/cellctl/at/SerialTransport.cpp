#include <cellctl/at/SerialTransport.h>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>
#include <utility>

#include <cellctl/at/BaudRates.h>
#include <cellctl/at/ReactorDescriptor.h>

namespace cellctl::at {
namespace {

[[noreturn]] void fail(int error, const std::string& what, const std::string& path)
{
    throw std::system_error(error, std::generic_category(), what + " " + path);
}

speed_t speedFor(unsigned rate, const std::string& path)
{
    std::optional<speed_t> speed = speedConstant(rate);
    if (!speed)
        fail(EINVAL, "unsupported baud rate " + std::to_string(rate) + " for", path);
    return *speed;
}

// A serial device or pty on the reactor directly (see ReactorDescriptor).
class SerialTransport : public Transport {
public:
    SerialTransport(const Transport::Strand& strand, int fd) : m_descriptor(strand, fd) {}

    void asyncReadSome(boost::asio::mutable_buffer buffer, std::shared_ptr<Reader> reader, std::uint64_t tag) override
    {
        m_descriptor.asyncReadSome(buffer, std::move(reader), tag);
    }

    std::size_t writeNow(boost::asio::const_buffer buffer, boost::system::error_code& error) override
    {
        return m_descriptor.writeNow(buffer, error);
    }

    void asyncWrite(boost::asio::const_buffer buffer, Handler handler) override
    {
        m_descriptor.asyncWrite(buffer, std::move(handler));
    }

    void close() override
    {
        // Give the port back to other programs.
        if (m_descriptor.isOpen())
            ::ioctl(m_descriptor.nativeHandle(), TIOCNXCL);
        m_descriptor.close();
    }

private:
    ReactorDescriptor m_descriptor;
};

// Owns the descriptor until it is handed to the transport.
struct OwnedDescriptor {
    int fd;
    ~OwnedDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    int release() { return std::exchange(fd, -1); }
};

void holdExclusively(int fd, const std::string& path)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        fail(errno == EWOULDBLOCK ? EBUSY : errno, "cannot lock", path);
    if (::ioctl(fd, TIOCEXCL) != 0)
        fail(errno, "cannot claim", path);
}

void configure(int fd, const AtPhoneLineOptions& options, const std::string& path)
{
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0)
        fail(errno, "cannot read the settings of", path);
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    if (options.hardwareFlowControl)
        settings.c_cflag |= CRTSCTS;
    settings.c_iflag &= ~(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    speed_t speed = speedFor(options.baudRate, path);
    if (::cfsetispeed(&settings, speed) != 0 || ::cfsetospeed(&settings, speed) != 0)
        fail(errno, "cannot set the speed of", path);
    if (::tcsetattr(fd, TCSANOW, &settings) != 0)
        fail(errno, "cannot configure", path);
    ::tcflush(fd, TCIOFLUSH);
}

}  // namespace

std::unique_ptr<Transport> openSerialTransport(const Transport::Strand& strand, const std::string& path,
                                               const AtPhoneLineOptions& options)
{
    OwnedDescriptor descriptor{::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)};
    if (descriptor.fd < 0)
        fail(errno, "cannot open", path);
    if (!::isatty(descriptor.fd))
        fail(ENOTTY, "not a terminal:", path);
    holdExclusively(descriptor.fd, path);
    configure(descriptor.fd, options, path);
    return std::make_unique<SerialTransport>(strand, descriptor.release());
}

}  // namespace cellctl::at
