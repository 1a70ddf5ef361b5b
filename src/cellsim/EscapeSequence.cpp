#include <cellsim/EscapeSequence.h>

namespace cellsim {

EscapeSequence::EscapeSequence(Scheduler& scheduler, Data data, std::function<void()> escaped)
    : m_scheduler(scheduler),
      m_data(std::move(data)),
      m_escaped(std::move(escaped)),
      m_lastByte(scheduler.now())
{
}

void EscapeSequence::restart()
{
    m_pluses = 0;
    ++m_round;
    m_lastByte = m_scheduler.now();
}

void EscapeSequence::feed(const std::string& bytes)
{
    const auto now = m_scheduler.now();
    std::string out;
    for (char c : bytes) {
        if (m_pluses > 0 && (c != '+' || m_pluses == 3 || now - m_firstPlus > GuardTime)) {
            giveBack(out);
        }
        if (c == '+' && (m_pluses > 0 || now - m_lastByte >= GuardTime)) {
            if (++m_pluses == 1) {
                m_firstPlus = now;
                afterGuard(&EscapeSequence::checkSlowPluses);
            } else if (m_pluses == 3) {
                afterGuard(&EscapeSequence::checkEscape);
            }
        } else {
            out += c;
        }
        m_lastByte = now;
    }
    if (!out.empty()) {
        m_data(out);
    }
}

void EscapeSequence::giveBack(std::string& out)
{
    out.append(static_cast<std::size_t>(m_pluses), '+');
    m_pluses = 0;
    ++m_round;
}

// Runs `check` a guard time from now unless the held pluses change meanwhile.
void EscapeSequence::afterGuard(void (EscapeSequence::*check)())
{
    const auto round = m_round;
    m_scheduler.after(GuardTime, [this, round, check] {
        if (round == m_round) {
            (this->*check)();
        }
    });
}

// The pluses did not make three within the guard time: they are data.
void EscapeSequence::checkSlowPluses()
{
    if (m_pluses == 3) {
        return;
    }
    std::string out;
    giveBack(out);
    m_data(out);
}

// A guard time passed after the third plus without a byte: the escape.
void EscapeSequence::checkEscape()
{
    m_pluses = 0;
    ++m_round;
    m_escaped();
}

}  // namespace cellsim
