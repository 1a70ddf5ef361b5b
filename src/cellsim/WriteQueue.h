#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include <boost/asio/buffer.hpp>
#include <boost/asio/write.hpp>

namespace cellsim {

// Writes byte strings to a stream in the order given, one write at a time.
// Bytes the other side does not read pile up only to a limit; past it, they
// are dropped as a full line buffer would drop them. Belongs to the owner of
// the stream: its handlers do nothing once the owner's `alive` token is gone.
template <typename Stream>
class WriteQueue {
public:
    static constexpr std::size_t MaxQueuedBytes = 1 << 20;

    // `failed` runs when a write fails; the bytes still queued stay unsent.
    WriteQueue(Stream& stream, std::weak_ptr<char> alive, std::function<void()> failed)
        : m_stream(stream),
          m_alive(std::move(alive)),
          m_failed(std::move(failed))
    {
    }
    WriteQueue(const WriteQueue&) = delete;
    WriteQueue& operator=(const WriteQueue&) = delete;

    void send(const std::string& bytes)
    {
        if (bytes.empty() || m_queuedBytes + bytes.size() > MaxQueuedBytes) {
            return;
        }
        m_queue.push_back(bytes);
        m_queuedBytes += bytes.size();
        if (m_queue.size() == 1) {
            writeFront();
        }
    }

private:
    void writeFront()
    {
        boost::asio::async_write(m_stream, boost::asio::buffer(m_queue.front()),
                                 [this, alive = m_alive](const boost::system::error_code& error, std::size_t) {
                                     if (alive.expired()) {
                                         return;
                                     }
                                     m_queuedBytes -= m_queue.front().size();
                                     m_queue.pop_front();
                                     if (error) {
                                         m_failed();
                                     } else if (!m_queue.empty()) {
                                         writeFront();
                                     }
                                 });
    }

    Stream& m_stream;
    std::weak_ptr<char> m_alive;
    std::function<void()> m_failed;
    std::deque<std::string> m_queue;
    std::size_t m_queuedBytes = 0;
};

}  // namespace cellsim
