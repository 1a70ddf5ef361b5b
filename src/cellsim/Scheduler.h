#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>

#include <boost/asio/any_io_executor.hpp>

namespace cellsim {

// Runs tasks after a delay. The modem uses it for everything that takes time
// (registration, scans, latency, split writes), so tests can drive time by hand.
class Scheduler {
public:
    using Task = std::function<void()>;
    virtual ~Scheduler() = default;
    virtual void after(std::chrono::milliseconds delay, Task task) = 0;
    // The scheduler's clock, for measuring pauses (only differences count).
    virtual std::chrono::milliseconds now() const = 0;
};

// Time moves only when the test says so. Tasks due at the same moment run in
// the order they were scheduled.
class ManualScheduler : public Scheduler {
public:
    void after(std::chrono::milliseconds delay, Task task) override;

    // Moves the clock forward, running every task that falls due (including
    // tasks scheduled by those tasks within the window).
    void advance(std::chrono::milliseconds step);
    // Runs tasks until none is left; returns false if it gave up after
    // `limit` tasks (something keeps rescheduling itself).
    bool runAll(std::size_t limit = 100000);
    std::size_t pending() const { return m_tasks.size(); }
    std::chrono::milliseconds now() const override { return m_now; }

private:
    void runFirst();

    std::chrono::milliseconds m_now{0};
    std::uint64_t m_sequence = 0;
    std::map<std::pair<std::chrono::milliseconds, std::uint64_t>, Task> m_tasks;
};

// Hands tasks on to another scheduler and drops those still pending when it
// is destroyed, so a task never runs for an object that is gone.
class ScopedScheduler : public Scheduler {
public:
    explicit ScopedScheduler(Scheduler& inner) : m_inner(inner), m_token(std::make_shared<char>()) {}
    ScopedScheduler(const ScopedScheduler&) = delete;
    ScopedScheduler& operator=(const ScopedScheduler&) = delete;

    void after(std::chrono::milliseconds delay, Task task) override
    {
        std::weak_ptr<char> token = m_token;
        m_inner.after(delay, [token, task = std::move(task)] {
            if (token.lock()) {
                task();
            }
        });
    }
    std::chrono::milliseconds now() const override { return m_inner.now(); }

private:
    Scheduler& m_inner;
    std::shared_ptr<char> m_token;
};

// Real time on an io_context. Destroying it cancels every pending task.
class AsioScheduler : public Scheduler {
public:
    explicit AsioScheduler(boost::asio::any_io_executor executor);
    ~AsioScheduler() override;
    AsioScheduler(const AsioScheduler&) = delete;
    AsioScheduler& operator=(const AsioScheduler&) = delete;

    void after(std::chrono::milliseconds delay, Task task) override;
    std::chrono::milliseconds now() const override;

private:
    struct Pending;
    boost::asio::any_io_executor m_executor;
    std::shared_ptr<Pending> m_pending;
};

}  // namespace cellsim
