#include <cellsim/Modem.h>

#include <cellsim/CommandTable.h>

#include <algorithm>

namespace cellsim {
namespace {

// Harmless reports a busy network sends: calls, call progress, supplementary
// services and packet events. The host is expected to drop them.
const char* const stormLines[] = {
    "RING",     "+CRING: VOICE", "^DCPI: 1,2,0",      "^DSCI: 1,1,4,0,0,\"10086\",129",
    "+CSSI: 1", "+CSSU: 2",      "+CGEV: ME CLASS B",
};

// A line that cannot be a result or a report: it starts with a byte above
// 0x7F and holds no line end.
std::string garbageLine(std::mt19937& random)
{
    std::uniform_int_distribution<int> length(1, 16);
    std::uniform_int_distribution<int> byte(1, 255);
    std::string line(1, static_cast<char>(0x80 + byte(random) % 0x80));
    for (int i = length(random); i > 0; --i) {
        char c = static_cast<char>(byte(random));
        while (c == '\r' || c == '\n') {
            c = static_cast<char>(byte(random));
        }
        line += c;
    }
    return line;
}

std::string framed(const std::string& line) { return "\r\n" + line + "\r\n"; }

}  // namespace

Modem::Modem(Scheduler& scheduler, const ModemOptions& options)
    : m_scheduler(scheduler),
      m_faults(options.faults),
      m_quirks(options.quirks),
      m_random(options.seed),
      m_output(m_scheduler, m_random),
      m_ownDevice(
          std::make_unique<Device>(options, m_scheduler, [this](const std::string& line) { unsolicited(line); })),
      m_device(*m_ownDevice)
{
    m_output.setSplitWrites(m_faults.splitWrites);
}

Modem::Modem(Scheduler& scheduler, Modem& primary)
    : m_scheduler(scheduler),
      m_faults(primary.m_faults),
      m_random(primary.m_device.options().seed + 1),
      m_output(m_scheduler, m_random),
      m_device(primary.m_device)
{
    m_output.setSplitWrites(m_faults.splitWrites);
}

void Modem::setFaults(const Faults& faults)
{
    m_faults = faults;
    m_output.setSplitWrites(faults.splitWrites);
}

void Modem::feed(const std::string& bytes)
{
    if (online()) {
        m_call->fromHost(bytes);
        return;
    }
    std::string echoed;
    for (char c : bytes) {
        // Checked per character: the line that started the command and the
        // character that aborts it may arrive in one read. A line feed after
        // the command line's carriage return is no abort.
        if (m_runningLong && m_device.options().abortOnCharacter && c != '\n') {
            abortLongCommand();
            m_discardingLine = true;
        }
        if (m_discardingLine) {
            m_discardingLine = c != '\r';
            continue;
        }
        if (m_device.settings().echo || m_faults.forcedEcho) {
            echoed += c;
        }
        if (c == '\r' || (c == '\n' && !m_input.empty())) {
            m_output.write(echoed);
            echoed.clear();
            endLine();
        } else if (c == '\b' || c == 0x7F) {
            if (!m_input.empty()) {
                m_input.pop_back();
            }
        } else if (c != '\n') {
            if (m_input.size() < MaxLineLength) {
                m_input += c;
            } else {
                m_inputOverflow = true;
            }
        }
    }
    m_output.write(echoed);
}

void Modem::endLine()
{
    WaitingLine line{std::string(), m_inputOverflow};
    line.text.swap(m_input);
    m_inputOverflow = false;
    if (line.text.empty()) {
        return;
    }
    if (m_waitingLines.size() >= MaxWaitingLines) {
        trace('<', "(line dropped, too many waiting) " + line.text);
        return;
    }
    m_waitingLines.push_back(std::move(line));
    pump();
}

// Starts waiting lines one at a time. A line that completes at once lets the
// loop take the next; one that takes time restarts the pump when it ends.
void Modem::pump()
{
    if (m_pumping) {
        return;
    }
    m_pumping = true;
    while (!m_busy && !m_waitingLines.empty()) {
        WaitingLine line = m_waitingLines.front();
        m_waitingLines.pop_front();
        m_busy = true;
        if (m_faults.latency.count() > 0) {
            m_scheduler.after(m_faults.latency, [this, line] { execute(line); });
        } else {
            execute(line);
        }
    }
    m_pumping = false;
}

void Modem::execute(const WaitingLine& line)
{
    if (line.overlong) {
        trace('<', "(overlong line) " + line.text.substr(0, 32));
        m_commands.clear();
        m_answerLines.clear();
        finish(Reply::error());
        return;
    }
    const auto parsed = parseCommandLine(line.text);
    if (!parsed) {
        m_busy = false;  // no "AT" in it: not for the modem
        pump();
        return;
    }
    trace('<', line.text);
    m_commands = parsed->commands;
    m_nextCommand = 0;
    m_answerLines.clear();
    if (!parsed->wellFormed) {
        finish(Reply::error());
        return;
    }
    runCommands();
}

void Modem::runCommands()
{
    while (m_nextCommand < m_commands.size()) {
        const AtCommand& command = m_commands[m_nextCommand++];
        const CommandEntry* entry = refused(command.name) ? nullptr : findCommand(command.name);
        if (!take(entry ? entry->handler(m_device, command) : Reply::error())) {
            return;
        }
    }
    finish(Reply::ok());
}

bool Modem::refused(const std::string& name) const
{
    return std::find(m_faults.refused.begin(), m_faults.refused.end(), name) != m_faults.refused.end();
}

// Takes one command's reply: true to go on with the next command of the line.
bool Modem::take(const Reply& given)
{
    if (given.pending()) {
        m_runningLong = true;
        m_scheduler.after(given.wait, [this, generation = ++m_longCommands, then = given.then] {
            if (generation != m_longCommands) {
                return;  // aborted meanwhile
            }
            m_runningLong = false;
            if (take(then())) {
                runCommands();
            }
        });
        return false;
    }
    const Reply reply = withCall(given);
    m_answerLines.insert(m_answerLines.end(), reply.lines.begin(), reply.lines.end());
    if (!reply.succeeded()) {
        finish(reply);
        return false;
    }
    return true;
}

// V.250: a character received while a command that takes time runs aborts
// it. The command ends with ERROR; the line that carried the character is
// discarded up to its end, so the abort gets exactly one final result.
void Modem::abortLongCommand()
{
    ++m_longCommands;
    m_runningLong = false;
    trace('<', "(a character aborts the command in progress)");
    m_commands.clear();
    m_answerLines.clear();
    finish(Reply::error());
}

// Carries out what a call command's answer asks of this port's call.
Reply Modem::withCall(const Reply& reply)
{
    switch (reply.call) {
    case Reply::Call::Keep:
        break;
    case Reply::Call::Start:
        return m_call ? Reply::error() : reply;  // one call per port
    case Reply::Call::Resume: {
        if (!m_call) {
            return Reply::noCarrier();
        }
        Reply resumed = reply;
        resumed.bitRate = m_call->bitRate();
        return resumed;
    }
    case Reply::Call::End:
        endCall(std::string(), false);
        break;
    }
    return reply;
}

std::string Modem::resultText(const Reply& final) const
{
    switch (final.result) {
    case Reply::Result::Ok:
        return "OK";
    case Reply::Result::Error:
        return "ERROR";
    case Reply::Result::NoCarrier:
        return "NO CARRIER";
    case Reply::Result::Connect:
        return "CONNECT " + std::to_string(final.bitRate);
    case Reply::Result::Cme:
        break;
    }
    switch (m_device.settings().errorMode) {
    case 0:
        return "ERROR";
    case 2:
        return std::string("+CME ERROR: ") + cmeErrorText(final.cme);
    default:
        return "+CME ERROR: " + std::to_string(static_cast<int>(final.cme));
    }
}

std::string Modem::faultPrefix()
{
    std::string prefix;
    if (m_faults.garbage) {
        prefix += framed(garbageLine(m_random));
    }
    for (unsigned i = 0; i < m_faults.storm; ++i) {
        prefix += framed(stormLines[m_stormCounter++ % (sizeof(stormLines) / sizeof(stormLines[0]))]);
    }
    return prefix;
}

void Modem::finish(const Reply& final)
{
    const std::string result = resultText(final);
    const bool dropped =
        m_faults.dropRate > 0 && std::uniform_real_distribution<double>(0.0, 1.0)(m_random) < m_faults.dropRate;
    if (dropped) {
        trace('>', "(answer dropped) " + result);
    } else {
        std::string answer = faultPrefix();
        for (const std::string& line : m_answerLines) {
            trace('>', quirkyLine(m_quirks, line));
            answer += framed(quirkyLine(m_quirks, line));
        }
        if (std::optional<std::string> sent = quirkyFinalResult(m_quirks, m_answerLines, result)) {
            trace('>', *sent);
            answer += framed(*sent);
        }
        m_output.write(answer);
    }
    m_answerLines.clear();
    m_commands.clear();
    m_busy = false;
    if (final.result == Reply::Result::Connect) {
        goOnline(final.bitRate);
    } else {
        releaseHeld();
    }
}

// After CONNECT the port carries data. Command lines typed ahead are dropped:
// what follows the dial is the data stream's.
void Modem::goOnline(long bitRate)
{
    m_input.clear();
    m_inputOverflow = false;
    m_waitingLines.clear();
    if (m_call) {
        m_call->resume();
        return;
    }
    m_call = std::make_unique<DataCall>(
        m_scheduler, m_networkSide, bitRate,
        DataCall::Events{[this](const std::string& bytes) { m_output.write(bytes); }, [this] { escaped(); },
                         [this](const std::string& reason) { endCall(reason, true); }});
    if (m_callWatch) {
        m_callWatch(true);
    }
}

// The host escaped with "+++": the call stays, the port takes commands.
void Modem::escaped()
{
    trace('>', "OK");
    m_output.write(framed("OK"));
    releaseHeld();
}

void Modem::dropDtr() { endCall("DTR dropped", true); }

void Modem::hostGone() { endCall("host closed the port", false); }

// Ends this port's call, if any. A reason is what +CEER tells from now on;
// NO CARRIER tells the host, at once when the port was carrying data.
void Modem::endCall(const std::string& reason, bool noCarrier)
{
    if (!m_call) {
        return;
    }
    const bool wasOnline = m_call->online();
    m_call.reset();
    if (!reason.empty()) {
        m_device.setLastCallEnd(reason);
        trace('>', "(call ended: " + reason + ")");
    }
    if (m_callWatch) {
        m_callWatch(false);
    }
    if (noCarrier && !wasOnline) {
        unsolicited("NO CARRIER");
        return;
    }
    if (noCarrier) {
        trace('>', "NO CARRIER");
        m_output.write(framed("NO CARRIER"));
    }
    if (wasOnline) {
        releaseHeld();
    }
}

// The port takes commands again: held reports go out, waiting lines run.
void Modem::releaseHeld()
{
    std::vector<std::string> held;
    held.swap(m_heldReports);
    for (const std::string& report : held) {
        unsolicited(report);
    }
    pump();
}

void Modem::unsolicited(const std::string& line)
{
    if (m_busy || online()) {
        if (m_heldReports.size() < MaxHeldReports) {
            m_heldReports.push_back(line);
        } else {
            trace('>', "(report dropped, too many held) " + line);
        }
        return;
    }
    trace('>', quirkyLine(m_quirks, line));
    m_output.write(framed(quirkyLine(m_quirks, line)));
}

void Modem::trace(char direction, const std::string& line) const
{
    if (m_trace) {
        m_trace(direction, line);
    }
}

}  // namespace cellsim
