#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace cellctl::at {

// Cuts the device's byte stream into lines. A line ends at CR or LF (CR LF,
// bare CR and bare LF alike); empty lines are skipped. A line longer than the
// limit is dropped whole: the framer keeps at most `maxLineLength` bytes,
// whatever the device sends.
class LineFramer {
public:
    struct Sinks {
        std::function<void(const std::string& line)> line;
        // Called when a line exceeds the limit, and again with the number of
        // bytes dropped once its end arrives.
        std::function<void(std::size_t droppedSoFar, bool ended)> overlong;
    };

    LineFramer(std::size_t maxLineLength, Sinks sinks);

    void feed(const char* data, std::size_t size);
    // Forgets a partial line (the device was reopened).
    void reset();

    std::size_t bufferedBytes() const { return m_line.size(); }
    std::size_t bufferCapacity() const { return m_line.capacity(); }

private:
    void take(const char* bytes, std::size_t count);
    void endLine();
    void startDropping();

    std::size_t m_maxLineLength;
    Sinks m_sinks;
    std::string m_line;
    std::string m_delivered;
    bool m_dropping = false;
    std::size_t m_dropped = 0;
};

}  // namespace cellctl::at
