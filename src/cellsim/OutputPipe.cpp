#include <cellsim/OutputPipe.h>

#include <algorithm>

namespace cellsim {

void OutputPipe::write(const std::string& bytes)
{
    if (bytes.empty()) {
        return;
    }
    if (!m_split && !m_sending) {
        if (m_sink) {
            m_sink(bytes);
        }
        return;
    }
    m_queue += bytes;
    if (!m_sending) {
        sendPiece();
    }
}

void OutputPipe::sendPiece()
{
    if (m_queue.empty()) {
        m_sending = false;
        return;
    }
    m_sending = true;
    std::size_t size = m_queue.size();
    if (m_split) {
        size = std::min<std::size_t>(size, std::uniform_int_distribution<std::size_t>(1, 4)(m_random));
    }
    const std::string piece = m_queue.substr(0, size);
    m_queue.erase(0, size);
    if (m_sink) {
        m_sink(piece);
    }
    m_scheduler.after(std::chrono::milliseconds(1), [this] { sendPiece(); });
}

}  // namespace cellsim
