#pragma once

#include <memory>
#include <string>

#include <cellsim/ModemOptions.h>

namespace cellctl::cli {

using BuiltInModemOptions = cellsim::ModemOptions;

// The simulated modem cellctl talks to when no device is given: a cellsim
// modem serving a pty from a thread of its own, so that the session uses the
// same AT channel over a real pty as it would with hardware.
class BuiltInModem {
public:
    explicit BuiltInModem(const BuiltInModemOptions& options);
    ~BuiltInModem();
    BuiltInModem(const BuiltInModem&) = delete;
    BuiltInModem& operator=(const BuiltInModem&) = delete;

    // The pty the session opens.
    const std::string& path() const { return m_path; }
    // The modem's data port (BuiltInModemOptions::dataPort); empty without one.
    const std::string& dataPath() const { return m_dataPath; }

private:
    struct Running;
    std::unique_ptr<Running> m_running;
    std::string m_path;
    std::string m_dataPath;
};

}  // namespace cellctl::cli
