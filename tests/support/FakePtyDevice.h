#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace cellctl::test {

// Each line framed the way devices frame their answers: CR LF line CR LF.
std::string framed(const std::vector<std::string>& lines);

// A modem played on the master side of a pseudo-terminal; the line under test
// opens slavePath() as it opens a serial port. Either the test plays the
// device itself through master() (non-blocking), or the device serves on a
// thread of its own: every command line the host ends with CR goes to the
// answer function, and the bytes it returns go back.
class FakePtyDevice {
public:
    // The bytes sent back for one command line (without its CR); empty: no answer.
    using Answer = std::function<std::string(const std::string& line)>;

    struct Options {
        // Noise around and inside every answer: junk lines (any byte but CR
        // and LF, NUL, ESC and Ctrl-Z included), partial lines cut short by
        // the next line, and lines longer than the channel keeps (some
        // starting like an answer line); every write cut into pieces of
        // random size.
        bool noise = false;
        std::uint32_t seed = 1;
    };

    // Played by the test.
    FakePtyDevice();
    // Served by `answer` until the device is lost or destroyed.
    explicit FakePtyDevice(Answer answer);
    FakePtyDevice(Answer answer, Options options);
    ~FakePtyDevice();
    FakePtyDevice(const FakePtyDevice&) = delete;
    FakePtyDevice& operator=(const FakePtyDevice&) = delete;

    const std::string& slavePath() const { return m_slavePath; }
    // The master side; -1 once the device is lost.
    int master() const { return m_master; }
    // Every byte the host wrote to a served device so far.
    std::string wire() const;
    // The device goes away: serving stops and the master side closes, so the
    // host's next read fails.
    void lose();

private:
    void serve();
    std::string noisy(const std::string& answer);
    std::string noise();
    void send(const std::string& bytes);

    Answer m_answer;
    Options m_options;
    std::mt19937 m_random;
    int m_master = -1;
    std::string m_slavePath;
    mutable std::mutex m_wireMutex;
    std::string m_wire;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

}  // namespace cellctl::test
