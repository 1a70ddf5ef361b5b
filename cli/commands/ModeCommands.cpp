// cellctl mode: the network mode now and at power-on.
#include "Commands.h"

#include "Limits.h"
#include "Words.h"

namespace cellctl::cli {
namespace {

// The mode record a switch asks for: one access technology only, or both.
CMode switchRequest(const std::string& choice)
{
    CMode mode;
    if (choice == "dual") {
        mode.SetModeType(static_cast<CMode::EModeType>(kModeTypeDual));
        mode.SetAccessTechType(CMode::AccessTechTd);
    } else {
        mode.SetModeType(static_cast<CMode::EModeType>(kModeTypeSingle));
        mode.SetAccessTechType(choice == "gsm" ? CMode::AccessTechGsm : CMode::AccessTechTd);
    }
    return mode;
}

void showCurrentMode(CommandContext& c)
{
    Session& session = c.session;
    CModeAssistor& mode = session.lib().mode;
    CMode current = session.query(
        session.results().currentMode, [&mode] { mode.QueryCurrentMode(); }, "about the network mode",
        limits::kAnswer);
    c.out.item("network_mode", "Network mode", networkModeText(current), networkModeJson(current));
}

void showPowerOnMode(CommandContext& c)
{
    Session& session = c.session;
    CModeAssistor& mode = session.lib().mode;
    CMode powerOn = session.query(
        session.results().powerOnMode, [&mode] { mode.QueryPowerOnMode(); }, "about the power-on mode",
        limits::kAnswer);
    c.out.item("power_on_mode", "Power-on mode", powerOnModeText(powerOn), powerOnModeJson(powerOn));
}

}  // namespace

void runModeShow(CommandContext& c)
{
    showCurrentMode(c);
    showPowerOnMode(c);
}

void runModeSwitch(CommandContext& c)
{
    Session& session = c.session;
    CModeAssistor& mode = session.lib().mode;
    CMode wanted = switchRequest(c.args.networkMode);
    c.out.beginStep("switch", "Switching the network mode to " + c.args.networkMode);
    bool ok = session.request(
        session.results().modeSwitched, [&] { mode.SwitchToMode(&wanted); }, "while switching the mode",
        limits::kAnswer);
    if (!ok)
        throw CliError(ErrorKind::Failed, "the modem refused to switch to " + c.args.networkMode);
    c.out.endStep("done");
    showCurrentMode(c);
}

void runModePowerOn(CommandContext& c)
{
    Session& session = c.session;
    CModeAssistor& mode = session.lib().mode;
    // Only the access technology of the record is sent.
    CMode wanted;
    wanted.SetAccessTechType(c.args.networkMode == "gsm" ? CMode::AccessTechGsm : CMode::AccessTechTd);
    c.out.beginStep("power-on-mode", "Setting the power-on mode to " + c.args.networkMode);
    bool ok = session.request(
        session.results().powerOnModeSet, [&] { mode.SetPowerOnMode(&wanted); }, "while setting the power-on mode",
        limits::kAnswer);
    if (!ok)
        throw CliError(ErrorKind::Failed, "the modem refused the power-on mode " + c.args.networkMode);
    c.out.endStep("done");
    showPowerOnMode(c);
}

}  // namespace cellctl::cli
