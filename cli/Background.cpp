#include "Background.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "CliError.h"
#include "ExitStatus.h"

namespace cellctl::cli {
namespace {

constexpr char kLinkUp = 'u';
volatile sig_atomic_t g_child = 0;

void forwardSignal(int signal)
{
    if (g_child > 0)
        ::kill(static_cast<pid_t>(g_child), signal);
}

[[noreturn]] void waitAsParent(pid_t child, int readyFd)
{
    g_child = child;
    struct sigaction forward {};
    forward.sa_handler = forwardSignal;
    ::sigaction(SIGINT, &forward, nullptr);
    ::sigaction(SIGTERM, &forward, nullptr);

    char byte = 0;
    ssize_t got;
    do {
        got = ::read(readyFd, &byte, 1);
    } while (got < 0 && errno == EINTR);
    if (got == 1 && byte == kLinkUp)
        std::_Exit(kExitSuccess);

    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    std::_Exit(WIFEXITED(status) ? WEXITSTATUS(status) : exitStatusOf(ErrorKind::Interrupted));
}

}  // namespace

Background Background::start()
{
    int ready[2];
    if (::pipe2(ready, O_CLOEXEC) != 0)
        throw CliError(ErrorKind::Internal, "cannot go to the background: no pipe");
    pid_t child = ::fork();
    if (child < 0)
        throw CliError(ErrorKind::Internal, "cannot go to the background: fork failed");
    if (child > 0) {
        ::close(ready[1]);
        waitAsParent(child, ready[0]);
    }
    ::close(ready[0]);
    // A session of its own: the terminal's Ctrl-C and hang-up no longer reach
    // it directly (the parent forwards Ctrl-C until the link is up).
    ::setsid();
    return Background(ready[1]);
}

void Background::detach()
{
    if (m_readyFd < 0)
        return;
    [[maybe_unused]] ssize_t written = ::write(m_readyFd, &kLinkUp, 1);
    ::close(m_readyFd);
    m_readyFd = -1;
    int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::dup2(null, 2);
        if (null > 2)
            ::close(null);
    }
}

}  // namespace cellctl::cli
