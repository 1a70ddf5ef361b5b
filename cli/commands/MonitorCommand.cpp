// cellctl monitor: follows what the modem reports (registration, packet-domain
// registration, mode changes, HSDPA and cell capability) and reads the signal
// at intervals, printing each change as it comes, until interrupted or a
// --duration / --events bound is reached.
#include "Commands.h"

#include <ctime>
#include <functional>

#include "Limits.h"
#include "Words.h"

namespace cellctl::cli {
namespace {

// Shows each report as it comes and keeps it for the JSON document; once
// `limit` reports (--events, 0: none) are shown, the rest are dropped.
class Monitor {
public:
    Monitor(CommandContext& c, int limit) : m_c(c), m_start(Clock::now()), m_limit(limit)
    {
        m_c.out.data("events") = nlohmann::json::array();
    }

    void report(const std::string& kind, const std::string& text, nlohmann::json detail)
    {
        if (enough())
            return;
        double elapsed = std::chrono::duration_cast<Seconds>(Clock::now() - m_start).count();
        detail["event"] = kind;
        detail["seconds"] = elapsed;
        m_c.out.data("events").push_back(detail);
        ++m_count;
        m_c.out.say(clockTime() + "  " + kind + ": " + text);
    }

    bool enough() const { return m_limit > 0 && m_count >= m_limit; }

private:
    static std::string clockTime()
    {
        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        char text[16];
        std::strftime(text, sizeof text, "%H:%M:%S", &local);
        return text;
    }

    CommandContext& m_c;
    Clock::time_point m_start;
    int m_limit;
    int m_count = 0;
};

std::string capabilityText(const CCellCapabilityInfo& info)
{
    return std::string("HSDPA ") + (info.m_capability3 ? "available" : "not available") + " (flags " +
           (info.m_capability1 ? "1" : "0") + (info.m_capability2 ? "1" : "0") + (info.m_capability3 ? "1" : "0") +
           (info.m_capability4 ? "1" : "0") + ")";
}

}  // namespace

void runMonitor(CommandContext& c)
{
    Session& session = c.session;
    ModemResults& results = session.results();
    Assistors& lib = session.lib();
    Monitor monitor(c, c.args.events);

    std::optional<std::pair<int, int>> lastSignal;
    std::optional<int> lastRegistration;
    std::optional<int> lastPacketRegistration;
    auto reportSignal = [&](std::pair<int, int> signal) {
        if (lastSignal == signal)
            return;
        lastSignal = signal;
        monitor.report("signal", signalText(signal.first, signal.second), signalJson(signal.first, signal.second));
    };
    auto reportRegistration = [&](int status) {
        if (lastRegistration == status)
            return;
        lastRegistration = status;
        monitor.report("registration", registrationText(status), {{"registration", registrationName(status)}});
    };
    // What a poll reads is held until the poll is known to have lost no
    // answer: the library reads a lost answer as no signal and no
    // registration. Reports between polls go out at once.
    bool polling = false;
    std::optional<std::pair<int, int>> heldSignal;
    std::optional<int> heldRegistration;
    Listening<int, int> signal(results.signal, [&](const int& tech, const int& level) {
        if (polling)
            heldSignal = std::make_pair(tech, level);
        else
            reportSignal({tech, level});
    });
    Listening<int> registration(results.registration, [&](const int& status) {
        if (polling)
            heldRegistration = status;
        else
            reportRegistration(status);
    });
    Listening<int> packet(results.packetRegistration, [&](const int& status) {
        if (lastPacketRegistration == status)
            return;
        lastPacketRegistration = status;
        monitor.report("packet-registration", registrationText(status), {{"registration", registrationName(status)}});
    });
    Listening<CMode> mode(results.currentMode, [&](const CMode& current) {
        monitor.report("mode", networkModeText(current), networkModeJson(current));
    });
    Listening<CCellCapabilityInfo> cell(results.cellCapability, [&](const CCellCapabilityInfo& info) {
        monitor.report("cell-capability", capabilityText(info),
                       {{"hsdpa", info.m_capability3},
                        {"flags", {info.m_capability1, info.m_capability2, info.m_capability3, info.m_capability4}}});
    });

    // A lost answer to a poll is asked again at the next poll; only polls
    // lost kQueryAttempts times in a row end the command.
    int lostInARow = 0;
    std::size_t firstLost = 0;
    auto poll = [&](const std::function<void()>& send) {
        polling = true;
        heldSignal.reset();
        heldRegistration.reset();
        Session::StepLosses losses = session.runStep(
            send, [] { return true; }, "following the modem", limits::kAnswer);
        polling = false;
        if (losses.lost == 0) {
            lostInARow = 0;
            if (heldRegistration)
                reportRegistration(*heldRegistration);
            if (heldSignal)
                reportSignal(*heldSignal);
            return;
        }
        firstLost = lostInARow++ == 0 ? losses.firstLost : firstLost;
        if (lostInARow == Session::kQueryAttempts)
            throw session.lostAnswerError("while following the modem", firstLost,
                                          "lost " + std::to_string(lostInARow) + " polls in a row");
    };

    const CommandArgs& args = c.args;
    c.out.say("Following the modem" + std::string(args.duration > 0 ? "" : " (Ctrl-C to stop)"));
    std::optional<Clock::time_point> end;
    if (args.duration > 0)
        end = Clock::now() + toDuration(Seconds(args.duration));
    auto enough = [&monitor] { return monitor.enough(); };
    try {
        poll([&lib] { lib.connection.Initialize(); });  // packet-domain registration reports on
        while (!enough() && (!end || Clock::now() < *end)) {
            // The registration is asked until an answer or a report has told it.
            poll([&lib, &lastRegistration] {
                if (!lastRegistration)
                    lib.power.QueryCregStatus();
                lib.power.QuerySignal();
            });
            Clock::duration slice = toDuration(Seconds(args.interval));
            if (end)
                slice = std::min(slice, *end - Clock::now());
            session.waitFor(enough, slice);
        }
    } catch (const CliError& error) {
        if (error.kind() != ErrorKind::Interrupted)
            throw;
    }
}

}  // namespace cellctl::cli
