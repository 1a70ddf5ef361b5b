#include "LinkProgress.h"

#include <cstdio>

namespace cellctl::cli {
namespace {

std::string joined(const std::vector<std::string>& items, const char* separator)
{
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : separator) + item;
    return text;
}

}  // namespace

ErrorKind errorKindOf(DataLinkFailure failure)
{
    switch (failure) {
    case DataLinkFailure::PppdMissing:
        return ErrorKind::PppMissing;
    case DataLinkFailure::PppdNotPermitted:
        return ErrorKind::PppNotPermitted;
    case DataLinkFailure::NoKernelPpp:
        return ErrorKind::NoKernelPpp;
    case DataLinkFailure::DialFailed:
        return ErrorKind::DialFailed;
    case DataLinkFailure::NoIpAddress:
        return ErrorKind::NoIpAddress;
    case DataLinkFailure::AuthRefused:
        return ErrorKind::AuthRefused;
    case DataLinkFailure::LinkDropped:
        return ErrorKind::LinkDropped;
    case DataLinkFailure::PppdFailed:
        return ErrorKind::Failed;
    case DataLinkFailure::DeviceBusy:
        return ErrorKind::DeviceBusy;
    case DataLinkFailure::DeviceLost:
        return ErrorKind::DeviceLost;
    case DataLinkFailure::ModemStuck:
        return ErrorKind::Failed;
    }
    return ErrorKind::Internal;
}

std::string durationText(LinkClock::duration duration)
{
    long total = static_cast<long>(std::chrono::duration_cast<std::chrono::seconds>(duration).count());
    char text[48];
    if (total >= 3600)
        std::snprintf(text, sizeof text, "%ld h %02ld min", total / 3600, total % 3600 / 60);
    else if (total >= 60)
        std::snprintf(text, sizeof text, "%ld min %02ld s", total / 60, total % 60);
    else
        std::snprintf(text, sizeof text, "%ld s", total);
    return text;
}

std::string byteCountText(std::uint64_t bytes)
{
    char text[32];
    if (bytes < 1000)
        std::snprintf(text, sizeof text, "%llu B", static_cast<unsigned long long>(bytes));
    else if (bytes < 1000 * 1000)
        std::snprintf(text, sizeof text, "%.1f kB", static_cast<double>(bytes) / 1e3);
    else if (bytes < 1000ULL * 1000 * 1000)
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
    else
        std::snprintf(text, sizeof text, "%.2f GB", static_cast<double>(bytes) / 1e9);
    return text;
}

nlohmann::json linkJson(const LinkDetails& details)
{
    return {{"interface", details.interface},
            {"address", details.localAddress},
            {"peer", details.peerAddress},
            {"dns", details.dnsServers}};
}

bool LinkProgress::runLoop(const std::function<bool()>& done, LinkClock::duration limit)
{
    return m_session.runLoop(done, limit);
}

void LinkProgress::prepareRedial() { m_redial(); }

void LinkProgress::dialling(const std::string& command)
{
    m_hangUpShown = false;
    m_out.beginStep("dial", "Dialling " + command.substr(3));
}

void LinkProgress::dialed(const std::string& result)
{
    m_out.endStep(result);
    if (result.rfind("CONNECT", 0) == 0) {
        m_out.beginStep("ppp", "Starting PPP");
        m_pppStarting = true;
    }
}

void LinkProgress::negotiating(const std::string& interface) { m_out.stepProgress(interface + " negotiating ... "); }

void LinkProgress::linkUp(const LinkDetails& details)
{
    m_pppStarting = false;
    m_out.endStep("up", linkJson(details));
    std::string dns = details.dnsServers.empty() ? "none from the network" : joined(details.dnsServers, ", ");
    m_out.item("link", "Online", details.interface + " " + details.localAddress + " (peer " + details.peerAddress + ")",
               linkJson(details));
    m_out.item("", "DNS", dns, nullptr);
    if (m_linkUpHook)
        m_linkUpHook(details);
}

void LinkProgress::online(const LinkCounters& counters, LinkClock::duration upFor)
{
    std::string line = "up " + durationText(upFor) + ", " + byteCountText(counters.bytesIn) + " in, " +
                       byteCountText(counters.bytesOut) + " out";
    std::string radio = m_radioStatus ? m_radioStatus() : std::string();
    m_out.item("", "Link", radio.empty() ? line : line + ", " + radio, nullptr);
}

void LinkProgress::linkDown(const std::string& reason) { m_out.item("", "Link down", reason, nullptr); }

void LinkProgress::redialling(LinkClock::duration delay, int redial)
{
    m_out.say("Redialling in " + durationText(delay) + " (redial " + std::to_string(redial) + ")");
}

void LinkProgress::hangingUp()
{
    if (m_hangUpShown)
        return;
    if (m_pppStarting) {
        m_pppStarting = false;
        m_out.endStep("no link");
    }
    m_out.beginStep("hang-up", "Hanging up");
}

void LinkProgress::hungUp()
{
    if (m_hangUpShown)
        return;
    m_hangUpShown = true;
    m_out.endStep("done");
}

void LinkProgress::notice(const std::string& text) { m_out.say(text); }

}  // namespace cellctl::cli
