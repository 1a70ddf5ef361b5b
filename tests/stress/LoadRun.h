#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <boost/asio/io_context.hpp>

#include <cellctl/at/AtPhoneLine.h>

namespace cellctl::stress {

// One command of the load cycle and what a fresh cellsim (radio off, SIM
// ready) answers to it, shaped as the channel delivers it.
struct LoadStep {
    bool query;
    int code;
    std::string text;  // modify text
    std::string answer;
    std::string report;  // the mode report that follows the answer, if any
};

// The cycle: signal, mode switch (report "2"), power state, mode switch
// (report "0"), SIM type, remaining attempts, revision, PIN status. Two
// routed reports per eight commands, on top of whatever cellsim adds.
const std::vector<LoadStep>& loadCycle();

struct LoadOptions {
    std::vector<LoadStep> cycle = loadCycle();
    std::uint64_t commands = 20000;
    // Commands queued in the channel at once: the queue never runs dry.
    std::size_t window = 16;
    std::chrono::seconds timeLimit{600};
    // A well-behaved device: every answer exact, every mode report right
    // after its switch. Otherwise an answer may also be "ERROR" (a timeout, a
    // lost device) and reports are only checked for their values.
    bool strict = true;
};

struct LoadCounts {
    std::uint64_t sent = 0;
    std::uint64_t answered = 0;    // answers on the right signal, to the oldest open command
    std::uint64_t exact = 0;       // ... with exactly the expected text
    std::uint64_t failed = 0;      // ... with "ERROR" (allowed when not strict)
    std::uint64_t misrouted = 0;   // answers to another command than the oldest open one, or with a foreign text
    std::uint64_t extra = 0;       // answers while no command was open
    std::uint64_t reports = 0;     // mode reports delivered
    std::uint64_t badReports = 0;  // reports with a wrong value, or where none was due
    std::uint64_t timeouts = 0;    // channel events
    std::uint64_t devicesLost = 0;
    std::uint64_t reopened = 0;
    bool finished = false;  // every command answered within the time limit
    double seconds = 0;
    std::size_t rssStartKib = 0;  // after the first 1% (at least 1,000) of the answers
    std::size_t rssEndKib = 0;
    std::size_t rssPeakKib = 0;

    // Mode reports still due in strict mode.
    std::uint64_t reportsMissing = 0;

    // Commands that never got an answer.
    std::uint64_t lost() const { return sent - answered - misrouted; }
    // Everything a well-behaved run shows: all answered, exactly, in order.
    bool perfect() const
    {
        return finished && exact == sent && misrouted == 0 && extra == 0 && badReports == 0 && reportsMissing == 0;
    }
};

// Drives `line` with the load cycle until `commands` are answered or the time
// runs out, running `io` on the calling thread, and counts what comes back.
// Every command must get exactly one answer, in order.
class LoadRun {
public:
    LoadRun(boost::asio::io_context& io, at::AtPhoneLine& line, LoadOptions options);
    ~LoadRun();
    LoadRun(const LoadRun&) = delete;
    LoadRun& operator=(const LoadRun&) = delete;

    // Called on the io thread after each answer, with the number answered so
    // far: where a test injects its faults.
    std::function<void(std::uint64_t answered)> afterAnswer;
    // Called on the io thread for each channel event, after it is counted.
    std::function<void(at::ChannelEvent)> onEvent;

    LoadCounts run();

private:
    struct Open {
        std::size_t step;
    };

    void submitMore();
    void onAnswer(bool query, int code, const std::string& text);
    void onReport(const std::string& text);
    void sampleMemory();

    boost::asio::io_context& m_io;
    at::AtPhoneLine& m_line;
    LoadOptions m_options;
    LoadCounts m_counts;
    std::deque<Open> m_open;
    std::deque<std::string> m_reportsDue;
    boost::signals2::connection m_queryConnection;
    boost::signals2::connection m_modifyConnection;
    boost::signals2::connection m_statusConnection;
};

// One line summing the counts up, for logs and failure messages.
std::string describe(const LoadCounts& counts);

}  // namespace cellctl::stress
