// The load run: commands through an AtPhoneLine to a cellsim process over a
// pty, with unsolicited lines interleaved, counting that every command gets
// exactly one answer with its own code, in order, and that memory stays flat.
//
//   cellctl_stress [--commands N] [--window N] [--storm N] [--max-seconds S]
//                  [--max-rss-growth-kib K] [--cellsim PATH]
//
// --storm N has cellsim send N unsolicited lines (calls, call progress,
// packet events; the channel drops them) before every answer; the load cycle
// itself brings one routed mode report every four commands. Exit status 0
// when every command was answered exactly and in order, no report went
// astray, and resident memory grew by at most K KiB from the first 1% of
// the run to its end (no limit when K is 0).
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include <boost/asio/io_context.hpp>

#include <cellctl/at/AtPhoneLine.h>

#include "LoadRun.h"
#include "SimulatorProcess.h"

namespace {

struct Settings {
    std::string cellsim = CELLCTL_CELLSIM_PATH;
    cellctl::stress::LoadOptions load;
    unsigned storm = 1;
    long maxRssGrowthKib = 0;
};

bool parse(int argc, char** argv, Settings& settings)
{
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc) {
            std::cerr << "cellctl_stress: " << name << " needs a value\n";
            return false;
        }
        const std::string value = argv[++i];
        char* end = nullptr;
        const unsigned long long number = std::strtoull(value.c_str(), &end, 10);
        const bool numeric = !value.empty() && *end == '\0';
        if (name == "--cellsim")
            settings.cellsim = value;
        else if (name == "--commands" && numeric && number > 0)
            settings.load.commands = number;
        else if (name == "--window" && numeric && number > 0)
            settings.load.window = number;
        else if (name == "--storm" && numeric)
            settings.storm = static_cast<unsigned>(number);
        else if (name == "--max-seconds" && numeric && number > 0)
            settings.load.timeLimit = std::chrono::seconds(number);
        else if (name == "--max-rss-growth-kib" && numeric)
            settings.maxRssGrowthKib = static_cast<long>(number);
        else {
            std::cerr << "cellctl_stress: bad option " << name << " " << value << "\n";
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    Settings settings;
    if (!parse(argc, argv, settings))
        return 2;
    try {
        cellctl::test::SimulatorProcess sim(settings.cellsim, {"--storm", std::to_string(settings.storm)});
        sim.start();
        boost::asio::io_context io;
        cellctl::at::AtPhoneLine line(io);
        line.open(sim.slavePath());
        const std::size_t simRssStart = cellctl::test::residentKib(sim.pid());

        cellctl::stress::LoadRun load(io, line, settings.load);
        const cellctl::stress::LoadCounts counts = load.run();
        const std::size_t simRssEnd = cellctl::test::residentKib(sim.pid());
        line.close();

        const long growth = static_cast<long>(counts.rssEndKib) - static_cast<long>(counts.rssStartKib);
        const bool memoryFlat = settings.maxRssGrowthKib == 0 || growth <= settings.maxRssGrowthKib;
        const double rate = counts.seconds > 0 ? static_cast<double>(counts.answered) / counts.seconds : 0;
        std::cout << "commands:          " << counts.sent << " sent, " << counts.answered << " answered, "
                  << counts.exact << " exactly as expected\n"
                  << "lost:              " << counts.lost() << "\n"
                  << "misrouted:         " << counts.misrouted << " (plus " << counts.extra
                  << " answers to no command)\n"
                  << "unsolicited lines: " << counts.reports << " mode reports delivered in place ("
                  << counts.badReports << " wrong, " << counts.reportsMissing << " missing), "
                  << settings.storm * counts.answered << " other reports dropped by the channel\n"
                  << "channel events:    " << counts.timeouts << " timeouts, " << counts.devicesLost
                  << " devices lost\n"
                  << "time:              " << counts.seconds << " s (" << static_cast<long>(rate) << " commands/s)\n"
                  << "host RSS:          " << counts.rssStartKib << " KiB after 1% -> " << counts.rssEndKib
                  << " KiB at the end (peak " << counts.rssPeakKib << " KiB, growth " << growth << " KiB)\n"
                  << "cellsim RSS:       " << simRssStart << " KiB -> " << simRssEnd << " KiB\n";
        if (!counts.finished)
            std::cout << "FAILED: not every command was answered within " << settings.load.timeLimit.count() << " s\n";
        if (!memoryFlat)
            std::cout << "FAILED: memory grew by more than " << settings.maxRssGrowthKib << " KiB\n";
        const bool passed = counts.perfect() && counts.timeouts == 0 && counts.devicesLost == 0 && memoryFlat;
        std::cout << (passed ? "PASSED" : "FAILED") << "\n";
        return passed ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << "cellctl_stress: " << error.what() << "\n";
        return 1;
    }
}
