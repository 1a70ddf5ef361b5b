#include "Session.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <csignal>
#include <ostream>
#include <system_error>

#include <boost/asio/steady_timer.hpp>

#include <cellctl/at/AtPhoneLine.h>

#include "CliError.h"
#include "devices/DeviceReport.h"
#include "datalink/DataLinkError.h"
#include "datalink/UucpLock.h"

namespace cellctl::cli {
namespace {

// The command the AT channel sends first on opening (echo off).
constexpr char kChannelOpening[] = "ATE0";

std::string secondsText(Clock::duration d)
{
    double s = std::chrono::duration_cast<Seconds>(d).count();
    char text[32];
    std::snprintf(text, sizeof text, s < 10 ? "%.1f s" : "%.0f s", s);
    return text;
}

// What the channel's open() errors mean for the user.
CliError openError(const std::system_error& error, const std::string& target)
{
    int code = error.code().value();
    if (error.code().category() == std::generic_category() || error.code().category() == std::system_category()) {
        if (code == ENOENT)
            return CliError(ErrorKind::DeviceNotFound, "device not found: " + target);
        if (code == EBUSY)
            return CliError(ErrorKind::DeviceBusy,
                            "device busy: another program holds " + target + "; close it and try again");
        if (code == ECONNREFUSED || code == EHOSTUNREACH || code == ENETUNREACH)
            return CliError(ErrorKind::DeviceNotFound, "nothing answers at " + target + ": " + error.code().message());
    }
    return CliError(ErrorKind::DeviceUnusable, "cannot open " + target + ": " + error.code().message());
}

// --tcp takes HOST:PORT, and also tcp:HOST:PORT as cellctl itself names such a
// target in its messages. The option's own check has seen the port; what the
// prefix could hide is a missing host.
std::string tcpHostAndPort(const std::string& given)
{
    const std::string prefix = "tcp:";
    std::string hostAndPort = given.compare(0, prefix.size(), prefix) == 0 ? given.substr(prefix.size()) : given;
    size_t colon = hostAndPort.rfind(':');
    if (colon == std::string::npos || colon == 0)
        throw CliError(ErrorKind::BadArguments, "--tcp: expected HOST:PORT, got " + given);
    return hostAndPort;
}

}  // namespace

Session::Session(const SessionOptions& options, std::ostream& traceOut)
    : m_signals(m_io, SIGINT, SIGTERM),
      m_timeoutSeconds(options.timeoutSeconds)
{
    awaitInterrupt();
    openChannel(options, traceOut);

    // Start-up in the library's order: the assistors exist (SIM, operators,
    // mode, then power), the channel goes to each, then the callbacks.
    m_assistors = std::make_unique<Assistors>();
    m_assistors->attach(*m_line);
    m_results.connectTo(*m_assistors);
    // After the assistors: a step sees an answer once the library has read it.
    auto relay = [this](PhoneLine::QueryType code, const std::string& text) { m_answers.deliver(code, text); };
    m_line->connectQueryResult(relay);
    m_line->connectModifyResult(relay);
}

void Session::awaitInterrupt()
{
    m_signals.async_wait([this](const boost::system::error_code& error, int) {
        if (error)
            return;
        m_interrupted = true;
        awaitInterrupt();
    });
}

Session::~Session()
{
    abortCommandInFlight();
    // Shut-down in the library's order: detach every helper, destroy the
    // assistors, then the channel; the simulated modem goes last.
    if (m_assistors)
        m_assistors->detach();
    m_assistors.reset();
    if (m_line) {
        try {
            m_line->close();
        } catch (const std::exception&) {
            // Closing is best effort; the line is destroyed next anyway.
        }
    }
    m_line.reset();
    m_builtInModem.reset();
}

// Leaving while a command runs (an interrupt, a step out of time) would leave
// the modem busy with it, a network scan for a minute or more, and the next
// cellctl would find it deaf. The command is aborted and its final result
// awaited briefly, so that the modem is left ready.
void Session::abortCommandInFlight()
{
    if (!m_line || !m_line->isOpen() || m_line->pendingCommands() == 0)
        return;
    m_line->abortCommand(limits::kAbortGrace);
    runLoop([this] { return m_line->pendingCommands() == 0 || !m_line->isOpen(); },
            limits::kAbortGrace + std::chrono::milliseconds(500));
}

void Session::openChannel(const SessionOptions& given, std::ostream& traceOut)
{
    SessionOptions options = given;
    findRealModem(options);
    std::string target;
    if (!options.device.empty()) {
        target = options.device;
        m_portPath = target;
        m_targetDescription = m_foundDescription.empty() ? options.device : m_foundDescription;
        // Programs that lock the UUCP way (pppd, minicom, socat with its lock
        // option) see the port taken before anything is written to it.
        try {
            m_lock = std::make_unique<UucpLock>(target);
        } catch (const DataLinkError& error) {
            throw CliError(ErrorKind::DeviceBusy, error.what());
        }
    } else if (!options.tcp.empty()) {
        target = "tcp:" + tcpHostAndPort(options.tcp);
        m_targetDescription = target;
    } else {
        m_builtInModem = std::make_unique<BuiltInModem>(options.simulator);
        target = m_builtInModem->path();
        m_portPath = target;
        m_targetDescription = "built-in simulated modem";
    }

    at::AtPhoneLineOptions lineOptions;
    lineOptions.baudRate = options.baudRate;
    if (options.timeoutSeconds)
        lineOptions.timeoutScale = std::max(1.0, *options.timeoutSeconds / limits::kChannelAnswer.count());
    m_line = std::make_unique<at::AtPhoneLine>(m_io, lineOptions);
    if (options.trace) {
        m_line->setTrace([&traceOut](const std::string& line) { traceOut << line << std::endl; });
    }
    m_line->connectStatus([this](at::ChannelEvent event, const std::string& description) {
        if (event == at::ChannelEvent::DeviceLost && !m_deviceLost) {
            m_deviceLost = true;
            m_channelProblem = description;
        } else if (event == at::ChannelEvent::Timeout) {
            m_lost.push_back(description);
            if (!m_commandTimedOut) {
                m_commandTimedOut = true;
                m_channelProblem = description;
            }
        }
    });
    try {
        m_line->open(target);
    } catch (const std::system_error& error) {
        throw openError(error, m_targetDescription);
    }
}

Clock::duration Session::limit(Seconds natural) const
{
    Seconds chosen = m_timeoutSeconds ? Seconds(*m_timeoutSeconds) : natural;
    return toDuration(chosen);
}

void Session::checkDevice()
{
    if (m_interrupted)
        throw CliError(ErrorKind::Interrupted, "interrupted");
    if (m_deviceLost)
        throw CliError(ErrorKind::DeviceLost,
                       "the modem went away: " + (m_channelProblem.empty() ? m_targetDescription : m_channelProblem));
}

void Session::checkChannel()
{
    checkDevice();
    if (m_commandTimedOut) {
        std::string problem = m_channelProblem.empty() ? m_targetDescription : m_channelProblem;
        throw CliError(ErrorKind::Timeout, "the modem did not answer in time: " + problem + sessionLosses(),
                       {{"lost_answers", m_lost.size()}});
    }
}

std::string Session::lostCommands(std::size_t from) const
{
    std::vector<std::pair<std::string, int>> counts;  // in the order of the first loss
    for (std::size_t i = from; i < m_lost.size(); ++i) {
        auto found = std::find_if(counts.begin(), counts.end(),
                                  [&](const std::pair<std::string, int>& c) { return c.first == m_lost[i]; });
        if (found == counts.end())
            counts.emplace_back(m_lost[i], 1);
        else
            ++found->second;
    }
    std::string text;
    for (const auto& [command, count] : counts)
        text += (text.empty() ? "" : ", ") + command + (count > 1 ? " x" + std::to_string(count) : "");
    return text;
}

std::string Session::sessionLosses() const
{
    if (m_lost.empty())
        return "";
    return " (" + std::to_string(m_lost.size()) + (m_lost.size() == 1 ? " answer" : " answers") +
           " lost in this session)";
}

CliError Session::lostAnswerError(const std::string& what, std::size_t firstLost, const std::string& outcome) const
{
    return CliError(
        ErrorKind::Timeout,
        "answers from the modem were lost " + what + ": " + lostCommands(firstLost) + "; " + outcome + sessionLosses(),
        {{"lost_answers", m_lost.size()}});
}

void Session::settleChannel()
{
    // The channel answers every command within its limit for it (ERROR when
    // the answer is lost), so this ends; the bound is the longest of those.
    runLoop(
        [this] {
            checkDevice();
            return m_line->pendingCommands() == 0;
        },
        toDuration(limits::kScan));
    m_commandTimedOut = false;  // lost answers of commands no step waits for
    m_channelProblem.clear();
}

Session::StepLosses Session::runStep(const std::function<void()>& send, const std::function<bool()>& done,
                                     const std::string& what, Seconds natural)
{
    settleChannel();
    StepLosses losses;
    losses.firstLost = m_lost.size();
    // The limit runs from the last sign of life: an answer, a report, or a
    // loss the channel reported after waiting its own limit. A step of many
    // commands may take longer than the limit when answers get lost.
    Clock::time_point lastHeard = Clock::now();
    Listening<int, std::string> heard(m_answers, [&lastHeard](int, const std::string&) { lastHeard = Clock::now(); });
    std::size_t lossesSeen = m_lost.size();
    auto finished = [&] {
        checkDevice();
        if (m_lost.size() != lossesSeen) {
            lossesSeen = m_lost.size();
            lastHeard = Clock::now();
        }
        return done() && m_line->pendingCommands() == 0;
    };
    send();
    Clock::duration stepLimit = limit(natural);
    bool answered = false;
    while (!answered && Clock::now() - lastHeard < stepLimit)
        answered = runLoop(finished, lastHeard + stepLimit - Clock::now());
    losses.lost = m_lost.size() - losses.firstLost;
    m_commandTimedOut = false;  // the step has taken its losses
    m_channelProblem.clear();
    // Out of time with the result in but a command of the step still running:
    // the result stands, and the late answer is awaited by the next step.
    if (!answered && !done())
        throw CliError(ErrorKind::Timeout, "no answer from the modem " + what + " within " + secondsText(stepLimit));
    return losses;
}

std::string Session::read(PhoneLine::QueryType code, const std::string& what, Seconds natural)
{
    std::size_t firstLost = 0;
    for (int attempt = 1;; ++attempt) {
        std::optional<std::string> answer;
        Listening<int, std::string> listening(m_answers, [&answer, code](int answered, const std::string& text) {
            if (answered == code && !answer)
                answer = text;
        });
        StepLosses losses =
            runStep([this, code] { m_line->query(code); }, [&answer] { return answer.has_value(); }, what, natural);
        firstLost = attempt == 1 ? losses.firstLost : firstLost;
        if (losses.lost == 0)
            return *answer;
        if (attempt == kQueryAttempts)
            throw lostAnswerError(what, firstLost, "asked " + std::to_string(attempt) + " times");
    }
}

void Session::awaitModem(const std::function<void(const std::string& limit)>& onBusy)
{
    const std::size_t firstLost = m_lost.size();
    const Clock::duration waitLimit = limit(limits::kEarlierCommand);
    const Clock::time_point deadline = Clock::now() + waitLimit;
    bool busy = false;
    for (;;) {
        const std::size_t lostBefore = m_lost.size();
        m_line->query(PhoneLine::SignalQualityGsm);
        // An attempt ends when the channel has answered it, a lost answer
        // included; a modem that merely lost one answer answers the next.
        bool settled = runLoop(
            [&] {
                checkDevice();
                return m_line->pendingCommands() == 0;
            },
            deadline - Clock::now());
        // The channel's own opening command may have lost its answer before
        // the modem answered this one: that alone is no sign of a busy modem.
        bool lostHere = std::any_of(m_lost.begin() + static_cast<std::ptrdiff_t>(lostBefore), m_lost.end(),
                                    [](const std::string& command) { return command != kChannelOpening; });
        if (settled && !lostHere)
            break;  // answered, whatever the answer: the modem listens
        if (Clock::now() >= deadline) {
            std::string unanswered = lostCommands(firstLost);
            throw CliError(ErrorKind::Timeout,
                           "the modem did not answer within " + secondsText(waitLimit) +
                               ": it may still be busy, finishing an earlier command, or not answer AT at all" +
                               (unanswered.empty() ? "" : " (unanswered: " + unanswered + ")"));
        }
        if (!busy) {
            busy = true;
            onBusy(secondsText(waitLimit));
        }
    }
    m_lost.resize(firstLost);
    m_commandTimedOut = false;
    m_channelProblem.clear();
}

bool Session::runLoop(const std::function<bool()>& done, Clock::duration limit)
{
    auto expired = std::make_shared<bool>(false);
    boost::asio::steady_timer timer(m_io, limit);
    timer.async_wait([expired](const boost::system::error_code& error) {
        if (!error)
            *expired = true;
    });
    while (!done()) {
        if (*expired)
            return false;
        if (m_io.run_one() == 0)
            m_io.restart();
    }
    return true;
}

std::string Session::knownDataPort() const { return m_builtInModem ? m_builtInModem->dataPath() : m_foundDataPort; }

void Session::findRealModem(SessionOptions& options)
{
    bool asked = options.device == "auto";
    bool byDefault = options.device.empty() && options.tcp.empty() && !options.simulatorChosen;
    if (!asked && !byDefault)
        return;
    std::optional<AutoDevice> found = chooseAutoDevice(deviceRootsFromEnvironment());
    if (!found) {
        if (asked)
            throw CliError(ErrorKind::DeviceNotFound, "no modem answers AT (see cellctl devices)");
        options.device.clear();  // the built-in simulated modem
        return;
    }
    options.device = found->atPort;
    m_foundDataPort = found->dataPort.value_or("");
    m_foundDescription = found->description;
}

void Session::releasePort() { m_line->close(); }

void Session::reclaimPort()
{
    try {
        m_line->reopen();
    } catch (const std::system_error& error) {
        throw openError(error, m_targetDescription);
    }
}

bool Session::waitFor(const std::function<bool()>& done, Clock::duration limit)
{
    return runLoop(
        [this, &done] {
            checkChannel();  // throws on an interrupt, a lost device, an unanswered command
            return done();
        },
        limit);
}

void Session::pause(Seconds duration)
{
    waitFor([] { return false; }, toDuration(duration));
}

}  // namespace cellctl::cli
