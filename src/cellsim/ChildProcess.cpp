#include <cellsim/ChildProcess.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

// Older C libraries lack the wrappers; the numbers are the same on every architecture.
#ifndef SYS_pidfd_open
#define SYS_pidfd_open 434
#endif
#ifndef SYS_close_range
#define SYS_close_range 436
#endif

namespace cellsim {
namespace {

// In the new process, before exec: only async-signal-safe calls.
[[noreturn]] void runProgram(const char* command, int stdio, pid_t parent, int openMax)
{
    ::setpgid(0, 0);  // a terminal's Ctrl-C is for the simulator, which then stops the program
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) {
        ::_exit(127);
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::signal(SIGPIPE, SIG_DFL);
    if (::dup2(stdio, 0) != 0 || ::dup2(stdio, 1) != 1) {
        ::_exit(127);
    }
    ::fcntl(0, F_SETFD, 0);  // dup2 onto itself keeps close-on-exec
    ::fcntl(1, F_SETFD, 0);
    if (::syscall(SYS_close_range, 3U, ~0U, 0U) != 0) {
        for (int fd = 3; fd < openMax; ++fd) {
            ::close(fd);
        }
    }
    ::execl("/bin/sh", "sh", "-c", command, static_cast<char*>(nullptr));
    ::_exit(127);
}

}  // namespace

std::shared_ptr<ChildProcess> ChildProcess::start(const boost::asio::any_io_executor& executor,
                                                  const std::string& command, int stdio, std::function<void()> exited)
{
    rlimit files{};
    const int openMax = ::getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur != RLIM_INFINITY
                            ? static_cast<int>(std::min<rlim_t>(files.rlim_cur, 65536))
                            : 65536;
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        throw std::system_error(errno, std::generic_category(), "cellsim: cannot start the data peer");
    }
    if (pid == 0) {
        runProgram(command.c_str(), stdio, parent, openMax);
    }
    ::setpgid(pid, pid);  // as the program does itself: whichever runs first
    std::shared_ptr<ChildProcess> child(new ChildProcess(executor, pid, std::move(exited)));
    child->m_self = child;
    const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0U));
    if (pidfd >= 0) {  // close-on-exec already
        child->m_pidfd.assign(pidfd);
    }
    child->watch();
    return child;
}

ChildProcess::ChildProcess(const boost::asio::any_io_executor& executor, pid_t pid, std::function<void()> exited)
    : m_pid(pid),
      m_exited(std::move(exited)),
      m_pidfd(executor),
      m_poll(executor),
      m_killTimer(executor)
{
}

// Reached with the program still running only when the io_context went
// away before it ended: the stop is finished here, blocking.
ChildProcess::~ChildProcess()
{
    if (m_reaped) {
        return;
    }
    if (!m_stopping) {
        signal(SIGTERM);
        m_killAt = std::chrono::steady_clock::now() + DefaultGrace;
    }
    while (!reap() && std::chrono::steady_clock::now() < m_killAt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!m_reaped) {
        signal(SIGKILL);
        while (::waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {}
    }
}

void ChildProcess::stop(std::chrono::milliseconds grace)
{
    m_exited = nullptr;
    if (m_reaped || m_stopping) {
        return;
    }
    m_stopping = true;
    signal(SIGTERM);
    m_killAt = std::chrono::steady_clock::now() + grace;
    m_killTimer.expires_at(m_killAt);
    m_killTimer.async_wait([self = m_self.lock()](const boost::system::error_code& error) {
        if (!error && !self->m_reaped) {
            self->signal(SIGKILL);
        }
    });
}

// Waits for the end of the program; the pending wait holds the object.
void ChildProcess::watch()
{
    auto woken = [self = m_self.lock()](const boost::system::error_code& error) {
        if (self->reap()) {
            self->m_killTimer.cancel();
            if (auto exited = std::move(self->m_exited)) {
                exited();
            }
            return;
        }
        if (error && self->m_pidfd.is_open()) {
            boost::system::error_code ignored;
            self->m_pidfd.close(ignored);  // look by polling from now on
        }
        self->watch();
    };
    if (m_pidfd.is_open()) {
        m_pidfd.async_wait(boost::asio::posix::stream_descriptor::wait_read, woken);
    } else {
        m_poll.expires_after(std::chrono::milliseconds(100));
        m_poll.async_wait(woken);
    }
}

bool ChildProcess::reap()
{
    if (!m_reaped) {
        pid_t result;
        do {
            result = ::waitpid(m_pid, nullptr, WNOHANG);
        } while (result < 0 && errno == EINTR);
        // ECHILD: someone else reaped it (or SIGCHLD is ignored).
        m_reaped = result == m_pid || (result < 0 && errno == ECHILD);
        if (m_reaped) {
            boost::system::error_code ignored;
            m_pidfd.close(ignored);
        }
    }
    return m_reaped;
}

// To the program's whole process group (what the shell started too). Until
// the program is reaped its pid, and so its group, cannot be reused.
void ChildProcess::signal(int number)
{
    if (::kill(-m_pid, number) != 0) {
        ::kill(m_pid, number);  // not yet in a group of its own
    }
}

}  // namespace cellsim
