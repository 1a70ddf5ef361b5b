// cellctl status: one screen with everything the modem can tell about itself.
#include "Commands.h"

#include <algorithm>
#include <ctime>

#include "Limits.h"
#include "LinkProgress.h"
#include "datalink/LinkRecord.h"
#include "Words.h"

namespace cellctl::cli {
namespace {

std::string attemptsSummary(const SimAttempts& attempts)
{
    std::string text;
    auto add = [&text](const char* name, const std::optional<int>& count) {
        if (!count)
            return;
        if (!text.empty())
            text += ", ";
        text += std::string(name) + " " + std::to_string(*count);
    };
    add("PIN", attempts.pin);
    add("PUK", attempts.puk);
    add("PIN2", attempts.pin2);
    add("PUK2", attempts.puk2);
    return text.empty() ? "unknown" : text;
}

void showLink(Output& out, const LinkRecord& record)
{
    auto upFor = std::chrono::seconds(std::max<long long>(0, std::time(nullptr) - record.upSince));
    out.item("data_link", "Data link",
             record.link.interface + " " + record.link.localAddress + " (peer " + record.link.peerAddress + "), up " +
                 durationText(upFor) + ", cellctl pid " + std::to_string(record.pid),
             {{"interface", record.link.interface},
              {"address", record.link.localAddress},
              {"peer", record.link.peerAddress},
              {"dns", record.link.dnsServers},
              {"up_seconds", upFor.count()},
              {"pid", record.pid},
              {"data_device", record.dataDevice}});
}

}  // namespace

bool showLinkHoldingThePort(Output& out, const GlobalOptions& global)
{
    const std::string& device = global.session.device;
    if (device.empty())
        return false;
    std::optional<LinkRecord> record = activeLinkRecord(device);
    if (!record)
        return false;
    showLink(out, *record);
    if (record->dataDevice == record->device)
        out.say("The data call holds the AT port: signal and registration cannot be read while it is up");
    else
        out.say("The cellctl supervising the link holds the AT port and shows signal and registration itself");
    return true;
}

void runStatus(CommandContext& c)
{
    Session& session = c.session;
    ModemResults& results = session.results();
    Assistors& lib = session.lib();

    SimStatus sim = c.steps.readSimStatus();
    if (sim.state == SimState::Ready)
        c.steps.settleAfterPowerOn();
    c.out.item("sim", "SIM card", simStateText(sim.state),
               {{"state", simStateName(sim.state)}, {"attempts_left", attemptsJson(sim.attempts)}});
    c.out.item("", "Attempts left", attemptsSummary(sim.attempts), nullptr);

    int registration = session.query(
        results.registration, [&lib] { lib.power.QueryCregStatus(); }, "about registration", limits::kAnswer);
    c.out.item("registration", "Registration", registrationText(registration), registrationName(registration));

    CCopsInfo current = session.query(
        results.currentOperator, [&lib] { lib.cops.QueryCops(); }, "about the operator", limits::kAnswer);
    std::string selection = operatorSelectionText(current.GetModeType());
    if (current.GetOperatorNumericName().empty() && displayName(current).empty()) {
        // No SIM, no network in range: no operator to describe.
        c.out.item("operator", "Operator", "none (" + selection + " selection)", nullptr);
    } else {
        nlohmann::json operatorValue = operatorJson(current);
        operatorValue["selection"] = selection;
        c.out.item("operator", "Operator", operatorText(current) + ", " + selection + " selection", operatorValue);
    }

    auto [tech, level] = session.query(
        results.signal, [&lib] { lib.power.QuerySignal(); }, "about the signal", limits::kAnswer);
    c.out.item("signal", "Signal", signalText(tech, level), signalJson(tech, level));

    CMode mode = session.query(
        results.currentMode, [&lib] { lib.mode.QueryCurrentMode(); }, "about the network mode", limits::kAnswer);
    c.out.item("network_mode", "Network mode", networkModeText(mode), networkModeJson(mode));

    CMode powerOn = session.query(
        results.powerOnMode, [&lib] { lib.mode.QueryPowerOnMode(); }, "about the power-on mode", limits::kAnswer);
    c.out.item("power_on_mode", "Power-on mode", powerOnModeText(powerOn), powerOnModeJson(powerOn));
}

}  // namespace cellctl::cli
