#include <cellsim/PtyServer.h>

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

[[noreturn]] void fail(const std::string& what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

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

PtyServer::PtyServer(boost::asio::io_context& io, const ModemOptions& options, const std::string& linkPath)
    : m_scheduler(io.get_executor()), m_modem(m_scheduler, options)
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
    m_slaveFd = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios mode {};
    if (m_slaveFd < 0 || ::tcgetattr(m_slaveFd, &mode) != 0) {
        const int error = errno;
        ::close(master);
        if (m_slaveFd >= 0) {
            ::close(m_slaveFd);
        }
        errno = error;
        fail("cellsim: cannot open " + m_slavePath);
    }
    ::cfmakeraw(&mode);
    ::tcsetattr(m_slaveFd, TCSANOW, &mode);

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
    m_connection->start();
}

PtyServer::~PtyServer() { stop(); }

void PtyServer::stop()
{
    if (m_connection) {
        m_connection->close();
        m_connection.reset();
    }
    if (m_slaveFd >= 0) {
        ::close(m_slaveFd);
        m_slaveFd = -1;
    }
    if (!m_linkPath.empty() && linkTarget(m_linkPath) == m_slavePath) {
        ::unlink(m_linkPath.c_str());
    }
}

}  // namespace cellsim
