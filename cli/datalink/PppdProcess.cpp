#include "PppdProcess.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <boost/asio/posix/stream_descriptor.hpp>

#include "DataLinkError.h"
#include "PppdArguments.h"

namespace cellctl::cli {
namespace {

constexpr std::size_t kRecentLogLines = 6;

struct Pipe {
    int read = -1;
    int write = -1;
    Pipe()
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            throw std::system_error(errno, std::generic_category(), "pipe");
        read = fds[0];
        write = fds[1];
    }
    ~Pipe()
    {
        closeRead();
        closeWrite();
    }
    void closeRead()
    {
        if (read >= 0)
            ::close(read);
        read = -1;
    }
    void closeWrite()
    {
        if (write >= 0)
            ::close(write);
        write = -1;
    }
    int releaseRead()
    {
        int fd = read;
        read = -1;
        return fd;
    }
};

// In the child: the descriptors pppd expects, nothing else, default signal
// handling, and an end tied to ours.
[[noreturn]] void execPppd(const std::vector<std::string>& args, int ttyFd, int logFd, int secretsFd, int errorFd)
{
    ::setpgid(0, 0);  // Ctrl-C reaches cellctl, which then stops pppd in order
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    ::signal(SIGPIPE, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);

    // Move the sources out of the way of the target numbers first.
    int tty = ::fcntl(ttyFd, F_DUPFD_CLOEXEC, 10);
    int log = ::fcntl(logFd, F_DUPFD_CLOEXEC, 10);
    int secrets = secretsFd >= 0 ? ::fcntl(secretsFd, F_DUPFD_CLOEXEC, 10) : -1;
    bool placed = tty >= 0 && log >= 0 && ::dup2(tty, 0) == 0 && ::dup2(tty, 1) == 1 && ::dup2(log, 2) == 2 &&
                  ::dup2(log, kPppdLogFd) == kPppdLogFd &&
                  (secrets < 0 || ::dup2(secrets, kPppdSecretsFd) == kPppdSecretsFd);
    if (placed) {
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        char locale[] = "LC_ALL=C";
        char* env[] = {locale, nullptr};
        ::execve(argv[0], argv.data(), env);
    }
    int error = errno;
    [[maybe_unused]] ssize_t ignored = ::write(errorFd, &error, sizeof error);
    ::_exit(127);
}

int pidfdOpen(pid_t pid)
{
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    errno = ENOSYS;
    return -1;
#endif
}

}  // namespace

struct PppdProcess::Watch {
    boost::asio::posix::stream_descriptor log;
    boost::asio::posix::stream_descriptor exit;
    std::array<char, 1024> buffer{};
    Watch(boost::asio::io_context& io, int logFd, int pidFd) : log(io, logFd), exit(io, pidFd) {}
};

