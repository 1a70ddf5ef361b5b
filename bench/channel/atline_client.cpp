// AtPhoneLine with the library attached: every start-up assistor on the line,
// the host asking for the signal through the power assistor and taking each
// answer in its callback, which asks again until the round trips are done.
//
// usage: atline_client DEVICE ROUND_TRIPS [WARMUP]
// Prints one CSV line: client,round_trips,wall_s,user_s,sys_s,bad_answers,allocs_per_rt

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include <boost/asio/io_context.hpp>

#include <cellctl/at/AtPhoneLine.h>
#include <cellctl/mode/CMode.h>

#include "../support/AllocationCounter.h"
#include "../support/StartupRig.h"

namespace {

double seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

// Counts answers and takes the clock and rusage when the measured stretch
// starts and ends.
class RoundTripRun {
public:
    RoundTripRun(long warmup, long roundTrips) : m_warmup(warmup), m_total(warmup + roundTrips)
    {
        if (m_warmup == 0)
            mark(m_startClock, m_startUsage, m_startAllocations);
    }

    // One answer arrived; true while more are wanted.
    bool answered(int level)
    {
        ++m_answers;
        if (m_answers > m_warmup && level == 0)
            ++m_bad;  // an error answer reads as level 0
        if (m_answers == m_warmup && m_warmup > 0)
            mark(m_startClock, m_startUsage, m_startAllocations);
        if (m_answers == m_total) {
            mark(m_stopClock, m_stopUsage, m_stopAllocations);
            return false;
        }
        return true;
    }

    void print() const
    {
        const long roundTrips = m_total - m_warmup;
        std::printf("atphoneline,%ld,%.6f,%.6f,%.6f,%ld,%.2f\n", roundTrips,
                    std::chrono::duration<double>(m_stopClock - m_startClock).count(),
                    seconds(m_stopUsage.ru_utime) - seconds(m_startUsage.ru_utime),
                    seconds(m_stopUsage.ru_stime) - seconds(m_startUsage.ru_stime), m_bad,
                    static_cast<double>(m_stopAllocations - m_startAllocations) / roundTrips);
    }

    bool finished() const { return m_answers >= m_total; }

private:
    using Clock = std::chrono::steady_clock;

    static void mark(Clock::time_point& clock, rusage& usage, std::uint64_t& allocations)
    {
        clock = Clock::now();
        getrusage(RUSAGE_SELF, &usage);
        allocations = bench::allocationTally().allocations;
    }

    const long m_warmup;
    const long m_total;
    long m_answers = 0;
    long m_bad = 0;
    Clock::time_point m_startClock, m_stopClock;
    rusage m_startUsage{}, m_stopUsage{};
    std::uint64_t m_startAllocations = 0, m_stopAllocations = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: atline_client DEVICE ROUND_TRIPS [WARMUP]\n");
        return 2;
    }
    const long roundTrips = std::atol(argv[2]);
    const long warmup = argc > 3 ? std::atol(argv[3]) : 100;

    try {
        boost::asio::io_context io;
        cellctl::at::AtPhoneLine line(io);
        line.open(argv[1]);
        bench::StartupRig rig(line);
        // The host knows the device is on GSM, so the signal query is AT+CSQ,
        // the command every client of this comparison sends.
        CGsmMode gsm;
        rig.mode().SetCurrentMode(&gsm);

        RoundTripRun run(warmup, roundTrips);
        rig.power().connectQuerySignalResult([&](int, int level) {
            if (run.answered(level))
                rig.power().QuerySignal();
            else
                io.stop();  // the line's read stays pending: run() would not return
        });
        rig.power().QuerySignal();
        io.run();
        if (!run.finished()) {
            std::fprintf(stderr, "atline_client: the line stopped before the last answer\n");
            return 1;
        }
        run.print();
        line.close();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "atline_client: %s\n", e.what());
        return 1;
    }
    return 0;
}
