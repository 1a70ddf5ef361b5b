#include <cellctl/at/Channel.h>

#include <cerrno>
#include <system_error>
#include <utility>

#include <boost/asio/post.hpp>

namespace cellctl::at {

Channel::Channel(boost::asio::io_context& io, const AtPhoneLineOptions& options, PhoneLine& owner)
    : m_options(options),
      m_strand(boost::asio::make_strand(io)),
      m_timer(m_strand),
      m_owner(&owner),
      m_framer(
          options.maxLineLength,
          LineFramer::Sinks{[this](const std::string& line) {
                                // Lines read before a callback closed the line are not served.
                                if (m_feedGeneration == m_transportGeneration)
                                    m_queue.onLine(line);
                            },
                            [this](std::size_t dropped, bool ended) {
                                m_queue.note(ended ? "dropped an overlong line of " + std::to_string(dropped) + " bytes"
                                                   : "line longer than " + std::to_string(m_options.maxLineLength) +
                                                         " bytes, dropping it");
                            }}),
      m_queue(queueHooks(), options)
{
    // The queue's trace hook always exists; lines are formatted only once the
    // host sets a trace callback.
    m_queue.setTracing(false);
}

CommandQueue::Hooks Channel::queueHooks()
{
    CommandQueue::Hooks hooks;
    hooks.write = [this](const std::string& line) { write(line); };
    hooks.startTimer = [this](std::chrono::milliseconds timeout) { startTimer(timeout); };
    hooks.stopTimer = [this] { m_deadline.reset(); };
    hooks.trace = [this](const std::string& line) { trace(line); };
    hooks.answer = [this](const Request& request, const std::string& text) { deliverAnswer(request, text); };
    hooks.withheld = [this](const Request&) { --m_pending; };
    hooks.report = [this](int code, const std::string& text) { deliverReport(code, text); };
    hooks.status = [this](ChannelEvent event, const std::string& text) {
        if (m_owner != nullptr)
            m_status(event, text);
    };
    return hooks;
}

void Channel::open(const std::string& target)
{
    close();
    m_queue.forgetSession();
    openTransport(target, ChannelEvent::Opened);
}

void Channel::reopen()
{
    if (m_target.empty())
        throw std::system_error(EINVAL, std::generic_category(), "nothing to reopen: the line was never opened");
    close();
    openTransport(m_target, ChannelEvent::Reopened);
}

void Channel::close()
{
    bool wasOpen = m_queue.isOpen();
    closeTransport();
    if (wasOpen)
        m_queue.shutDown(ChannelEvent::Closed, m_target);
}

void Channel::detach()
{
    m_owner = nullptr;
    m_trace = nullptr;
    m_queue.setTracing(false);
    closeTransport();
    m_status.disconnect_all_slots();
}

void Channel::post(Request request)
{
    ++m_pending;
    // A callback of this line asking again (the host's usual next step): the
    // queue is delivering its outbox on this thread, so it takes the request
    // now and any answer to it follows once the callback has returned. No
    // answer is delivered inside the call, and no trip through the scheduler
    // is needed.
    // Only while the device is open: a command asked for from the answers of
    // a lost device waits its turn behind the host's reaction (a reopen).
    if (m_strand.running_in_this_thread() && m_queue.isDelivering() && m_owner != nullptr && isOpen()) {
        m_queue.submit(std::move(request));
        return;
    }
    boost::asio::post(m_strand, [self = shared_from_this(), request = std::move(request)]() mutable {
        if (self->m_owner == nullptr)
            return;
        self->m_queue.submit(std::move(request));
    });
}

boost::signals2::connection Channel::connectStatus(ChannelStatusCallback callback)
{
    return m_status.connect(std::move(callback));
}

void Channel::openTransport(const std::string& target, ChannelEvent event)
{
    m_transport = cellctl::at::openTransport(m_strand, target, m_options);
    ++m_transportGeneration;
    m_target = target;
    m_framer.reset();
    m_queue.open(event, target);
    startReading();
}

void Channel::closeTransport()
{
    cancelTimer();
    if (m_transport) {
        m_transport->close();
        m_transport.reset();
    }
    ++m_transportGeneration;
    m_writeBuffer.clear();
    m_writeQueued.clear();
    m_writing = false;
}

void Channel::startReading()
{
    if (m_transport)
        m_transport->asyncReadSome(boost::asio::buffer(m_readBuffer), shared_from_this(), m_transportGeneration);
}

void Channel::onRead(const boost::system::error_code& error, std::size_t size, std::uint64_t generation)
{
    if (generation != m_transportGeneration)
        return;
    if (error) {
        deviceLost(error.message());
        return;
    }
    m_feedGeneration = generation;
    m_framer.feed(m_readBuffer.data(), size);
    if (generation == m_transportGeneration)
        startReading();
}

void Channel::write(const std::string& line)
{
    if (!m_transport)
        return;
    if (m_writing) {
        m_writeQueued.append(line).push_back('\r');
        return;
    }
    m_writeBuffer.assign(line).push_back('\r');
    boost::system::error_code error;
    std::size_t written = m_transport->writeNow(boost::asio::buffer(m_writeBuffer), error);
    if (error) {
        loseDeviceLater(error.message());
        return;
    }
    if (written < m_writeBuffer.size()) {
        m_writeBuffer.erase(0, written);
        writeRest();
    }
}

// The device did not take all of m_writeBuffer at once: the rest goes out as
// it drains, and lines written meanwhile wait in m_writeQueued.
void Channel::writeRest()
{
    m_writing = true;
    m_transport->asyncWrite(boost::asio::buffer(m_writeBuffer),
                            [self = shared_from_this(), generation = m_transportGeneration](
                                const boost::system::error_code& error, std::size_t) {
                                if (generation != self->m_transportGeneration)
                                    return;
                                if (error) {
                                    self->deviceLost(error.message());
                                    return;
                                }
                                self->m_writing = false;
                                self->m_writeBuffer.clear();
                                if (self->m_writeQueued.empty())
                                    return;
                                self->m_writeBuffer.swap(self->m_writeQueued);
                                self->writeRest();
                            });
}

// A write failed inside the queue's own work: the device is given up once
// that work is done, not in the middle of it.
void Channel::loseDeviceLater(const std::string& why)
{
    boost::asio::post(m_strand, [self = shared_from_this(), generation = m_transportGeneration, why] {
        if (generation == self->m_transportGeneration)
            self->deviceLost(why);
    });
}

void Channel::deviceLost(const std::string& why)
{
    closeTransport();
    m_queue.note("device lost: " + why);
    m_queue.shutDown(ChannelEvent::DeviceLost, why);
}

void Channel::startTimer(std::chrono::milliseconds timeout)
{
    Clock::time_point deadline = Clock::now() + timeout;
    m_deadline = deadline;
    if (!m_armedFor || *m_armedFor > deadline)
        armTimer(deadline);
}

void Channel::armTimer(Clock::time_point expiry)
{
    std::uint64_t generation = ++m_timerGeneration;
    m_armedFor = expiry;
    m_timer.expires_at(expiry);
    m_timer.async_wait([self = shared_from_this(), generation](const boost::system::error_code& error) {
        if (!error && generation == self->m_timerGeneration)
            self->onTimer();
    });
}

void Channel::onTimer()
{
    m_armedFor.reset();
    if (!m_deadline)
        return;
    if (Clock::now() < *m_deadline) {
        armTimer(*m_deadline);
        return;
    }
    m_deadline.reset();
    m_queue.onTimeout();
}

// The timer is left armed between commands (stopping it is forgetting the
// deadline); closing the line stops it for good.
void Channel::cancelTimer()
{
    m_deadline.reset();
    if (m_armedFor) {
        ++m_timerGeneration;
        m_armedFor.reset();
        m_timer.cancel();
    }
}

void Channel::trace(const std::string& line)
{
    if (m_trace)
        m_trace(line);
}

void Channel::deliverAnswer(const Request& request, const std::string& text)
{
    --m_pending;
    if (m_owner == nullptr)
        return;
    auto code = static_cast<PhoneLine::QueryType>(request.code);
    if (request.kind == RequestKind::Query)
        m_owner->deliverQueryResult(code, text);
    else
        m_owner->deliverModifyResult(code, text);
}

void Channel::deliverReport(int code, const std::string& text)
{
    if (m_owner != nullptr)
        m_owner->deliverModifyResult(static_cast<PhoneLine::QueryType>(code), text);
}

}  // namespace cellctl::at
