#include <cellctl/at/LineFramer.h>

#include <utility>

namespace cellctl::at {

LineFramer::LineFramer(std::size_t maxLineLength, Sinks sinks)
    : m_maxLineLength(maxLineLength > 0 ? maxLineLength : 1),
      m_sinks(std::move(sinks))
{
}

void LineFramer::feed(const char* data, std::size_t size)
{
    const char* end = data + size;
    while (data < end) {
        const char* stop = data;
        while (stop < end && *stop != '\r' && *stop != '\n')
            ++stop;
        if (stop != data)
            take(data, static_cast<std::size_t>(stop - data));
        if (stop == end)
            break;
        endLine();
        data = stop + 1;
    }
}

// Bytes of a line, whole runs at a time: kept up to the limit, counted once
// the line is being dropped.
void LineFramer::take(const char* bytes, std::size_t count)
{
    if (m_dropping) {
        m_dropped += count;
        return;
    }
    std::size_t room = m_maxLineLength - m_line.size();
    if (count <= room) {
        m_line.append(bytes, count);
        return;
    }
    m_line.append(bytes, room);
    startDropping();
    m_dropped += count - room - 1;
}

void LineFramer::reset()
{
    std::string().swap(m_line);
    m_dropping = false;
    m_dropped = 0;
}

void LineFramer::endLine()
{
    if (m_dropping) {
        std::size_t dropped = m_dropped;
        reset();
        if (m_sinks.overlong)
            m_sinks.overlong(dropped, true);
        return;
    }
    if (m_line.empty())
        return;
    // The line goes out of m_line before it is handed on, so a sink that
    // resets the framer cannot pull it away; the two strings swap rooms.
    m_delivered.swap(m_line);
    m_line.clear();
    if (m_sinks.line)
        m_sinks.line(m_delivered);
}

void LineFramer::startDropping()
{
    m_dropped = m_line.size() + 1;
    std::string().swap(m_line);
    m_dropping = true;
    if (m_sinks.overlong)
        m_sinks.overlong(m_dropped, false);
}

}  // namespace cellctl::at
