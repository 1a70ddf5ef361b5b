#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <sys/types.h>

#include <boost/asio/any_io_executor.hpp>
#include <boost/asio/posix/stream_descriptor.hpp>
#include <boost/asio/steady_timer.hpp>

namespace cellsim {

// A program run as `/bin/sh -c COMMAND` in a process group of its own, with
// its standard input and output on one given descriptor, standard error
// inherited and no other descriptor open. Signals go to its process group;
// it is waited for by its pid alone (never waitpid(-1)): the embedding
// program may have children of its own.
//
// The object keeps itself alive while the program runs, so a stopped program
// is still reaped after its owner let go. Should the io_context go away
// first, the destructor finishes the stop (SIGTERM, SIGKILL after the grace
// time) and reaps the program before returning.
class ChildProcess {
public:
    static constexpr std::chrono::milliseconds DefaultGrace{2000};

    // Starts the program; `exited` runs once it has ended on its own. Throws
    // std::system_error when no process can be made.
    static std::shared_ptr<ChildProcess> start(const boost::asio::any_io_executor& executor, const std::string& command,
                                               int stdio, std::function<void()> exited);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // SIGTERM now, SIGKILL after `grace` unless it ended; `exited` no longer runs.
    void stop(std::chrono::milliseconds grace = DefaultGrace);

private:
    ChildProcess(const boost::asio::any_io_executor& executor, pid_t pid, std::function<void()> exited);

    void watch();
    bool reap();
    void signal(int number);

    std::weak_ptr<ChildProcess> m_self;
    pid_t m_pid;
    std::function<void()> m_exited;
    boost::asio::posix::stream_descriptor m_pidfd;  // readable once the program ended; closed without pidfd_open
    boost::asio::steady_timer m_poll;               // without a pidfd: looks every 100 ms
    boost::asio::steady_timer m_killTimer;
    std::chrono::steady_clock::time_point m_killAt;
    bool m_stopping = false;
    bool m_reaped = false;
};

}  // namespace cellsim
