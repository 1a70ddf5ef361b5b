#pragma once

#include <cellctl/framework/Signals.h>

namespace cellctl {

// One result kind of an assistor: the signal its host callbacks hang on and the
// handle of the callback connected last. connect() appends at the back, so
// callbacks run in the order they were connected; disconnect() removes only the
// latest one, and does nothing when that one is already gone.
template <typename... Args>
class ResultSignal {
public:
    template <typename Callback>
    void connect(Callback callback) { m_latest = m_signal.connect(std::move(callback)); }

    void disconnect()
    {
        if (m_latest.connected())
            m_latest.disconnect();
    }

    void fire(Args... values) { m_signal(values...); }

    std::size_t callbackCount() const { return m_signal.num_slots(); }

private:
    Signal<void(Args...)> m_signal;
    boost::signals::connection m_latest;
};

// A result kind whose callbacks stay connected for the life of the assistor:
// no handle is kept, so there is nothing to disconnect.
template <typename... Args>
class ConnectOnlyResultSignal {
public:
    template <typename Callback>
    void connect(Callback callback) { m_signal.connect(std::move(callback)); }

    void fire(Args... values) { m_signal(values...); }

    std::size_t callbackCount() const { return m_signal.num_slots(); }

private:
    Signal<void(Args...)> m_signal;
};

}  // namespace cellctl
