#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <thread>

namespace cellctl::faults {

// A device on a pty that answers the load cycle's commands as cellsim does,
// played on a thread of its own, and misbehaves on request:
// - noise: around and inside every answer, junk lines (any byte but CR and
//   LF, NUL, ESC and Ctrl-Z included), partial lines cut short by the next
//   line, and lines longer than the channel keeps (some starting like an
//   answer line); every write is cut into pieces of random size;
// - a burst: `burstSize` unsolicited lines, the routed reports of every kind
//   and some unused ones, half before and half after the answer to the
//   first AT+CFUN?.
class NoisyDevice {
public:
    struct Settings {
        bool noise = false;
        std::size_t burstSize = 0;
        std::uint32_t seed = 1;
    };

    explicit NoisyDevice(Settings settings);
    ~NoisyDevice();
    NoisyDevice(const NoisyDevice&) = delete;
    NoisyDevice& operator=(const NoisyDevice&) = delete;

    const std::string& slavePath() const { return m_slavePath; }

    // The routed reports of a burst, in the order sent: how many of each code.
    struct BurstCounts {
        std::size_t registration = 0;        // +CREG: -> code 10
        std::size_t packetRegistration = 0;  // +CGREG: -> code 117
        std::size_t modeChanged = 0;         // ^DSTMR: -> code 149
        std::size_t hsdpa = 0;               // +HSIND: -> code 158
        std::size_t cellCapability = 0;      // ^DCINFO: -> code 159
        std::size_t unused = 0;              // RING, +CGEV: ... (dropped by the channel)
    };
    struct BurstLine {
        const char* line;
        int code;               // delivered on the modify-result signal with this code; -1: dropped
        const char* delivered;  // the text delivered
    };
    static const BurstLine& burstLine(std::size_t index);
    static BurstCounts burstCounts(std::size_t size);

    // Command lines served so far (readable once the channel has its answers).
    std::size_t commandsServed() const { return m_served.load(); }

private:
    void serve();
    void handle(const std::string& command);
    std::string answerTo(const std::string& command, std::string& report) const;
    std::string noise();
    std::string burst(std::size_t from, std::size_t to) const;
    void send(const std::string& bytes);

    Settings m_settings;
    std::mt19937 m_random;
    int m_master = -1;
    std::string m_slavePath;
    std::atomic<bool> m_stop{false};
    std::atomic<std::size_t> m_served{0};
    bool m_burstDone = false;
    std::thread m_thread;
};

}  // namespace cellctl::faults
