#pragma once

#include <functional>
#include <string>

#include "Output.h"
#include "Session.h"
#include "datalink/DataLinkError.h"
#include "datalink/DataLinkHost.h"

namespace cellctl::cli {

// Hosts a data session in cellctl: waits on the session's loop, stops on
// Ctrl-C or SIGTERM, hands the AT port over when the call shares it, and shows
// each step of the link as a line (the JSON document gets the link's details).
class LinkProgress : public DataLinkHost {
public:
    // `redial` makes the modem ready again after a drop (registration, attach);
    // `radioStatus` returns a short signal/registration text, or empty when the
    // AT port is not free to ask.
    LinkProgress(Session& session, Output& out, std::function<void()> redial, std::function<std::string()> radioStatus)
        : m_session(session),
          m_out(out),
          m_redial(std::move(redial)),
          m_radioStatus(std::move(radioStatus))
    {
    }

    // Runs after each link has come up and been shown.
    void whenLinkUp(std::function<void(const LinkDetails&)> hook) { m_linkUpHook = std::move(hook); }

    bool runLoop(const std::function<bool()>& done, LinkClock::duration limit) override;
    bool stopRequested() const override { return m_session.interrupted(); }
    void releaseCommandPort() override { m_session.releasePort(); }
    void reclaimCommandPort() override { m_session.reclaimPort(); }
    void prepareRedial() override;

    void dialling(const std::string& command) override;
    void dialed(const std::string& result) override;
    void negotiating(const std::string& interface) override;
    void linkUp(const LinkDetails& details) override;
    void online(const LinkCounters& counters, LinkClock::duration upFor) override;
    void linkDown(const std::string& reason) override;
    void redialling(LinkClock::duration delay, int redial) override;
    void hangingUp() override;
    void hungUp() override;
    void notice(const std::string& text) override;

private:
    Session& m_session;
    Output& m_out;
    std::function<void()> m_redial;
    std::function<std::string()> m_radioStatus;
    std::function<void(const LinkDetails&)> m_linkUpHook;
    bool m_hangUpShown = false;
    bool m_pppStarting = false;  // the PPP step is shown and not yet ended
};

// The exit kind of a data-link failure.
ErrorKind errorKindOf(DataLinkFailure failure);

// "1 h 02 min", "3 min 05 s", "42 s".
std::string durationText(LinkClock::duration duration);
// "512 B", "12.3 kB", "4.5 MB".
std::string byteCountText(std::uint64_t bytes);

nlohmann::json linkJson(const LinkDetails& details);

}  // namespace cellctl::cli
