#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <cellsim/AtCommand.h>
#include <cellsim/DataCall.h>
#include <cellsim/Device.h>
#include <cellsim/ModemOptions.h>
#include <cellsim/NetworkSide.h>
#include <cellsim/OutputPipe.h>
#include <cellsim/Reply.h>
#include <cellsim/Scheduler.h>

namespace cellsim {

// The AT state machine of the simulated modem, independent of any transport:
// bytes from the host go in through feed(), the modem's bytes come out
// through the sink. Command lines end in CR (a lone LF also ends one);
// answers and reports are framed "\r\n<line>\r\n". One command line runs at
// a time; lines arriving meanwhile wait their turn, and unsolicited reports
// wait until the running line is answered.
//
// A port can carry one data call (ATD*99#): after CONNECT the host's bytes
// are data (see DataCall) until the call ends (NO CARRIER) or the host
// escapes with "+++" (OK; ATO goes back online, ATH hangs up). Reports that
// arise while online wait until the port takes commands again.
//
// Not thread-safe: feed, the sink and the scheduler's tasks all run on one thread.
class Modem {
public:
    using Sink = std::function<void(const std::string&)>;
    // Traffic trace: direction '<' for host lines, '>' for modem lines.
    using Trace = std::function<void(char direction, const std::string& line)>;

    static constexpr std::size_t MaxLineLength = 1024;
    static constexpr std::size_t MaxWaitingLines = 64;
    static constexpr std::size_t MaxHeldReports = 64;

    explicit Modem(Scheduler& scheduler, const ModemOptions& options = ModemOptions());
    // Another port of the same device (a modem's data port): it shares the
    // device state of `primary`, whose port alone gets the unsolicited reports.
    Modem(Scheduler& scheduler, Modem& primary);
    Modem(const Modem&) = delete;
    Modem& operator=(const Modem&) = delete;

    void setSink(Sink sink) { m_output.setSink(std::move(sink)); }
    void setTrace(Trace trace) { m_trace = std::move(trace); }
    void feed(const std::string& bytes);

    // The faults can change while the modem runs.
    const Faults& faults() const { return m_faults; }
    void setFaults(const Faults& faults);

    // The device state, for inspection and for tests that set up a situation.
    Device& device() { return m_device; }
    bool busy() const { return m_busy; }

    // Where this port's data calls lead, and who is told when a call starts
    // (true) and ends (false).
    void setNetworkSide(NetworkSideFactory factory) { m_networkSide = std::move(factory); }
    void setCallWatch(std::function<void(bool up)> watch) { m_callWatch = std::move(watch); }
    bool online() const { return m_call && m_call->online(); }

    // The host's side of the line, as the transport sees it. DTR dropped: the
    // call ends with NO CARRIER (as under AT&D2). The host went away: the call
    // ends without a word.
    void dropDtr();
    void hostGone();

private:
    // A command line waiting its turn; an overlong one is only answered ERROR.
    struct WaitingLine {
        std::string text;
        bool overlong;
    };

    void endLine();
    void pump();
    void execute(const WaitingLine& line);
    void runCommands();
    bool take(const Reply& reply);
    // A command the faults say to refuse.
    bool refused(const std::string& name) const;
    Reply withCall(const Reply& reply);
    void finish(const Reply& final);
    void goOnline(long bitRate);
    void escaped();
    void endCall(const std::string& reason, bool noCarrier);
    void releaseHeld();
    void abortLongCommand();
    std::string resultText(const Reply& final) const;
    std::string faultPrefix();
    void unsolicited(const std::string& line);
    void trace(char direction, const std::string& line) const;

    ScopedScheduler m_scheduler;
    Faults m_faults;
    FirmwareQuirks m_quirks;
    std::mt19937 m_random;
    OutputPipe m_output;
    std::unique_ptr<Device> m_ownDevice;  // null on a port that shares another's
    Device& m_device;
    Trace m_trace;

    std::string m_input;
    bool m_inputOverflow = false;
    std::deque<WaitingLine> m_waitingLines;
    bool m_busy = false;
    bool m_pumping = false;
    bool m_runningLong = false;         // a command that takes time is running
    unsigned m_longCommands = 0;        // counts them, so an aborted one's completion is ignored
    bool m_discardingLine = false;      // the rest of an aborting line
    std::vector<AtCommand> m_commands;  // the line being run
    std::size_t m_nextCommand = 0;
    std::vector<std::string> m_answerLines;
    std::vector<std::string> m_heldReports;
    unsigned m_stormCounter = 0;

    NetworkSideFactory m_networkSide;
    std::function<void(bool)> m_callWatch;
    std::unique_ptr<DataCall> m_call;
};

}  // namespace cellsim
