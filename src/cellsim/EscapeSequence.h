#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include <cellsim/Scheduler.h>

namespace cellsim {

// Watches the host's bytes in data mode for the escape of ITU-T V.250: a
// guard time without bytes, exactly "+++" within one guard time, then a guard
// time without bytes again. The '+' are held back until that is decided;
// whatever turns out to be data is passed on in order, unchanged.
class EscapeSequence {
public:
    static constexpr std::chrono::milliseconds GuardTime{1000};

    using Data = std::function<void(const std::string&)>;

    EscapeSequence(Scheduler& scheduler, Data data, std::function<void()> escaped);

    void feed(const std::string& bytes);
    // Data mode (re)starts: the guard before an escape counts from now.
    void restart();

private:
    void giveBack(std::string& out);
    void afterGuard(void (EscapeSequence::*check)());
    void checkSlowPluses();
    void checkEscape();

    ScopedScheduler m_scheduler;
    Data m_data;
    std::function<void()> m_escaped;
    std::chrono::milliseconds m_lastByte{0};
    std::chrono::milliseconds m_firstPlus{0};
    int m_pluses = 0;           // '+' held back
    std::uint64_t m_round = 0;  // a check applies only to the pluses it was set for
};

}  // namespace cellsim
