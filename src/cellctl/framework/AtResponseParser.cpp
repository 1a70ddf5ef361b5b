#include <cellctl/framework/AtResponseParser.h>

#include <cstdint>
#include <utility>

#include <cellctl/text/Numbers.h>
#include <cellctl/text/Quoting.h>

namespace cellctl {
namespace {
bool isDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

AtResponseParser::AtResponseParser(const AtResponse& response)
    : m_answer(response.text),
      m_position(0),
      m_linePosition(0)
{
}

AtResponseParser::AtResponseParser(AtResponse&& response)
    : m_answer(std::move(response.text)),
      m_position(0),
      m_linePosition(0)
{
}

AtResponseParser::AtResponseParser(const std::string& text) : m_answer(text), m_position(0), m_linePosition(0)
{
    const std::size_t colon = text.find(':');
    findLine(colon == std::string::npos ? text : text.substr(0, colon + 1));
}

bool AtResponseParser::findLine(const std::string& prefix)
{
    if (m_position >= m_answer.size())
        return false;
    do {
        m_linePosition = 0;
        const std::size_t end = m_answer.find('\n', m_position);
        m_lineStart = m_position;
        if (end == std::string::npos) {
            m_lineLength = m_answer.size() - m_position;
            m_position = static_cast<unsigned>(m_answer.size());
        } else {
            m_lineLength = end - m_position;
            m_position = static_cast<unsigned>(end + 1);
        }
        const std::string_view line = currentLineView();
        if (line.substr(0, prefix.size()) == prefix) {
            std::size_t start = prefix.size();
            while (start < line.size() && line[start] == ' ')
                ++start;
            m_lineStart += start;
            m_lineLength -= start;
            return true;
        }
    } while (m_position < m_answer.size());
    return false;
}

std::string AtResponseParser::currentLine() const { return std::string(currentLineView()); }

std::string_view AtResponseParser::currentLineView() const
{
    return std::string_view(m_answer).substr(m_lineStart, m_lineLength);
}

void AtResponseParser::skipCommaAndBlanks()
{
    const std::string_view line = currentLineView();
    if (m_linePosition < line.size() && line[m_linePosition] == ',')
        ++m_linePosition;
    while (m_linePosition < line.size() && line[m_linePosition] == ' ')
        ++m_linePosition;
}

int AtResponseParser::readInt()
{
    const std::string_view line = currentLineView();
    std::uint32_t value = 0;
    while (m_linePosition < line.size() && isDigit(line[m_linePosition])) {
        value = value * 10u + static_cast<std::uint32_t>(line[m_linePosition] - '0');
        ++m_linePosition;
    }
    skipCommaAndBlanks();
    return text::wrapToInt(value);
}

int AtResponseParser::readDigit()
{
    const std::string_view line = currentLineView();
    while (m_linePosition < line.size() && !isDigit(line[m_linePosition]))
        ++m_linePosition;
    if (m_linePosition >= line.size())
        return 0;
    return line[m_linePosition] - '0';
}

std::string AtResponseParser::readQuoted()
{
    std::string value = text::extractQuoted(currentLineView(), m_linePosition);
    skipCommaAndBlanks();
    return value;
}

}  // namespace cellctl
