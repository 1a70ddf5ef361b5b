#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>

#include <cellctl/at/AtChannelTypes.h>
#include <cellctl/at/CommandQueue.h>
#include <cellctl/at/LineFramer.h>
#include <cellctl/at/Transport.h>
#include <cellctl/framework/PhoneLine.h>
#include <cellctl/framework/Signals.h>

namespace cellctl::at {

// The I/O side of an AtPhoneLine, on the line's strand: the transport, the
// read loop feeding the framer and the command queue, the writes, the command
// timer, and the delivery of answers to the PhoneLine signals.
// Asynchronous operations hold the Channel alive; when its AtPhoneLine goes,
// detach() makes it deliver nothing more.
//
// The steady state of one command costs one write, one wait and one read:
// a command line goes out with a non-blocking write when the device takes it
// at once (as it nearly always does), a request made from a callback of this
// line goes straight to the queue, and the command timer is re-armed only
// when a deadline comes nearer than the armed one.
class Channel : public std::enable_shared_from_this<Channel>, public Transport::Reader {
public:
    using Executor = ChannelExecutor;

    Channel(boost::asio::io_context& io, const AtPhoneLineOptions& options, PhoneLine& owner);

    void open(const std::string& target);
    void reopen();
    void close();
    void detach();
    bool isOpen() const { return m_transport != nullptr; }
    void abortCommand(std::chrono::milliseconds grace) { m_queue.abortInFlight(grace); }

    // From any thread: the request runs on the strand.
    void post(Request request);
    std::size_t pendingCommands() const { return m_pending.load(); }

    boost::signals2::connection connectStatus(ChannelStatusCallback callback);
    void setTrace(ChannelTraceCallback callback)
    {
        m_trace = std::move(callback);
        m_queue.setTracing(static_cast<bool>(m_trace));
    }
    Executor executor() const { return m_strand; }

    void onRead(const boost::system::error_code& error, std::size_t size, std::uint64_t generation) override;

private:
    using Clock = std::chrono::steady_clock;

    void openTransport(const std::string& target, ChannelEvent event);
    void closeTransport();
    void startReading();
    void write(const std::string& line);
    void writeRest();
    void loseDeviceLater(const std::string& why);
    void deviceLost(const std::string& why);
    void startTimer(std::chrono::milliseconds timeout);
    void armTimer(Clock::time_point expiry);
    void onTimer();
    void cancelTimer();
    void trace(const std::string& line);
    void deliverAnswer(const Request& request, const std::string& text);
    void deliverReport(int code, const std::string& text);
    CommandQueue::Hooks queueHooks();

    AtPhoneLineOptions m_options;
    Executor m_strand;
    boost::asio::steady_timer m_timer;
    PhoneLine* m_owner;
    std::unique_ptr<Transport> m_transport;
    std::uint64_t m_transportGeneration = 0;
    std::uint64_t m_feedGeneration = 0;
    std::string m_target;
    std::array<char, 4096> m_readBuffer{};
    // Bytes the device has not taken yet, and lines written while they go out.
    std::string m_writeBuffer;
    std::string m_writeQueued;
    bool m_writing = false;
    // The deadline of the command on the wire, and what the timer is armed
    // for: a timer that fires before the deadline is armed again for it.
    std::optional<Clock::time_point> m_deadline;
    std::optional<Clock::time_point> m_armedFor;
    std::uint64_t m_timerGeneration = 0;
    LineFramer m_framer;
    CommandQueue m_queue;
    cellctl::Signal<void(ChannelEvent, const std::string&)> m_status;
    ChannelTraceCallback m_trace;
    std::atomic<std::size_t> m_pending{0};
};

}  // namespace cellctl::at
