#include <cellctl/at/CommandQueue.h>

#include <algorithm>
#include <utility>

#include <cellctl/at/FinalResult.h>
#include <cellctl/text/Comparison.h>
#include <cellctl/text/Fields.h>
#include <cellctl/at/TraceFormat.h>

namespace cellctl::at {
namespace {

constexpr char kEchoOff[] = "ATE0";
constexpr char kResyncProbe[] = "AT";
constexpr char kError[] = "ERROR";
// An answer may hold this many lines' worth of bytes; lines beyond are dropped.
constexpr std::size_t kAnswerLinesBudget = 64;
// The most lines whose room is kept from one answer for the next.
constexpr std::size_t kRecycledLinesCapacity = 32;

bool isHostRequest(const Request& request) { return request.kind != RequestKind::Probe; }

std::string describe(const Request& request)
{
    if (request.kind == RequestKind::Probe)
        return request.text;
    return std::string(request.kind == RequestKind::Query ? "query " : "modify ") + std::to_string(request.code);
}

}  // namespace

CommandQueue::CommandQueue(Hooks hooks, const AtPhoneLineOptions& options)
    : m_hooks(std::move(hooks)),
      m_timeoutScale(options.timeoutScale > 0 ? options.timeoutScale : 1.0),
      m_maxAnswerBytes(std::max<std::size_t>(options.maxLineLength, 1) * kAnswerLinesBudget),
      m_tracing(static_cast<bool>(m_hooks.trace))
{
}

void CommandQueue::open(ChannelEvent event, const std::string& description)
{
    m_phase = Phase::Idle;
    m_needsResync = false;
    m_outstandingFinals = 0;
    announce(event, description);
    m_waiting.push_front(Request{RequestKind::Probe, 0, kEchoOff});
    pump();
    flush();
}

void CommandQueue::shutDown(ChannelEvent event, const std::string& description)
{
    m_hooks.stopTimer();
    if (m_inFlight) {
        Request request = std::move(m_inFlight->request);
        m_inFlight.reset();
        answer(request, kError);
    }
    while (!m_waiting.empty()) {
        Request request = std::move(m_waiting.front());
        m_waiting.pop_front();
        answer(request, kError);
    }
    m_phase = Phase::Closed;
    m_needsResync = false;
    m_outstandingFinals = 0;
    announce(event, description);
    flush();
}

void CommandQueue::submit(Request request)
{
    if (m_phase == Phase::Closed) {
        note("line closed, " + describe(request) + " answered ERROR");
        answer(request, kError);
    } else {
        m_waiting.push_back(std::move(request));
        pump();
    }
    flush();
}

void CommandQueue::onLine(const std::string& line)
{
    if (m_tracing)
        m_hooks.trace("< " + printable(maskSecrets(line)));
    switch (m_phase) {
    case Phase::Busy:
        handleInFlight(line);
        break;
    case Phase::Resyncing:
        handleDuringResync(line);
        break;
    case Phase::Idle:
    case Phase::Closed:
        handleUnsolicited(line);
        break;
    }
    flush();
}

void CommandQueue::onTimeout()
{
    if (m_phase == Phase::Busy && m_inFlight->awaitingFinalGrace) {
        note("no final result after the information line; the line is the answer");
        complete(std::string());
    } else if (m_phase == Phase::Busy) {
        InFlight timedOut = std::move(*m_inFlight);
        m_inFlight.reset();
        m_phase = Phase::Idle;
        m_needsResync = true;
        ++m_outstandingFinals;
        // A device silent to the probe that opens the channel may still be
        // running a command from before (a scan it does not abort); that
        // command's final result comes before any answer to this channel.
        if (timedOut.request.kind == RequestKind::Probe && timedOut.request.text == kEchoOff)
            ++m_outstandingFinals;
        std::string shown = printable(maskSecrets(timedOut.prepared.line));
        note("timeout: " + shown);
        announce(ChannelEvent::Timeout, shown);
        answer(timedOut.request, kError);
        pump();
    } else if (m_phase == Phase::Resyncing) {
        if (m_finalsDuringResync > 0) {
            note("answers were lost; in step again");
            endResync();
        } else {
            m_phase = Phase::Idle;
            note("timeout: AT (the device is silent)");
            announce(ChannelEvent::Timeout, kResyncProbe);
            if (!m_waiting.empty()) {
                Request request = std::move(m_waiting.front());
                m_waiting.pop_front();
                answer(request, kError);
            }
            pump();
        }
    }
    flush();
}

void CommandQueue::abortInFlight(std::chrono::milliseconds grace)
{
    if (m_phase != Phase::Busy || m_inFlight->aborted)
        return;
    m_inFlight->aborted = true;
    note("aborting " + printable(maskSecrets(m_inFlight->prepared.line)));
    writeLine(std::string());
    m_hooks.startTimer(grace);
    flush();
}

void CommandQueue::note(const std::string& text)
{
    if (m_tracing)
        m_hooks.trace("! " + text);
}

void CommandQueue::pump()
{
    while (m_phase == Phase::Idle && !m_waiting.empty()) {
        if (m_needsResync) {
            startResync();
            return;
        }
        Request request = std::move(m_waiting.front());
        m_waiting.pop_front();
        send(std::move(request));
    }
}

void CommandQueue::send(Request request)
{
    PreparedCommand prepared = prepareCommand(request, m_session);
    if (prepared.refused()) {
        note("refused " + describe(request) + ": " + prepared.refusal + "; answered ERROR, nothing written");
        answer(request, kError);
        return;
    }
    m_phase = Phase::Busy;
    std::chrono::milliseconds timeout = scaled(prepared.timeout);
    m_inFlight.emplace(InFlight{std::move(request), std::move(prepared), RawAnswer(), 0});
    m_inFlight->answer.informationLines.swap(m_spareLines);
    writeLine(m_inFlight->prepared.line);
    m_hooks.startTimer(timeout);
}

void CommandQueue::startResync()
{
    m_phase = Phase::Resyncing;
    ++m_outstandingFinals;
    m_finalsDuringResync = 0;
    writeLine(kResyncProbe);
    m_hooks.startTimer(scaled(probeTimeout()));
}

void CommandQueue::endResync()
{
    m_hooks.stopTimer();
    m_phase = Phase::Idle;
    m_needsResync = false;
    m_outstandingFinals = 0;
    pump();
}

void CommandQueue::handleInFlight(const std::string& line)
{
    const std::string& echo = m_inFlight->prepared.line;
    // Echo, even with echo off; a result glued to the echo is kept.
    if (text::startsWithIgnoringCase(line, echo)) {
        std::string rest = text::trimBlanks(line.substr(echo.size()));
        if (!rest.empty())
            handleAnswerLine(rest);
        return;
    }
    handleAnswerLine(line);
}

void CommandQueue::handleAnswerLine(const std::string& line)
{
    const PreparedCommand& prepared = m_inFlight->prepared;
    if (isFinalResult(line, prepared.dials()))
        complete(normaliseFinalResult(line));
    else if (prepared.ownsByPrefix(line))
        collect(line);
    else if (routeReport(line))
        return;
    else if (prepared.takesUnprefixedLine(line, m_inFlight->answer.informationLines))
        collect(line);
    else
        drop(isIgnoredUnsolicited(line) ? "unsolicited, not used" : "not part of the answer");
}

void CommandQueue::handleDuringResync(const std::string& line)
{
    if (isFinalResult(line)) {
        ++m_finalsDuringResync;
        if (m_finalsDuringResync >= m_outstandingFinals) {
            note("in step again");
            endResync();
        } else {
            drop("late final result");
        }
    } else if (!routeReport(line)) {
        drop("late answer");
    }
}

void CommandQueue::handleUnsolicited(const std::string& line)
{
    if (routeReport(line))
        return;
    if (isFinalResult(line))
        drop("final result without a command");
    else if (isIgnoredUnsolicited(line))
        drop("unsolicited, not used");
    else
        drop("unknown line");
}

bool CommandQueue::routeReport(const std::string& line)
{
    const DialectEntry* entry = findReportEntry(line);
    if (entry == nullptr)
        return false;
    std::optional<std::string> text = shapeReport(*entry, line);
    if (!text)
        return false;
    m_outbox.push_back(Outgoing{Outgoing::Type::Report, Request{RequestKind::Modify, entry->code, std::string()}, *text,
                                ChannelEvent::Opened});
    return true;
}

void CommandQueue::collect(const std::string& line)
{
    if (m_inFlight->answerBytes + line.size() > m_maxAnswerBytes) {
        drop("answer too long");
        return;
    }
    m_inFlight->answerBytes += line.size();
    m_inFlight->answer.informationLines.push_back(line);
    if (m_inFlight->prepared.finalGrace.count() > 0 && !m_inFlight->awaitingFinalGrace) {
        m_inFlight->awaitingFinalGrace = true;
        m_hooks.startTimer(scaled(m_inFlight->prepared.finalGrace));
    }
}

void CommandQueue::complete(const std::string& finalResult)
{
    m_hooks.stopTimer();
    InFlight done = std::move(*m_inFlight);
    m_inFlight.reset();
    m_phase = Phase::Idle;
    done.answer.finalResult = finalResult;
    std::optional<std::string> shaped = shapeAnswer(done.prepared.shaping, done.request.text, done.answer, m_session);
    if (shaped)
        answer(done.request, std::move(*shaped));
    else
        withhold(done.request, done.answer);
    recycleLines(done.answer.informationLines);
    pump();
}

// The next command collects its lines in the vector of the last one, so a
// steady stream of commands does not allocate one per answer. A vector grown
// by a very long answer is let go.
void CommandQueue::recycleLines(std::vector<std::string>& lines)
{
    if (lines.capacity() > kRecycledLinesCapacity)
        return;
    lines.clear();
    m_spareLines.swap(lines);
}

void CommandQueue::answer(const Request& request, std::string text)
{
    if (isHostRequest(request))
        m_outbox.push_back(Outgoing{Outgoing::Type::Answer, request, std::move(text), ChannelEvent::Opened});
}

void CommandQueue::withhold(const Request& request, const RawAnswer& raw)
{
    note("no value in the answer to " + describe(request) + "; nothing delivered");
    std::vector<std::string> lines = raw.informationLines;
    lines.push_back(raw.finalResult);
    m_outbox.push_back(Outgoing{Outgoing::Type::Withheld, request, text::join(lines, "\n"), ChannelEvent::Opened});
}

void CommandQueue::announce(ChannelEvent event, const std::string& description)
{
    m_outbox.push_back(
        Outgoing{Outgoing::Type::Status, Request{RequestKind::Probe, 0, std::string()}, description, event});
}

void CommandQueue::writeLine(const std::string& line)
{
    if (m_tracing)
        m_hooks.trace("> " + printable(maskSecrets(line)));
    m_hooks.write(line);
}

void CommandQueue::drop(const std::string& why) { note("dropped: " + why); }

void CommandQueue::flush()
{
    if (m_flushing)
        return;
    m_flushing = true;
    // Callbacks may add to the outbox while it is delivered; the delivered
    // items are erased at the end (the vector keeps its room), also when a
    // callback throws.
    struct Done {
        CommandQueue& queue;
        std::size_t delivered = 0;
        ~Done()
        {
            queue.m_outbox.erase(queue.m_outbox.begin(),
                                 queue.m_outbox.begin() + static_cast<std::ptrdiff_t>(delivered));
            queue.m_flushing = false;
        }
    } done{*this};
    while (done.delivered < m_outbox.size()) {
        Outgoing outgoing = std::move(m_outbox[done.delivered]);
        ++done.delivered;
        deliver(outgoing);
    }
}

void CommandQueue::deliver(const Outgoing& outgoing)
{
    switch (outgoing.type) {
    case Outgoing::Type::Answer:
        m_hooks.answer(outgoing.request, outgoing.text);
        break;
    case Outgoing::Type::Withheld:
        if (m_hooks.withheld)
            m_hooks.withheld(outgoing.request);
        else
            m_hooks.answer(outgoing.request, outgoing.text);
        break;
    case Outgoing::Type::Report:
        m_hooks.report(outgoing.request.code, outgoing.text);
        break;
    case Outgoing::Type::Status:
        m_hooks.status(outgoing.event, outgoing.text);
        break;
    }
}

std::chrono::milliseconds CommandQueue::scaled(std::chrono::milliseconds timeout) const
{
    double scaled = static_cast<double>(timeout.count()) * m_timeoutScale;
    return std::chrono::milliseconds(static_cast<long long>(std::clamp(scaled, 1.0, 1e12)));
}

}  // namespace cellctl::at
