#pragma once

#include <chrono>
#include <string>
#include <vector>

#include <cellsim/Modem.h>
#include <cellsim/ModemOptions.h>
#include <cellsim/Scheduler.h>

namespace cellsim::test {

using namespace std::chrono_literals;

using Lines = std::vector<std::string>;

// A modem on a hand-driven clock, fed AT lines directly, with its output
// collected as lines.
class ModemHarness {
public:
    // Short registration and scan times; echo is switched off first unless
    // asked for, and then the faults apply.
    static ModemOptions quickOptions()
    {
        ModemOptions options;
        options.registrationDelay = 100ms;
        options.scanDuration = 500ms;
        return options;
    }

    explicit ModemHarness(const ModemOptions& options = quickOptions(), bool echoOff = true,
                          const Faults& faults = Faults())
        : modem(scheduler, options)
    {
        modem.setSink([this](const std::string& bytes) {
            output += bytes;
            ++writes;
        });
        if (echoOff) {
            send("ATE0");
        }
        modem.setFaults(faults);
    }

    // Sends a command line and lets everything scheduled run; returns the lines sent since.
    Lines send(const std::string& line)
    {
        modem.feed(line + "\r");
        scheduler.runAll();
        return takeLines();
    }

    // Feeds bytes without moving the clock.
    void type(const std::string& bytes) { modem.feed(bytes); }

    // The non-empty lines of the output since the last call.
    Lines takeLines()
    {
        Lines lines;
        std::size_t start = 0;
        while (start < output.size()) {
            std::size_t end = output.find("\r\n", start);
            if (end == std::string::npos) {
                end = output.size();
            }
            if (end > start) {
                lines.push_back(output.substr(start, end - start));
            }
            start = end + 2;
        }
        output.clear();
        return lines;
    }

    // A soft reset (+CFUN=<fun>,1); echo, back on after it, is switched off again.
    Lines reset(int functionality = 1)
    {
        Lines lines = send("AT+CFUN=" + std::to_string(functionality) + ",1");
        send("ATE0");
        return lines;
    }

    // Switches the radio on; registration settles.
    void powerOn() { send("AT+CFUN=1"); }

    ManualScheduler scheduler;
    Modem modem;
    std::string output;
    int writes = 0;
};

}  // namespace cellsim::test
