#include "LoadRun.h"

#include <algorithm>
#include <sstream>

#include "SimulatorProcess.h"

namespace cellctl::stress {

namespace {

constexpr int kModeReport = PhoneLine::NetworkModeChanged;

}  // namespace

const std::vector<LoadStep>& loadCycle()
{
    static const std::vector<LoadStep> cycle = {
        {true, PhoneLine::SignalQualityGsm, "", "+CSQ: 99,99\nOK", ""},
        {false, PhoneLine::NetworkMode, "1,2,2", "OK", "2"},
        {true, PhoneLine::PhoneFunctionality, "", "+CFUN: 0\nOK", ""},
        {false, PhoneLine::NetworkMode, "1,0", "OK", "0"},
        {true, PhoneLine::SimCardMode, "", "^DUSIM: 1\nOK", ""},
        {true, PhoneLine::PinAttemptsRemaining, "", "^DRAP: 3,10,3,10\nOK", ""},
        {true, PhoneLine::RevisionIdentification, "", "CELLSIM TD-HSDPA V1.0.0\nOK", ""},
        {true, PhoneLine::PinStatus, "", "Ready", ""},
    };
    return cycle;
}

LoadRun::LoadRun(boost::asio::io_context& io, at::AtPhoneLine& line, LoadOptions options)
    : m_io(io),
      m_line(line),
      m_options(options)
{
    m_queryConnection = m_line.connectQueryResult(
        [this](PhoneLine::QueryType code, const std::string& text) { onAnswer(true, code, text); });
    m_modifyConnection = m_line.connectModifyResult([this](PhoneLine::QueryType code, const std::string& text) {
        if (code == kModeReport)
            onReport(text);
        else
            onAnswer(false, code, text);
    });
    m_statusConnection = m_line.connectStatus([this](at::ChannelEvent event, const std::string&) {
        if (event == at::ChannelEvent::Timeout)
            ++m_counts.timeouts;
        else if (event == at::ChannelEvent::DeviceLost)
            ++m_counts.devicesLost;
        else if (event == at::ChannelEvent::Reopened)
            ++m_counts.reopened;
        if (onEvent)
            onEvent(event);
    });
}

LoadRun::~LoadRun()
{
    m_line.disconnect(m_queryConnection);
    m_line.disconnect(m_modifyConnection);
    m_statusConnection.disconnect();
}

LoadCounts LoadRun::run()
{
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + m_options.timeLimit;
    submitMore();
    // Until every command is answered and, on a well-behaved device, the
    // last mode report is in.
    while (m_counts.sent < m_options.commands || !m_open.empty() || (m_options.strict && !m_reportsDue.empty())) {
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        if (m_io.stopped())
            m_io.restart();
        m_io.run_one_for(std::chrono::milliseconds(100));
    }
    // Anything delivered after the end counts as well.
    m_io.restart();
    m_io.run_for(std::chrono::milliseconds(200));
    m_io.restart();
    m_counts.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m_counts.finished = m_counts.sent == m_options.commands && m_open.empty();
    m_counts.rssEndKib = test::residentKib();
    m_counts.rssPeakKib = std::max(m_counts.rssPeakKib, m_counts.rssEndKib);
    m_counts.reportsMissing = m_options.strict ? m_reportsDue.size() : 0;
    return m_counts;
}

void LoadRun::submitMore()
{
    const std::vector<LoadStep>& cycle = m_options.cycle;
    while (m_open.size() < m_options.window && m_counts.sent < m_options.commands) {
        const std::size_t index = m_counts.sent % cycle.size();
        const LoadStep& step = cycle[index];
        m_open.push_back(Open{index});
        ++m_counts.sent;
        if (step.query)
            m_line.query(static_cast<PhoneLine::QueryType>(step.code));
        else
            m_line.modify(static_cast<PhoneLine::QueryType>(step.code), step.text);
    }
}

void LoadRun::onAnswer(bool query, int code, const std::string& text)
{
    if (m_open.empty()) {
        ++m_counts.extra;
        return;
    }
    const LoadStep& step = m_options.cycle[m_open.front().step];
    m_open.pop_front();
    if (step.query != query || step.code != code) {
        ++m_counts.misrouted;
    } else if (text == step.answer) {
        ++m_counts.answered;
        ++m_counts.exact;
        if (!step.report.empty())
            m_reportsDue.push_back(step.report);
    } else if (text == "ERROR" && !m_options.strict) {
        ++m_counts.answered;
        ++m_counts.failed;
    } else {
        ++m_counts.misrouted;
    }
    sampleMemory();
    if (afterAnswer)
        afterAnswer(m_counts.answered);
    submitMore();
}

void LoadRun::onReport(const std::string& text)
{
    ++m_counts.reports;
    if (!m_options.strict) {
        if (text != "0" && text != "2")
            ++m_counts.badReports;
        return;
    }
    // The report follows its switch's answer, before any later answer.
    if (m_reportsDue.empty() || m_reportsDue.front() != text) {
        ++m_counts.badReports;
        return;
    }
    m_reportsDue.pop_front();
}

void LoadRun::sampleMemory()
{
    const std::uint64_t warm = std::max<std::uint64_t>(1000, m_options.commands / 100);
    const std::uint64_t done = m_counts.answered + m_counts.misrouted;
    if (done == warm)
        m_counts.rssStartKib = test::residentKib();
    if (done % 10000 == 0)
        m_counts.rssPeakKib = std::max(m_counts.rssPeakKib, test::residentKib());
}

std::string describe(const LoadCounts& counts)
{
    std::ostringstream out;
    out << counts.sent << " sent, " << counts.answered << " answered (" << counts.exact << " exact, " << counts.failed
        << " ERROR), " << counts.lost() << " lost, " << counts.misrouted << " misrouted, " << counts.extra << " extra, "
        << counts.reports << " mode reports (" << counts.badReports << " wrong, " << counts.reportsMissing
        << " missing), " << counts.timeouts << " timeouts, " << counts.devicesLost << " devices lost, "
        << counts.reopened << " reopened, " << counts.seconds << " s, RSS " << counts.rssStartKib << " -> "
        << counts.rssEndKib << " KiB (peak " << counts.rssPeakKib << ")";
    return out.str();
}

}  // namespace cellctl::stress
