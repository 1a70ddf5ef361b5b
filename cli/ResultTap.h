#pragma once

#include <functional>
#include <map>

namespace cellctl::cli {

// One kind of result from the library, as cellctl listens to it. The session
// connects each tap to its assistor callback once, at start-up; commands then
// add and remove listeners as they go (an assistor keeps the handle of its
// latest callback only, so per-request connect/disconnect there would not do).
template <typename... Values>
class ResultTap {
public:
    using Listener = std::function<void(const Values&...)>;

    int listen(Listener listener)
    {
        int id = m_nextId++;
        m_listeners.emplace(id, std::move(listener));
        return id;
    }

    void unlisten(int id) { m_listeners.erase(id); }

    // What the assistor callback calls. Listeners may add or remove listeners.
    void deliver(const Values&... values)
    {
        std::map<int, Listener> current = m_listeners;
        for (auto& entry : current) {
            if (m_listeners.count(entry.first) != 0)
                entry.second(values...);
        }
    }

private:
    std::map<int, Listener> m_listeners;
    int m_nextId = 1;
};

// Listens for as long as it lives.
template <typename... Values>
class Listening {
public:
    Listening(ResultTap<Values...>& tap, typename ResultTap<Values...>::Listener listener)
        : m_tap(tap),
          m_id(tap.listen(std::move(listener)))
    {
    }
    ~Listening() { m_tap.unlisten(m_id); }
    Listening(const Listening&) = delete;
    Listening& operator=(const Listening&) = delete;

private:
    ResultTap<Values...>& m_tap;
    int m_id;
};

}  // namespace cellctl::cli
