#include "SimulatorProcess.h"

#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <utility>

namespace cellctl::test {

namespace {

// A simulator prints its paths at once; this only guards against a hang.
constexpr int kStartTimeoutMs = 20000;

// Reads one line the child prints.
std::string readLine(int fd)
{
    std::string line;
    while (true) {
        pollfd ready{fd, POLLIN, 0};
        int polled = ::poll(&ready, 1, kStartTimeoutMs);
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            throw std::runtime_error("the simulator printed no pty path");
        char c;
        ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            throw std::runtime_error("the simulator ended before printing its pty paths");
        if (c == '\n')
            return line;
        line += c;
    }
}

}  // namespace

SimulatorProcess::SimulatorProcess(std::string executable, std::vector<std::string> arguments)
    : m_executable(std::move(executable)),
      m_arguments(std::move(arguments))
{
}

SimulatorProcess::SimulatorProcess(std::function<void()> serve, std::size_t paths)
    : m_serve(std::move(serve)),
      m_pathCount(paths)
{
}

SimulatorProcess::~SimulatorProcess() { stop(SIGTERM); }

const std::string& SimulatorProcess::slavePath() const
{
    static const std::string none;
    return m_paths.empty() ? none : m_paths.front();
}

void SimulatorProcess::start()
{
    if (running())
        throw std::logic_error("the simulator is already running");
    // Everything an executed child needs is made before the fork: it only execs.
    std::string pty = "--pty";
    std::vector<char*> argv{m_executable.data(), pty.data()};
    for (std::string& argument : m_arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        throw std::runtime_error("no pipe for the simulator");
    std::fflush(nullptr);  // nothing buffered is written twice
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        throw std::runtime_error("cannot fork the simulator");
    }
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        if (m_serve) {
            m_serve();
            ::_exit(1);
        }
        ::execv(m_executable.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    m_pid = pid;
    m_output = pipeEnds[0];
    try {
        while (m_paths.size() < m_pathCount)
            m_paths.push_back(readLine(m_output));
    } catch (...) {
        stop(SIGKILL);
        throw;
    }
}

void SimulatorProcess::stop(int signal)
{
    if (!running())
        return;
    ::kill(m_pid, SIGCONT);  // a frozen process must run to end
    ::kill(m_pid, signal);
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {}
    ::close(m_output);
    m_output = -1;
    m_pid = -1;
    m_paths.clear();
}

void SimulatorProcess::freeze()
{
    if (running())
        ::kill(m_pid, SIGSTOP);
}

void SimulatorProcess::thaw()
{
    if (running())
        ::kill(m_pid, SIGCONT);
}

std::size_t residentKib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            std::size_t kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(4096, '\n');
    }
    return 0;
}

std::size_t residentKib() { return residentKib(::getpid()); }

}  // namespace cellctl::test
