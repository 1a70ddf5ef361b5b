#include "SimulatorProcess.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include <boost/asio/io_context.hpp>

#include <cellsim/ModemOptions.h>
#include <cellsim/PtyServer.h>

namespace bench {

namespace {

// The child: serve the modems, hand their paths to the parent, run until killed.
[[noreturn]] void serveModems(int count, int pathsOut)
{
    try {
        boost::asio::io_context io;
        std::vector<std::unique_ptr<cellsim::PtyServer>> servers;
        std::string paths;
        cellsim::ModemOptions options;
        options.registrationDelay = std::chrono::milliseconds(50);
        for (int i = 0; i < count; ++i) {
            servers.push_back(std::make_unique<cellsim::PtyServer>(io, options));
            paths += servers.back()->slavePath() + "\n";
        }
        if (::write(pathsOut, paths.data(), paths.size()) != static_cast<ssize_t>(paths.size()))
            std::_Exit(1);
        ::close(pathsOut);
        io.run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "simulators: %s\n", e.what());
    }
    std::_Exit(1);
}

}  // namespace

SimulatorProcess::SimulatorProcess(int count)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        throw std::system_error(errno, std::generic_category(), "pipe");
    std::fflush(nullptr);
    m_pid = ::fork();
    if (m_pid < 0)
        throw std::system_error(errno, std::generic_category(), "fork");
    if (m_pid == 0) {
        ::close(pipeFds[0]);
        serveModems(count, pipeFds[1]);
    }
    ::close(pipeFds[1]);
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    std::istringstream lines(text);
    for (std::string path; std::getline(lines, path);)
        m_paths.push_back(path);
    if (static_cast<int>(m_paths.size()) != count) {
        stop();
        throw std::runtime_error("the simulators did not start");
    }
}

SimulatorProcess::~SimulatorProcess()
{
    stop();
}

void SimulatorProcess::stop()
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGTERM);
    ::waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

long residentKib(pid_t pid, const char* field)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const std::string prefix = field;
    while (std::getline(status, line)) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::atol(line.c_str() + prefix.size());
    }
    return -1;
}

long raiseFileLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return -1;
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
    ::getrlimit(RLIMIT_NOFILE, &limit);
    return static_cast<long>(limit.rlim_cur);
}

}  // namespace bench
