#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <cellctl/at/AnswerShaping.h>
#include <cellctl/at/AtChannelTypes.h>
#include <cellctl/at/CommandLine.h>

namespace cellctl::at {

// The heart of the channel, free of I/O: one command on the wire at a time,
// FIFO, each with its timeout; every line the device sends is either part of
// the answer in flight, a report, or dropped (and traced). Every request gets
// exactly one answer, in order: a command that is refused, times out, or is
// pending when the device goes away is answered "ERROR".
//
// After a timeout the device may still answer the old command, so before the
// next command goes out the queue sends "AT" and drops lines until the final
// results of everything outstanding are in. If the probe meets silence while
// other answers did arrive, the missing ones were lost and the line is in step
// again; if it meets silence altogether, the next waiting command is answered
// ERROR unsent and the probe is repeated for the one after it.
//
// Answers, reports and status events are delivered in the order they arose,
// after the queue's state is settled, so a callback may call back into the
// queue (close it, open it again) safely.
class CommandQueue {
public:
    struct Hooks {
        std::function<void(const std::string& line)> write;  // without CR
        std::function<void(std::chrono::milliseconds)> startTimer;
        std::function<void()> stopTimer;
        std::function<void(const std::string&)> trace;
        std::function<void(const Request&, const std::string&)> answer;
        // The device answered, but with no value the library could read (see
        // shapeAnswer): the request is settled and nothing is delivered.
        // Without this hook such an answer goes to `answer` as it came.
        std::function<void(const Request&)> withheld;
        std::function<void(int code, const std::string&)> report;
        std::function<void(ChannelEvent, const std::string&)> status;
    };

    CommandQueue(Hooks hooks, const AtPhoneLineOptions& options);

    // The device is ready: switch echo off, then serve the queue.
    void open(ChannelEvent event, const std::string& description);
    // The device is gone or closed: everything pending is answered ERROR, and
    // so is every request until the next open().
    void shutDown(ChannelEvent event, const std::string& description);
    bool isOpen() const { return m_phase != Phase::Closed; }
    // Forgets what the device was told (the character set).
    void forgetSession() { m_session = SessionState(); }

    void submit(Request request);
    void onLine(const std::string& line);
    // The timer started by the last startTimer() expired.
    void onTimeout();
    // Aborts the command on the wire the V.250 way: a lone CR reaches the
    // device, which ends an abortable command (a network scan) with its
    // final result at once. The command completes with the final result
    // that comes; without one within `grace` it times out as usual.
    void abortInFlight(std::chrono::milliseconds grace);
    // Notes something in the trace ("! " lines).
    void note(const std::string& text);
    // Trace lines are only formatted while someone reads them. A queue traces
    // when it is given a trace hook; its owner switches tracing off and on.
    void setTracing(bool on) { m_tracing = on; }
    // True while answers, reports and status events are being handed out: a
    // request submitted now is answered only after the current one returns.
    bool isDelivering() const { return m_flushing; }

private:
    enum class Phase { Closed, Idle, Busy, Resyncing };

    struct InFlight {
        Request request;
        PreparedCommand prepared;
        RawAnswer answer;
        std::size_t answerBytes = 0;
        bool awaitingFinalGrace = false;  // the timer runs the final-result grace
        bool aborted = false;             // the abort was sent; the timer runs its grace
    };

    struct Outgoing {
        enum class Type { Answer, Withheld, Report, Status };
        Type type;
        Request request;
        std::string text;
        ChannelEvent event = ChannelEvent::Opened;
    };

    void pump();
    void send(Request request);
    void startResync();
    void endResync();
    void handleInFlight(const std::string& line);
    void handleAnswerLine(const std::string& line);
    void handleDuringResync(const std::string& line);
    void handleUnsolicited(const std::string& line);
    bool routeReport(const std::string& line);
    void collect(const std::string& line);
    void complete(const std::string& finalResult);
    void answer(const Request& request, std::string text);
    void recycleLines(std::vector<std::string>& lines);
    void withhold(const Request& request, const RawAnswer& raw);
    void announce(ChannelEvent event, const std::string& description);
    void writeLine(const std::string& line);
    void drop(const std::string& why);
    void flush();
    void deliver(const Outgoing& outgoing);
    std::chrono::milliseconds scaled(std::chrono::milliseconds timeout) const;

    Hooks m_hooks;
    double m_timeoutScale;
    std::size_t m_maxAnswerBytes;
    Phase m_phase = Phase::Closed;
    std::deque<Request> m_waiting;
    std::optional<InFlight> m_inFlight;
    SessionState m_session;
    bool m_needsResync = false;
    unsigned m_outstandingFinals = 0;  // written lines whose final result is still due
    unsigned m_finalsDuringResync = 0;
    std::vector<Outgoing> m_outbox;
    std::vector<std::string> m_spareLines;
    bool m_flushing = false;
    bool m_tracing = false;
};

}  // namespace cellctl::at
