#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace cellctl::hostile {

// A device on a pty that keeps every byte the host writes and answers every
// command line "OK" (echoing it first when asked), except lines containing
// `silentFor`, which it leaves unanswered.
class WireDevice {
public:
    struct Settings {
        bool echo = false;
        std::string silentFor;  // empty: answer everything
    };

    explicit WireDevice(Settings settings);
    ~WireDevice();
    WireDevice(const WireDevice&) = delete;
    WireDevice& operator=(const WireDevice&) = delete;

    const std::string& slavePath() const { return m_slavePath; }
    // Every byte received so far, and the command lines (split at CR).
    std::string wire() const;
    std::vector<std::string> lines() const;

private:
    void serve();
    void answer(const std::string& line);

    Settings m_settings;
    int m_master = -1;
    std::string m_slavePath;
    mutable std::mutex m_mutex;
    std::string m_wire;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

}  // namespace cellctl::hostile
