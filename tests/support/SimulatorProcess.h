#pragma once

#include <sys/types.h>

#include <csignal>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace cellctl::test {

// Simulated modems in a child process that prints the path of each pty it
// serves, one a line, on its standard output: the cellsim executable, or a
// function run in the forked child. The child dies with this process, so a
// failing run leaves no simulator behind. Used by the tests and by the
// benchmarks, which build without the tests.
class SimulatorProcess {
public:
    // The executable (cellsim) with `arguments` after --pty; add "--link PATH"
    // to reach every restarted simulator under the same name.
    SimulatorProcess(std::string executable, std::vector<std::string> arguments);
    // `serve` runs in the forked child, prints `paths` lines and serves until
    // it is stopped. Only for a parent that has no other threads yet.
    SimulatorProcess(std::function<void()> serve, std::size_t paths);
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    // Starts the child and waits until it has printed its paths. Throws
    // std::runtime_error when it cannot be started or prints too little.
    void start();
    // Ends the child with `signal` (SIGKILL: the device vanishes
    // mid-command) and reaps it. Nothing happens when it is not running.
    void stop(int signal = SIGTERM);
    // Freezes and thaws the child: a device that stops answering for a
    // while, then carries on with what it had been sent.
    void freeze();
    void thaw();

    bool running() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }
    // The ptys of the running child, and the first of them.
    const std::vector<std::string>& paths() const { return m_paths; }
    const std::string& slavePath() const;

private:
    std::string m_executable;
    std::vector<std::string> m_arguments;
    std::function<void()> m_serve;
    std::size_t m_pathCount = 1;
    pid_t m_pid = -1;
    int m_output = -1;  // the child's standard output, held open while it runs
    std::vector<std::string> m_paths;
};

// Resident memory of a process in KiB (0 if it cannot be read).
std::size_t residentKib(pid_t pid);
// Of this process.
std::size_t residentKib();

}  // namespace cellctl::test
