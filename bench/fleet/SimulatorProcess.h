#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace bench {

// A child process serving `count` simulated modems, each on its own pty, all
// on one io_context thread. Kept in its own process so that the host's memory
// and CPU figures hold the host alone.
class SimulatorProcess {
public:
    explicit SimulatorProcess(int count);
    // Stops the child if it still runs.
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    const std::vector<std::string>& devicePaths() const { return m_paths; }
    pid_t pid() const { return m_pid; }
    void stop();

private:
    pid_t m_pid = -1;
    std::vector<std::string> m_paths;
};

// Resident set size of a process in KiB (VmRSS, or VmHWM for the peak); -1
// when it cannot be read.
long residentKib(pid_t pid, const char* field = "VmRSS:");

// Raises the soft limit of open files to the hard limit; returns the new soft limit.
long raiseFileLimit();

}  // namespace bench