PppdProcess::PppdProcess(boost::asio::io_context& io, DataLinkHost& host, const DataLinkOptions& options, int ttyFd)
    : m_host(host)
{
    if (::access(options.pppdPath.c_str(), F_OK) != 0)
        throw DataLinkError(DataLinkFailure::PppdMissing,
                            "pppd not found (" + options.pppdPath + "): install the ppp package");
    if (::access(options.pppdPath.c_str(), X_OK) != 0)
        throw DataLinkError(DataLinkFailure::PppdNotPermitted,
                            options.pppdPath + " may be run only by root or members of the dip group");

    std::vector<std::string> args = pppdArguments(options);
    std::string secrets = pppdSecretOptions(options);
    Pipe log;
    Pipe execError;
    std::optional<Pipe> secretsPipe;
    if (!secrets.empty())
        secretsPipe.emplace();

    m_pid = ::fork();
    if (m_pid < 0)
        throw std::system_error(errno, std::generic_category(), "fork");
    if (m_pid == 0)
        execPppd(args, ttyFd, log.write, secretsPipe ? secretsPipe->read : -1, execError.write);

    log.closeWrite();
    execError.closeWrite();
    if (secretsPipe) {
        // A few hundred bytes: the pipe takes them whole, pppd reads them at start.
        secretsPipe->closeRead();
        [[maybe_unused]] ssize_t written = ::write(secretsPipe->write, secrets.data(), secrets.size());
        secretsPipe->closeWrite();
    }
    int error = 0;
    ssize_t got;
    do {
        got = ::read(execError.read, &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    if (got == sizeof error) {
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
        if (error == EACCES || error == EPERM)
            throw DataLinkError(DataLinkFailure::PppdNotPermitted,
                                options.pppdPath + " may be run only by root or members of the dip group");
        throw DataLinkError(DataLinkFailure::PppdMissing,
                            "cannot run " + options.pppdPath + ": " + std::strerror(error));
    }

    int pidFd = pidfdOpen(m_pid);
    if (pidFd < 0) {
        int openError = errno;
        ::kill(m_pid, SIGKILL);
        reap();
        throw std::system_error(openError, std::generic_category(), "pidfd_open");
    }
    m_watch = std::make_unique<Watch>(io, log.releaseRead(), pidFd);
    readLog();
    awaitExit();
}

PppdProcess::~PppdProcess()
{
    if (m_pid > 0 && !m_exitStatus) {
        ::kill(m_pid, SIGKILL);
        reap();
    }
}

void PppdProcess::readLog()
{
    m_watch->log.async_read_some(boost::asio::buffer(m_watch->buffer),
                                 [this](const boost::system::error_code& error, std::size_t size) {
                                     if (error)
                                         return;
                                     for (std::size_t i = 0; i < size; ++i) {
                                         char c = m_watch->buffer[i];
                                         if (c == '\n') {
                                             takeLogLine(m_partialLine);
                                             m_partialLine.clear();
                                         } else if (m_partialLine.size() < 1024) {
                                             m_partialLine += c;
                                         }
                                     }
                                     readLog();
                                 });
}

void PppdProcess::awaitExit()
{
    m_watch->exit.async_wait(boost::asio::posix::stream_descriptor::wait_read,
                             [this](const boost::system::error_code& error) {
                                 if (!error)
                                     reap();
                             });
}

void PppdProcess::reap()
{
    int status = 0;
    pid_t got;
    do {
        got = ::waitpid(m_pid, &status, 0);
    } while (got < 0 && errno == EINTR);
    if (got != m_pid) {
        m_exitStatus = 1;
        return;
    }
    m_exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void PppdProcess::takeLogLine(const std::string& line)
{
    if (line.empty())
        return;
    m_recentLines.push_back(line);
    if (m_recentLines.size() > kRecentLogLines)
        m_recentLines.pop_front();

    PppdLogLine read = readPppdLogLine(line);
    switch (read.kind) {
    case PppdLogLine::Kind::Interface:
        if (m_details.interface.empty()) {
            m_details.interface = read.value;
            m_host.negotiating(read.value);
        }
        break;
    case PppdLogLine::Kind::LocalAddress:
        m_details.localAddress = read.value;
        break;
    case PppdLogLine::Kind::PeerAddress:
        m_details.peerAddress = read.value;
        break;
    case PppdLogLine::Kind::DnsServer:
        // Networks often give one server as both primary and secondary.
        if (std::find(m_details.dnsServers.begin(), m_details.dnsServers.end(), read.value) ==
            m_details.dnsServers.end())
            m_details.dnsServers.push_back(read.value);
        break;
    case PppdLogLine::Kind::AuthFailed:
        m_authFailed = true;
        m_host.notice("pppd: " + line);
        break;
    case PppdLogLine::Kind::Problem:
        m_host.notice("pppd: " + line);
        break;
    case PppdLogLine::Kind::Other:
        break;
    }
}

std::string PppdProcess::lastWords() const
{
    std::string words;
    for (const std::string& line : m_recentLines)
        words += (words.empty() ? "" : "; ") + line;
    return words;
}

void PppdProcess::stop(LinkClock::duration grace)
{
    if (m_pid <= 0 || m_exitStatus)
        return;
    ::kill(m_pid, SIGTERM);
    if (!m_host.runLoop([this] { return m_exitStatus.has_value(); }, grace)) {
        ::kill(m_pid, SIGKILL);
        m_host.runLoop([this] { return m_exitStatus.has_value(); }, std::chrono::seconds(5));
    }
    if (!m_exitStatus)
        reap();
}

}  // namespace cellctl::cli
