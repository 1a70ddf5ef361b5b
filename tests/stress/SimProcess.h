#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

namespace cellctl::stress {

// The cellsim executable running as a child process, serving a pty. The child
// dies with this process, so a failing test leaves no simulator behind.
class SimProcess {
public:
    // `arguments` go to cellsim after --pty; add "--link PATH" to reach every
    // restarted simulator under the same name.
    SimProcess(std::string executable, std::vector<std::string> arguments);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts cellsim and waits until it prints its pty's path. Throws
    // std::runtime_error when it cannot be started or prints nothing.
    void start();
    // Ends the process with `signal` (SIGKILL: the device vanishes
    // mid-command) and reaps it. Nothing happens when it is not running.
    void stop(int signal);
    // Freezes and thaws the process: a device that stops answering for a
    // while, then carries on with what it had been sent.
    void freeze();
    void thaw();

    bool running() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }
    // The pty slave of the running simulator.
    const std::string& slavePath() const { return m_slavePath; }

private:
    std::string m_executable;
    std::vector<std::string> m_arguments;
    pid_t m_pid = -1;
    int m_output = -1;  // cellsim's standard output, held open while it runs
    std::string m_slavePath;
};

// Resident memory of a process in KiB (0 if it cannot be read).
std::size_t residentKib(pid_t pid);
// Of this process.
std::size_t residentKib();

}  // namespace cellctl::stress
