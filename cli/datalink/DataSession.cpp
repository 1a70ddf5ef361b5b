#include "DataSession.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>

#include "DataLinkError.h"
#include "ModemPort.h"
#include "PppdProcess.h"

namespace cellctl::cli {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr seconds kDialLimit{60};        // ATD to CONNECT or its failure
constexpr seconds kPppdGrace{5};         // SIGTERM to exit, before SIGKILL
constexpr milliseconds kDnsSettle{300};  // the DNS lines follow the address lines
constexpr seconds kDtrDrop{1};
constexpr seconds kProbeLimit{1};
constexpr seconds kHangUpLimit{3};
constexpr seconds kFirstRedialPause{2};
constexpr seconds kLongestRedialPause{60};

std::string dialFailureText(const ModemPort::Answer& answer, const std::string& cause)
{
    std::string text = answer.final.empty() ? "no answer to the dial" : answer.final;
    return cause.empty() ? text : text + " (" + cause + ")";
}

// pppd endings that no redial can mend.
std::optional<DataLinkError> lastingPppdFailure(int status, bool authFailed, const std::string& said)
{
    std::string reason = pppdExitReason(status) + (said.empty() ? "" : " (pppd: " + said + ")");
    if (status == pppd_exit::kNotPermitted)
        return DataLinkError(DataLinkFailure::PppdNotPermitted, reason);
    if (status == pppd_exit::kNoKernelSupport)
        return DataLinkError(DataLinkFailure::NoKernelPpp, reason);
    if (status == pppd_exit::kOptionsError)
        return DataLinkError(DataLinkFailure::PppdFailed, reason);
    if (status == pppd_exit::kWeFailedAuth || authFailed)
        return DataLinkError(DataLinkFailure::AuthRefused, pppdExitReason(pppd_exit::kWeFailedAuth));
    return std::nullopt;
}

std::optional<std::uint64_t> readCounter(const std::string& path)
{
    std::ifstream file(path);
    std::uint64_t value = 0;
    if (!(file >> value))
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<LinkCounters> readInterfaceCounters(const std::string& interface)
{
    std::string base = "/sys/class/net/" + interface + "/statistics/";
    std::optional<std::uint64_t> in = readCounter(base + "rx_bytes");
    std::optional<std::uint64_t> out = readCounter(base + "tx_bytes");
    if (!in || !out)
        return std::nullopt;
    return LinkCounters{*in, *out};
}

DataSession::DataSession(boost::asio::io_context& io, DataLinkHost& host, DataLinkOptions options)
    : m_io(io),
      m_host(host),
      m_options(std::move(options))
{
}

DataSession::~DataSession() { hangUp(); }

LinkClock::duration DataSession::upFor() const
{
    return m_up ? LinkClock::now() - m_upSince : LinkClock::duration::zero();
}

LinkCounters DataSession::counters() const
{
    if (!m_up)
        return {};
    return readInterfaceCounters(m_details.interface).value_or(m_lastCounters);
}

LinkCounters DataSession::totalCounters() const
{
    LinkCounters current = counters();
    return {m_totalCounters.bytesIn + current.bytesIn, m_totalCounters.bytesOut + current.bytesOut};
}

void DataSession::run()
{
    bool firstCall = true;
    for (;;) {
        if (!firstCall)
            m_host.prepareRedial();
        std::string reason = callOnce(firstCall);
        if (m_hangUpFailure)
            throw *m_hangUpFailure;
        if (reason.empty())
            return;  // stopped on request
        m_host.linkDown(reason);
        if (!m_options.redial)
            throw DataLinkError(DataLinkFailure::LinkDropped, "the link went down: " + reason);
        if (m_options.maxRedials >= 0 && m_redials >= m_options.maxRedials)
            throw DataLinkError(DataLinkFailure::LinkDropped, "the link went down: " + reason + "; gave up after " +
                                                                  std::to_string(m_redials) + " redials");
        ++m_redials;
        auto pause =
            std::min<LinkClock::duration>(kFirstRedialPause * (1 << std::min(m_redials - 1, 5)), kLongestRedialPause);
        m_host.redialling(pause, m_redials);
        if (m_host.runLoop([this] { return m_host.stopRequested(); }, pause))
            return;
        firstCall = false;
    }
}

std::string DataSession::callOnce(bool firstCall)
{
    const std::string& path = m_options.dataPort.empty() ? m_options.commandPort : m_options.dataPort;
    bool sharedPort = m_options.dataPort.empty();
    if (sharedPort)
        m_host.releaseCommandPort();
    // Whatever happens below, the modem is hung up and the port given back.
    struct GiveBack {
        DataSession& session;
        bool sharedPort;
        ~GiveBack()
        {
            session.hangUp();
            try {
                if (sharedPort)
                    session.m_host.reclaimCommandPort();
            } catch (const std::exception& error) {
                session.m_host.notice(std::string("cannot reopen the AT port: ") + error.what());
            }
        }
    } giveBack{*this, sharedPort};

    m_port = std::make_unique<ModemPort>(m_io, m_host, path, m_options.baudRate);
    std::string dial = packetDialCommand(m_options.contextId);
    m_host.dialling(dial);
    ModemPort::Answer answer = m_port->command(dial, kDialLimit);
    m_host.dialed(answer.final.empty() ? "no answer" : answer.final);
    if (answer.outcome != DialOutcome::Connected) {
        std::string cause;
        if (!answer.final.empty()) {
            ModemPort::Answer ceer = m_port->command("AT+CEER", kProbeLimit);
            for (const std::string& line : ceer.lines) {
                if (line.rfind("+CEER:", 0) == 0)
                    cause = line;
            }
        }
        std::string reason = "the modem could not dial: " + dialFailureText(answer, cause);
        if (firstCall)
            throw DataLinkError(DataLinkFailure::DialFailed, reason);
        return reason;
    }

    m_pppd = std::make_unique<PppdProcess>(m_io, m_host, m_options, m_port->descriptor());
    bool addressed =
        m_host.runLoop([this] { return m_pppd->linkUp() || m_pppd->exitStatus() || m_host.stopRequested(); },
                       std::chrono::duration_cast<LinkClock::duration>(m_options.ipTimeout));
    if (m_host.stopRequested() && !m_pppd->exitStatus())
        return "";
    if (std::optional<int> status = m_pppd->exitStatus()) {
        if (auto lasting = lastingPppdFailure(*status, m_pppd->authFailed(), m_pppd->lastWords()))
            throw *lasting;
        std::string reason = "PPP did not come up: " + pppdExitReason(*status) + " (pppd: " + m_pppd->lastWords() + ")";
        if (firstCall)
            throw DataLinkError(DataLinkFailure::PppdFailed, reason);
        return reason;
    }
    if (!addressed) {
        std::string seconds = std::to_string(static_cast<int>(m_options.ipTimeout.count()));
        std::string reason = "no IP address within " + seconds + " s";
        if (firstCall)
            throw DataLinkError(DataLinkFailure::NoIpAddress,
                                reason + " (pppd: " + m_pppd->lastWords() + "); try a longer --ip-timeout");
        return reason;
    }
    m_host.runLoop([] { return false; }, kDnsSettle);
    m_details = m_pppd->details();
    m_up = true;
    m_everUp = true;
    m_upSince = LinkClock::now();
    writeResolvConf();
    m_host.linkUp(m_details);
    return superviseLink();
}

std::string DataSession::superviseLink()
{
    // The counters are read every second, so that the last reading before the
    // interface goes is at most a second old; the status every interval.
    const LinkClock::duration tick = std::chrono::seconds(1);
    auto interval = std::chrono::duration_cast<LinkClock::duration>(m_options.statusInterval);
    LinkClock::time_point nextStatus = LinkClock::now() + interval;
    m_lastCounters = {};
    for (;;) {
        m_host.runLoop([this] { return m_pppd->exitStatus() || m_host.stopRequested(); }, tick);
        if (std::optional<LinkCounters> now = readInterfaceCounters(m_details.interface))
            m_lastCounters = *now;
        if (m_host.stopRequested() || m_pppd->exitStatus())
            break;
        if (LinkClock::now() >= nextStatus) {
            m_host.online(m_lastCounters, upFor());
            nextStatus += interval;
        }
    }
    m_totalUp += upFor();
    m_totalCounters.bytesIn += m_lastCounters.bytesIn;
    m_totalCounters.bytesOut += m_lastCounters.bytesOut;
    m_up = false;
    std::optional<int> status = m_pppd->exitStatus();
    return status ? pppdExitReason(*status) : "";
}

void DataSession::writeResolvConf() const
{
    if (m_options.resolvConf.empty())
        return;
    if (m_details.dnsServers.empty()) {
        m_host.notice("the network gave no DNS servers; " + m_options.resolvConf + " left as it was");
        return;
    }
    std::string temporary = m_options.resolvConf + ".cellctl-new";
    {
        std::ofstream file(temporary, std::ios::trunc);
        file << "# DNS servers of " << m_details.interface << ", written by cellctl\n";
        for (const std::string& server : m_details.dnsServers)
            file << "nameserver " << server << "\n";
        if (!file) {
            m_host.notice("cannot write " + m_options.resolvConf);
            return;
        }
    }
    if (std::rename(temporary.c_str(), m_options.resolvConf.c_str()) != 0)
        m_host.notice("cannot write " + m_options.resolvConf);
}

void DataSession::hangUp()
{
    if (!m_port && !m_pppd)
        return;
    m_host.hangingUp();
    if (m_pppd) {
        m_pppd->stop(kPppdGrace);
        m_pppd.reset();
    }
    if (m_port) {
        try {
            auto answersAt = [this] {
                for (int attempt = 0; attempt < 2; ++attempt) {
                    if (m_port->command("AT", kProbeLimit).outcome == DialOutcome::Ok)
                        return true;
                }
                return false;
            };
            m_port->dropDtr(kDtrDrop);
            bool answers = answersAt();
            if (!answers) {
                m_port->escapeToCommandMode();
                m_port->command("ATH", kHangUpLimit);
                answers = answersAt();
            }
            if (!answers)
                m_hangUpFailure = DataLinkError(DataLinkFailure::ModemStuck,
                                                "the modem does not answer AT after hang-up and may still be in "
                                                "data mode: unplug or reset it");
        } catch (const DataLinkError& error) {
            m_hangUpFailure = error;  // the port went away
        }
        m_port.reset();
    }
    m_host.hungUp();
}

}  // namespace cellctl::cli
