#pragma once

#include <chrono>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <tuple>

#include <boost/asio/io_context.hpp>
#include <boost/asio/signal_set.hpp>

#include "Assistors.h"
#include "Limits.h"
#include "BuiltInModem.h"
#include "CliError.h"
#include "ModemResults.h"

namespace cellctl::at {
class AtPhoneLine;
}

namespace cellctl::cli {

using Clock = std::chrono::steady_clock;

inline Clock::duration toDuration(Seconds seconds)
{
    return std::chrono::duration_cast<Clock::duration>(seconds);
}

struct SessionOptions {
    std::string device;                   // serial device or pty path
    std::string tcp;                      // HOST:PORT
    unsigned baudRate = 115200;
    bool trace = false;                   // AT traffic on stderr, secrets masked
    std::optional<double> timeoutSeconds; // limit for every step; unset: each step's own
    BuiltInModemOptions simulator;        // used when neither device nor tcp is given
    bool simulatorChosen = false;         // a --sim-* option was given: no search for a real modem
};

// One conversation with one modem: the io_context, the AT channel (on the
// given device, or on the built-in simulated modem's pty) and every assistor,
// wired in the library's start-up order and taken down in its shut-down order.
// Everything runs on the caller's thread: waiting means running the loop until
// the awaited callback has arrived or the step's time is up. Nothing waits
// without a limit.
class UucpLock;

class Session {
public:
    Session(const SessionOptions& options, std::ostream& traceOut);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Assistors& lib() { return *m_assistors; }
    ModemResults& results() { return m_results; }
    // What the session talks to, for people: a device path, tcp:HOST:PORT, or
    // the built-in simulated modem.
    const std::string& targetDescription() const { return m_targetDescription; }

    // The user's --timeout if given, otherwise the step's own limit.
    Clock::duration limit(Seconds natural) const;

    // Runs the loop until `done` holds (true) or `limit` has passed (false).
    // Throws CliError when the device goes away, the channel reports a command
    // that got no answer, or the user interrupts.
    bool waitFor(const std::function<bool()>& done, Clock::duration limit);
    // As waitFor, but running out of time is a Timeout error about `what`.
    void waitOrFail(const std::function<bool()>& done, Clock::duration limit, const std::string& what);
    // Runs the loop for a while (reports keep arriving meanwhile).
    void pause(Seconds duration);
    // Runs the loop until `done` holds or `limit` has passed, whatever happens
    // meanwhile: for work that must finish even after an interrupt (a hang-up).
    bool runLoop(const std::function<bool()>& done, Clock::duration limit);

    boost::asio::io_context& io() { return m_io; }
    // The AT port the session opened: a device path or the built-in modem's
    // pty; empty over TCP.
    const std::string& portPath() const { return m_portPath; }
    // The modem port for data calls the session knows of: the built-in
    // modem's, or the one --device auto found; empty when none.
    std::string knownDataPort() const;
    bool usesBuiltInModem() const { return m_builtInModem != nullptr; }
    // Lets go of the AT port (for a data call on it) and opens it again.
    void releasePort();
    void reclaimPort();

    // Sends a request and returns the first result of its kind that arrives.
    // One value comes back as itself, several as a tuple.
    template <typename... Values>
    auto request(ResultTap<Values...>& tap, const std::function<void()>& send, const std::string& what,
                 Seconds natural)
    {
        std::optional<std::tuple<Values...>> result;
        Listening<Values...> listening(tap, [&result](const Values&... values) {
            if (!result)
                result.emplace(values...);
        });
        send();
        waitOrFail([&result] { return result.has_value(); }, limit(natural), what);
        if constexpr (sizeof...(Values) == 1)
            return std::get<0>(*result);
        else
            return *result;
    }

    // As request, for a read that changes nothing on the modem (+CSQ, +CREG?,
    // +CPIN?, +COPS?, ^DSTM?): when the channel reports the answer lost, the
    // read is sent again, up to kQueryAttempts times in all. Never for a PIN,
    // PUK or password, nor for anything that changes the modem's state.
    template <typename... Values>
    auto query(ResultTap<Values...>& tap, const std::function<void()>& send, const std::string& what,
               Seconds natural)
    {
        for (int attempt = 1;; ++attempt) {
            try {
                return request(tap, send, what, natural);
            } catch (const CliError& error) {
                if (!forgiveLostAnswer(error, attempt))
                    throw;
            }
        }
    }
    static constexpr int kQueryAttempts = 4;
    // After a query's answer was lost: true when it may be asked again (the
    // channel reported the loss and attempts are left), forgetting the loss.
    bool forgiveLostAnswer(const CliError& error, int attempt);

    // Whether an interrupt arrived; commands that run until interrupted
    // (monitor) stop cleanly on it instead of failing.
    bool interrupted() const { return m_interrupted; }

private:
    void openChannel(const SessionOptions& options, std::ostream& traceOut);
    // --device auto, and no device named at all: the first real modem port
    // that answers AT, if there is one.
    void findRealModem(SessionOptions& options);
    void checkChannel();
    void awaitInterrupt();
    void abortCommandInFlight();

    boost::asio::io_context m_io;
    boost::asio::signal_set m_signals;
    std::unique_ptr<UucpLock> m_lock;  // the device's UUCP lock, released after the channel
    std::unique_ptr<BuiltInModem> m_builtInModem;
    ModemResults m_results;
    std::unique_ptr<at::AtPhoneLine> m_line;
    std::unique_ptr<Assistors> m_assistors;
    std::string m_targetDescription;
    std::string m_portPath;
    std::string m_foundDataPort;     // --device auto's choice of data port
    std::string m_foundDescription;  // and what it found, for people
    std::optional<double> m_timeoutSeconds;
    bool m_interrupted = false;
    bool m_deviceLost = false;
    bool m_commandTimedOut = false;
    int m_lostAnswers = 0;         // answers the channel reported lost and a query asked again
    std::string m_channelProblem;  // the channel's description of what went wrong
};

}  // namespace cellctl::cli
