// A fleet of simulated modems served by one io_context thread: each modem
// gets an AtPhoneLine with every start-up assistor attached, runs the full
// power-on sequence and then a status read (signal, registration, current
// operator). Reports the total time, the host's memory per modem (resident
// set and live heap) and the simulators' memory per modem.
//
// usage: bench_fleet [MODEMS] [OUT_JSON]

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <boost/asio/io_context.hpp>

#include <cellctl/at/AtPhoneLine.h>
#include <cellsim/ModemOptions.h>
#include <cellsim/PtyServer.h>

#include "../support/AllocationCounter.h"
#include "../support/SilentPhoneLine.h"
#include "../support/StartupRig.h"
#include "SimulatorProcess.h"

namespace {

using Clock = std::chrono::steady_clock;

// The simulators' child: serves `count` modems, each on its own pty, all on
// one io_context thread, printing their paths; runs until stopped. Kept in a
// process of its own so that the host's memory and CPU figures hold the host
// alone.
void serveModems(int count)
{
    try {
        boost::asio::io_context io;
        std::vector<std::unique_ptr<cellsim::PtyServer>> servers;
        cellsim::ModemOptions options;
        options.registrationDelay = std::chrono::milliseconds(50);
        for (int i = 0; i < count; ++i) {
            servers.push_back(std::make_unique<cellsim::PtyServer>(io, options));
            std::printf("%s\n", servers.back()->slavePath().c_str());
        }
        std::fflush(stdout);
        io.run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "simulators: %s\n", e.what());
    }
}

// Raises the soft limit of open files to the hard limit; returns the new soft limit.
long raiseFileLimit()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return -1;
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
    getrlimit(RLIMIT_NOFILE, &limit);
    return static_cast<long>(limit.rlim_cur);
}

long residentKib(pid_t pid) { return static_cast<long>(cellctl::test::residentKib(pid)); }

// One modem as the host sees it: its line, the library on it, and whether
// its status read is complete.
struct FleetMember {
    FleetMember(boost::asio::io_context& io, const std::string& path) : line(io), rig(line) { line.open(path); }

    cellctl::at::AtPhoneLine line;
    bench::StartupRig rig;
    Clock::time_point finished{};
    bool done = false;
};

// Heap held by the library alone for one modem: the start-up assistors, their
// helpers and records, attached to a line with no device.
std::int64_t libraryHeapBytes()
{
    bench::SilentPhoneLine line;
    const std::int64_t before = bench::allocationTally().liveBytes;
    bench::StartupRig rig(line);
    return bench::allocationTally().liveBytes - before;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv)
{
    const int modems = argc > 1 ? std::atoi(argv[1]) : 256;
    const char* outPath = argc > 2 ? argv[2] : nullptr;
    const long fileLimit = raiseFileLimit();
    bench::trackLiveBytes();

    try {
        cellctl::test::SimulatorProcess simulators([modems] { serveModems(modems); }, static_cast<std::size_t>(modems));
        simulators.start();

        const std::int64_t libraryHeap = libraryHeapBytes();
        boost::asio::io_context io;
        const long hostRssBefore = residentKib(getpid());
        const std::int64_t heapBefore = bench::allocationTally().liveBytes;

        std::vector<std::unique_ptr<FleetMember>> fleet;
        int remaining = modems;
        for (const std::string& path : simulators.paths()) {
            fleet.push_back(std::make_unique<FleetMember>(io, path));
            FleetMember& member = *fleet.back();
            member.rig.cops().connectQueryCopsResult([&member, &remaining, &io](const CCopsInfo&) {
                if (member.done)
                    return;
                member.done = true;
                member.finished = Clock::now();
                if (--remaining == 0)
                    io.stop();
            });
        }

        const double cpuBefore = cpuSeconds();
        const Clock::time_point start = Clock::now();
        for (auto& member : fleet) {
            CPowerAssistor& power = member->rig.power();
            power.PowerOn();
            power.QuerySignal();
            power.QueryCregStatus();
            power.QueryCops();
        }
        io.run();
        const Clock::time_point stop = Clock::now();
        const double cpu = cpuSeconds() - cpuBefore;

        const long hostRssAfter = residentKib(getpid());
        const std::int64_t heapAfter = bench::allocationTally().liveBytes;
        const long simulatorRss = residentKib(simulators.pid());

        // The status read can come before the simulated network registers a
        // modem (50 ms after +CFUN=1): its +CREG report follows. The lines are
        // served on (outside the figures above) until every registration is
        // in, or 2 s have passed.
        const auto registeredModems = [&fleet] {
            return std::count_if(fleet.begin(), fleet.end(),
                                 [](const auto& member) { return member->rig.tally().registration == 1; });
        };
        const Clock::time_point registrationDeadline = Clock::now() + std::chrono::seconds(2);
        while (registeredModems() < modems && Clock::now() < registrationDeadline) {
            io.restart();
            io.run_for(std::chrono::milliseconds(10));
        }

        int poweredOn = 0, registered = 0;
        std::vector<double> finishSeconds;
        for (const auto& member : fleet) {
            poweredOn += member->rig.tally().powerOn ? 1 : 0;
            registered += member->rig.tally().registration == 1 ? 1 : 0;
            finishSeconds.push_back(std::chrono::duration<double>(member->finished - start).count());
        }
        std::sort(finishSeconds.begin(), finishSeconds.end());

        char json[1024];
        std::snprintf(
            json, sizeof json,
            "{\n  \"modems\": %d,\n  \"threads_serving_lines\": 1,\n  \"file_limit\": %ld,\n"
            "  \"total_s\": %.4f,\n  \"median_modem_done_s\": %.4f,\n  \"host_cpu_s\": %.4f,\n"
            "  \"host_rss_kib_per_modem\": %.2f,\n  \"host_heap_kib_per_modem\": %.2f,\n"
            "  \"library_heap_kib_per_modem\": %.2f,\n"
            "  \"host_rss_kib_before\": %ld,\n  \"host_rss_kib_after\": %ld,\n"
            "  \"simulator_rss_kib_per_modem\": %.2f,\n"
            "  \"powered_on\": %d,\n  \"registered\": %d\n}\n",
            modems, fileLimit, std::chrono::duration<double>(stop - start).count(),
            finishSeconds[finishSeconds.size() / 2], cpu, static_cast<double>(hostRssAfter - hostRssBefore) / modems,
            static_cast<double>(heapAfter - heapBefore) / 1024.0 / modems, static_cast<double>(libraryHeap) / 1024.0,
            hostRssBefore, hostRssAfter, static_cast<double>(simulatorRss) / modems, poweredOn, registered);
        std::fputs(json, stdout);
        if (outPath != nullptr) {
            if (FILE* out = std::fopen(outPath, "w")) {
                std::fputs(json, out);
                std::fclose(out);
            }
        }
        for (auto& member : fleet)
            member->line.close();
        return poweredOn == modems ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_fleet: %s\n", e.what());
        return 1;
    }
}
