#include <cellsim/PtyPort.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace cellsim {
namespace {

[[noreturn]] void fail(const std::string& what) { throw std::system_error(errno, std::generic_category(), what); }

// Replaces an old link at `path`, but never a file that is not a link.
void makeLink(const std::string& target, const std::string& path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) == 0) {
        if (!S_ISLNK(status.st_mode)) {
            errno = EEXIST;
            fail("cellsim: " + path + " exists and is not a symbolic link");
        }
        ::unlink(path.c_str());
    }
    if (::symlink(target.c_str(), path.c_str()) != 0) {
        fail("cellsim: cannot link " + path);
    }
}

std::string linkTarget(const std::string& path)
{
    char target[PATH_MAX];
    const ssize_t size = ::readlink(path.c_str(), target, sizeof(target) - 1);
    return size < 0 ? std::string() : std::string(target, static_cast<std::size_t>(size));
}

}  // namespace

PtyPort::PtyPort(boost::asio::io_context& io, Modem& modem, const std::string& linkPath)
    : m_modem(modem),
      m_lineTimer(io)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        fail("cellsim: no pseudo-terminal");
    }
    char name[PATH_MAX];
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof(name)) != 0) {
        const int error = errno;
        ::close(master);
        errno = error;
        fail("cellsim: cannot unlock the pseudo-terminal");
    }
    m_slavePath = name;
    termios mode{};
    if (!holdSlave() || ::tcgetattr(m_slaveFd, &mode) != 0) {
        const int error = errno;
        ::close(master);
        releaseSlave();
        errno = error;
        fail("cellsim: cannot open " + m_slavePath);
    }
    ::cfmakeraw(&mode);
    ::tcsetattr(m_slaveFd, TCSANOW, &mode);

    m_masterFd = master;
    m_connection = std::make_unique<ModemConnection<boost::asio::posix::stream_descriptor>>(
        boost::asio::posix::stream_descriptor(io, master), m_modem);
    if (!linkPath.empty()) {
        try {
            makeLink(m_slavePath, linkPath);
        } catch (...) {
            stop();
            throw;
        }
        m_linkPath = linkPath;
    }
    m_connection->setHungUp([this] {
        m_modem.hostGone();
        return m_slaveFd >= 0 || holdSlave();
    });
    m_modem.setCallWatch([this](bool up) { callChanged(up); });
    m_connection->start();
}

PtyPort::~PtyPort() { stop(); }

void PtyPort::stop()
{
    m_modem.setCallWatch({});
    m_watching = false;
    m_lineTimer.cancel();
    if (m_connection) {
        m_connection->close();
        m_connection.reset();
        m_masterFd = -1;
    }
    releaseSlave();
    if (!m_linkPath.empty() && linkTarget(m_linkPath) == m_slavePath) {
        ::unlink(m_linkPath.c_str());
    }
}

bool PtyPort::holdSlave()
{
    m_slaveFd = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    return m_slaveFd >= 0;
}

void PtyPort::releaseSlave()
{
    if (m_slaveFd >= 0) {
        ::close(m_slaveFd);
        m_slaveFd = -1;
    }
}

void PtyPort::callChanged(bool up)
{
    m_watching = up;
    if (up) {
        releaseSlave();
        watchLine();
    } else {
        m_lineTimer.cancel();
        if (m_slaveFd < 0) {
            holdSlave();
        }
    }
}

void PtyPort::watchLine()
{
    m_lineTimer.expires_after(LinePoll);
    m_lineTimer.async_wait([this, alive = std::weak_ptr<char>(m_alive)](const boost::system::error_code& error) {
        if (error || alive.expired() || !m_watching) {
            return;  // the call ended or the port is gone
        }
        termios mode{};
        if (::tcgetattr(m_masterFd, &mode) == 0 && ::cfgetospeed(&mode) == B0) {
            m_modem.dropDtr();
        } else {
            watchLine();
        }
    });
}

}  // namespace cellsim
