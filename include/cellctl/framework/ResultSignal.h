#pragma once

#include <cellctl/framework/Signals.h>

namespace cellctl {

// One result kind of an assistor: the signal its host callbacks hang on and the
// handle of the callback connected last. connect() appends at the back, so
// callbacks run in the order they were connected; disconnect() removes only the
// latest one, and does nothing when that one is already gone.
//
// An empty callback is not connected: calling it would throw
// bad_function_call out of the answer delivery.
template <typename... Args>
class ResultSignal {
public:
    using Callback = boost::function<void(Args...)>;

    void connect(const Callback& callback)
    {
        if (!callback.empty())
            m_latest = m_signal.connect(callback);
    }

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
    using Callback = boost::function<void(Args...)>;

    void connect(const Callback& callback)
    {
        if (!callback.empty())
            m_signal.connect(callback);
    }

    void fire(Args... values) { m_signal(values...); }

    std::size_t callbackCount() const { return m_signal.num_slots(); }

private:
    Signal<void(Args...)> m_signal;
};

}  // namespace cellctl
