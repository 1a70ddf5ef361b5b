#pragma once

#include <functional>
#include <random>
#include <string>

#include <cellsim/Scheduler.h>

namespace cellsim {

// Carries the modem's output to its sink in order. With split writes on, the
// bytes leave in pieces of 1 to 4 bytes, 1 ms apart, as a slow or chatty
// line delivers them.
class OutputPipe {
public:
    using Sink = std::function<void(const std::string&)>;

    OutputPipe(Scheduler& scheduler, std::mt19937& random) : m_scheduler(scheduler), m_random(random) {}

    void setSink(Sink sink) { m_sink = std::move(sink); }
    void setSplitWrites(bool split) { m_split = split; }
    void write(const std::string& bytes);

private:
    void sendPiece();

    Scheduler& m_scheduler;
    std::mt19937& m_random;
    Sink m_sink;
    bool m_split = false;
    bool m_sending = false;  // a piece is on its way; later bytes wait behind it
    std::string m_queue;
};

}  // namespace cellsim
