#include <cellctl/framework/AtResponseParser.h>

#include <cstdint>
#include <utility>

#include <cellctl/framework/NumberReading.h>

namespace {
bool isDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

AtResponseParser::AtResponseParser(const AtResponse& response)
    : m_answer(response.text), m_position(0), m_linePosition(0)
{
}

AtResponseParser::AtResponseParser(AtResponse&& response)
    : m_answer(std::move(response.text)), m_position(0), m_linePosition(0)
{
}

AtResponseParser::AtResponseParser(const std::string& text)
    : m_answer(text), m_position(0), m_linePosition(0)
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

std::string AtResponseParser::currentLine() const
{
    return std::string(currentLineView());
}

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
    return cellctl::wrapToInt(value);
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
    std::string value = extractQuoted(currentLineView(), m_linePosition);
    skipCommaAndBlanks();
    return value;
}

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string extractQuoted(std::string_view text, unsigned& pos)
{
    const std::size_t open = text.find('"', pos);
    if (open == std::string_view::npos) {
        pos = static_cast<unsigned>(text.size());
        return std::string();
    }
    std::string value;
    std::size_t i = open + 1;
    while (i < text.size() && text[i] != '"') {
        if (text[i] != '\\') {
            value += text[i++];
            continue;
        }
        if (i + 1 >= text.size()) {  // a trailing backslash is dropped
            ++i;
            break;
        }
        const int high = hexDigitValue(text[i + 1]);
        if (high < 0) {  // not an escape: keep the backslash, read on normally
            value += '\\';
            ++i;
            continue;
        }
        const int low = i + 2 < text.size() ? hexDigitValue(text[i + 2]) : -1;
        if (low < 0) {
            value += static_cast<char>(high);
            i += 2;
        } else {
            value += static_cast<char>(high * 16 + low);
            i += 3;
        }
    }
    if (i < text.size())  // past the closing quote
        ++i;
    pos = static_cast<unsigned>(i);
    return value;
}

signed char readSmallNumber(std::string_view text, unsigned& pos)
{
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == ','))
        ++pos;
    std::uint8_t value = 0;
    while (pos < text.size() && isDigit(text[pos])) {
        value = static_cast<std::uint8_t>(value * 10u + static_cast<unsigned>(text[pos] - '0'));
        ++pos;
    }
    return static_cast<signed char>(value <= 127 ? static_cast<int>(value) : static_cast<int>(value) - 256);
}
