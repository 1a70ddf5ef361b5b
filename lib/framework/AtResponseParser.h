#pragma once

#include <string>

// The answer reader shared by the helpers. Lenient throughout: it never fails
// and never throws; it stops at the first character that does not fit and
// returns what it has.

// One whole answer as PhoneLine delivered it.
struct AtResponse {
    std::string text;
};

// Finds lines by prefix and reads fields from the current line. Lines are
// separated by "\n" alone; a "\r" before it stays part of the line.
class AtResponseParser {
public:
    explicit AtResponseParser(const AtResponse& response);
    // Stands on the first line that begins like the text's own first line:
    // the prefix is the text up to and including its first ':' (all of it
    // when there is none).
    explicit AtResponseParser(const std::string& text);

    // Moves forward to the next line beginning with `prefix` and makes the rest
    // of it, less leading blanks, the current line. On failure the current line
    // is the last line examined (unchanged when the answer was already used up).
    bool findLine(const std::string& prefix);
    std::string currentLine() const;

    // Decimal digits at the read position (0 when none; wraps modulo 2^32),
    // then one ',' and blanks are skipped.
    int readInt();
    // Value of the next digit on the line, which is not consumed; 0 at the end.
    int readDigit();
    // extractQuoted at the read position, then one ',' and blanks are skipped.
    std::string readQuoted();

private:
    void skipCommaAndBlanks();

    std::string m_answer;
    std::string m_line;
    unsigned m_position;
    unsigned m_linePosition;
};

// 0-9 for '0'-'9', 10-15 for 'A'-'F' and 'a'-'f', otherwise -1.
int hexDigitValue(char c);

// The content of the next double-quoted field from `pos`, with backslash-hex
// escapes decoded; `pos` ends after the closing quote. No quote: empty, `pos`
// at the end.
std::string extractQuoted(const std::string& text, unsigned& pos);

// Skips blanks and commas, then reads digits in 8 bits (modulo 256) and
// returns the value as a signed 8-bit number; `pos` ends after the digits.
signed char readSmallNumber(const std::string& text, unsigned& pos);
