#pragma once

#include <string>
#include <string_view>

// The answer reader shared by the helpers. Lenient throughout: it never fails
// and never throws; it stops at the first character that does not fit and
// returns what it has. Fields read with a caller-held cursor instead come from
// the text kit (extractQuoted, readSmallNumber, hexDigitValue).

namespace cellctl {

// One whole answer as PhoneLine delivered it.
struct AtResponse {
    std::string text;
};

// Finds lines by prefix and reads fields from the current line. Lines are
// separated by "\n" alone; a "\r" before it stays part of the line.
class AtResponseParser {
public:
    explicit AtResponseParser(const AtResponse& response);
    // The same, taking the text over instead of copying it.
    explicit AtResponseParser(AtResponse&& response);
    // Stands on the first line that begins like the text's own first line:
    // the prefix is the text up to and including its first ':' (all of it
    // when there is none).
    explicit AtResponseParser(const std::string& text);

    // Moves forward to the next line beginning with `prefix` and makes the rest
    // of it, less leading blanks, the current line. On failure the current line
    // is the last line examined (unchanged when the answer was already used up).
    bool findLine(const std::string& prefix);
    std::string currentLine() const;
    // The current line read in place: valid while the reader lives.
    std::string_view currentLineView() const;

    // Decimal digits at the read position (0 when none; wraps modulo 2^32),
    // then one ',' and blanks are skipped.
    int readInt();
    // Value of the next digit on the line, which is not consumed; 0 at the end.
    int readDigit();
    // text::extractQuoted at the read position, then one ',' and blanks are skipped.
    std::string readQuoted();

private:
    void skipCommaAndBlanks();

    std::string m_answer;
    // The current line is m_answer[m_lineStart, m_lineStart + m_lineLength):
    // read in place, and still right when the reader is copied.
    std::size_t m_lineStart = 0;
    std::size_t m_lineLength = 0;
    unsigned m_position;
    unsigned m_linePosition;
};

}  // namespace cellctl
