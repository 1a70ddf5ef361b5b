#include <cellsim/Scheduler.h>

#include <list>

#include <boost/asio/steady_timer.hpp>

namespace cellsim {

void ManualScheduler::after(std::chrono::milliseconds delay, Task task)
{
    if (delay.count() < 0) {
        delay = std::chrono::milliseconds(0);
    }
    m_tasks.emplace(std::make_pair(m_now + delay, m_sequence++), std::move(task));
}

void ManualScheduler::runFirst()
{
    auto first = m_tasks.begin();
    Task task = std::move(first->second);
    if (first->first.first > m_now) {
        m_now = first->first.first;
    }
    m_tasks.erase(first);
    task();
}

void ManualScheduler::advance(std::chrono::milliseconds step)
{
    const auto until = m_now + step;
    while (!m_tasks.empty() && m_tasks.begin()->first.first <= until) {
        runFirst();
    }
    m_now = until;
}

bool ManualScheduler::runAll(std::size_t limit)
{
    for (std::size_t ran = 0; !m_tasks.empty(); ++ran) {
        if (ran == limit) {
            return false;
        }
        runFirst();
    }
    return true;
}

// Timers live here until they fire or the scheduler goes away; a timer's
// handler holds only a weak reference, so it never touches a dead scheduler.
struct AsioScheduler::Pending {
    std::list<boost::asio::steady_timer> timers;
};

AsioScheduler::AsioScheduler(boost::asio::any_io_executor executor)
    : m_executor(std::move(executor)),
      m_pending(std::make_shared<Pending>())
{
}

AsioScheduler::~AsioScheduler()
{
    for (auto& timer : m_pending->timers) {
        timer.cancel();
    }
}

void AsioScheduler::after(std::chrono::milliseconds delay, Task task)
{
    auto& timers = m_pending->timers;
    timers.emplace_back(m_executor, delay);
    auto timer = std::prev(timers.end());
    std::weak_ptr<Pending> pending = m_pending;
    timer->async_wait([pending, timer, task = std::move(task)](const boost::system::error_code& error) {
        auto alive = pending.lock();
        if (!alive) {
            return;
        }
        alive->timers.erase(timer);
        if (!error) {
            task();
        }
    });
}

std::chrono::milliseconds AsioScheduler::now() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

}  // namespace cellsim
