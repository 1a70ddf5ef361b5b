#pragma once

#include <chrono>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

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

inline Clock::duration toDuration(Seconds seconds) { return std::chrono::duration_cast<Clock::duration>(seconds); }

struct SessionOptions {
    std::string device;  // serial device or pty path
    std::string tcp;     // HOST:PORT
    unsigned baudRate = 115200;
    bool trace = false;                    // AT traffic on stderr, secrets masked
    std::optional<double> timeoutSeconds;  // limit for every step; unset: each step's own
    BuiltInModemOptions simulator;         // used when neither device nor tcp is given
    bool simulatorChosen = false;          // a --sim-* option was given: no search for a real modem
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
    // A modem still running a command of an earlier run that it does not
    // abort (a network scan) answers nothing until that command ends. Asks it
    // something harmless (+CSQ) until it answers anything, up to the --timeout or
    // limits::kEarlierCommand; `onBusy` runs once, with that limit in words
    // ("60 s"), when a first attempt goes unanswered. What went
    // unanswered meanwhile does not count as lost answers. Throws a Timeout
    // error when the modem stays silent.
    void awaitModem(const std::function<void(const std::string& limit)>& onBusy);
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

    // Every request below is a step: it waits until the modem has answered
    // every command it sent (the commands a step sends may be several), so
    // that an answer the channel reports lost belongs to the step that sent
    // it. Before sending, the answers still due to earlier commands nobody
    // waits for (registration polls) are awaited, and their losses forgiven.

    // Sends a request and returns the first result of its kind that arrives.
    // One value comes back as itself, several as a tuple. Never sent again: a
    // lost answer is a Timeout error naming the command.
    template <typename... Values>
    auto request(ResultTap<Values...>& tap, const std::function<void()>& send, const std::string& what, Seconds natural)
    {
        Step<Values...> step = exchange(tap, send, what, natural);
        if (step.lost != 0)
            throw lostAnswerError(what, step.firstLost, "not sent again");
        return step.value();
    }

    // As request, for a read that changes nothing on the modem (+CSQ, +CREG?,
    // +CPIN?, +COPS?, ^DSTM?): when an answer of the step was lost, the read is
    // sent again, up to kQueryAttempts times in all. Never for a PIN, PUK or
    // password, nor for anything that changes the modem's state.
    template <typename... Values>
    auto query(ResultTap<Values...>& tap, const std::function<void()>& send, const std::string& what, Seconds natural)
    {
        std::size_t firstLost = 0;  // the session's losses before the first attempt
        for (int attempt = 1;; ++attempt) {
            Step<Values...> step = exchange(tap, send, what, natural);
            firstLost = attempt == 1 ? step.firstLost : firstLost;
            if (step.lost == 0)
                return step.value();
            if (attempt == kQueryAttempts)
                throw lostAnswerError(what, firstLost, "asked " + std::to_string(attempt) + " times");
        }
    }
    static constexpr int kQueryAttempts = 4;

    // A change of the modem's state whose answer is the modem's verdict (the
    // first value: accepted or not): radio on, PDP context, attach, mode, PIN.
    // A lost answer reads as refused, so a refusal in a step that lost an
    // answer is checked by reading the state back with `tookEffect` (itself
    // a query); if the change did not take, it is sent again, up to
    // kChangeAttempts times in all, or with Resend::Never (a PIN, a PUK, a
    // password) not at all: a Timeout error then names the lost answers.
    // Returns whether the modem accepted the change.
    enum class Resend { IfNotTaken, Never };
    template <typename... Rest>
    bool change(ResultTap<bool, Rest...>& tap, const std::function<void()>& send, const std::string& what,
                Seconds natural, const std::function<bool()>& tookEffect, Resend resend = Resend::IfNotTaken)
    {
        std::size_t firstLost = 0;
        for (int attempt = 1;; ++attempt) {
            Step<bool, Rest...> step = exchange(tap, send, what, natural);
            firstLost = attempt == 1 ? step.firstLost : firstLost;
            bool accepted = std::get<0>(*step.result);
            if (accepted || step.lost == 0)
                return accepted;
            if (tookEffect())
                return true;
            if (resend == Resend::Never)
                throw lostAnswerError(what, firstLost, "the state read back shows it did not take: not sent again");
            if (attempt == kChangeAttempts)
                throw lostAnswerError(what, firstLost, "sent " + std::to_string(attempt) + " times");
        }
    }
    static constexpr int kChangeAttempts = 3;

    // A read the library does not make (+CGATT?, +CGDCONT?): the channel's
    // answer text to `code`, sent again as a query is when an answer is lost.
    std::string read(PhoneLine::QueryType code, const std::string& what, Seconds natural);

    // Sends, then waits until `done` holds and the modem has answered every
    // command; answers lost meanwhile are counted, not thrown. Returns how
    // many the step lost, and the session's count of lost answers before it.
    struct StepLosses {
        std::size_t lost = 0;
        std::size_t firstLost = 0;
    };
    StepLosses runStep(const std::function<void()>& send, const std::function<bool()>& done, const std::string& what,
                       Seconds natural);
    // A Timeout error about the answers lost since the session had lost
    // `firstLost`: what was being done, which commands (PINs masked), and
    // what became of them.
    CliError lostAnswerError(const std::string& what, std::size_t firstLost, const std::string& outcome) const;

    // Every answer the channel delivers, with its command code, as the
    // library gets it: for steps that tell a refusal from a busy device.
    ResultTap<int, std::string>& answers() { return m_answers; }

    // Whether an interrupt arrived; commands that run until interrupted
    // (monitor) stop cleanly on it instead of failing.
    bool interrupted() const { return m_interrupted; }

private:
    // The first result of a step, and the answers the step lost.
    template <typename... Values>
    struct Step : StepLosses {
        std::optional<std::tuple<Values...>> result;
        auto value() const
        {
            if constexpr (sizeof...(Values) == 1)
                return std::get<0>(*result);
            else
                return *result;
        }
    };
    template <typename... Values>
    Step<Values...> exchange(ResultTap<Values...>& tap, const std::function<void()>& send, const std::string& what,
                             Seconds natural)
    {
        Step<Values...> step;
        Listening<Values...> listening(tap, [&step](const Values&... values) {
            if (!step.result)
                step.result.emplace(values...);
        });
        StepLosses losses = runStep(
            send, [&step] { return step.result.has_value(); }, what, natural);
        static_cast<StepLosses&>(step) = losses;
        return step;
    }

    void openChannel(const SessionOptions& options, std::ostream& traceOut);
    // --device auto, and no device named at all: the first real modem port
    // that answers AT, if there is one.
    void findRealModem(SessionOptions& options);
    // Throws on an interrupt or a lost device; checkChannel also on a lost
    // answer nobody has taken.
    void checkDevice();
    void checkChannel();
    // Waits until the channel has answered every command sent before.
    void settleChannel();
    // The commands whose answers were lost from the `from`th loss on, each
    // once with its count: "AT+CSQ x2, AT+CREG?".
    std::string lostCommands(std::size_t from) const;
    // " (N answers lost in this session)", or empty when none was.
    std::string sessionLosses() const;
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
    std::vector<std::string> m_lost;  // commands whose answers the channel reported lost
    ResultTap<int, std::string> m_answers;
    std::string m_channelProblem;  // the channel's description of what went wrong
};

}  // namespace cellctl::cli
