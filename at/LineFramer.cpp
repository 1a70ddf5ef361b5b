#include <cellctl/at/LineFramer.h>

#include <utility>

namespace cellctl::at {

LineFramer::LineFramer(std::size_t maxLineLength, Sinks sinks)
    : m_maxLineLength(maxLineLength > 0 ? maxLineLength : 1), m_sinks(std::move(sinks))
{
}

void LineFramer::feed(const char* data, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) {
        char c = data[i];
        if (c == '\r' || c == '\n') {
            endLine();
        } else if (m_dropping) {
            ++m_dropped;
        } else if (m_line.size() >= m_maxLineLength) {
            startDropping();
        } else {
            m_line += c;
        }
    }
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
    std::string line;
    line.swap(m_line);
    if (m_sinks.line)
        m_sinks.line(line);
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
