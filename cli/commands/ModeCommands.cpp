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

CMode readCurrentMode(Session& session)
{
    CModeAssistor& mode = session.lib().mode;
    return session.query(
        session.results().currentMode, [&mode] { mode.QueryCurrentMode(); }, "about the network mode", limits::kAnswer);
}

CMode readPowerOnMode(Session& session)
{
    CModeAssistor& mode = session.lib().mode;
    return session.query(
        session.results().powerOnMode, [&mode] { mode.QueryPowerOnMode(); }, "about the power-on mode",
        limits::kAnswer);
}

void showCurrentMode(CommandContext& c)
{
    CMode current = readCurrentMode(c.session);
    c.out.item("network_mode", "Network mode", networkModeText(current), networkModeJson(current));
}

void showPowerOnMode(CommandContext& c)
{
    CMode powerOn = readPowerOnMode(c.session);
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
    // The mode is the running radio's: it stays on to use it.
    c.steps.keepRadioOn();
    c.out.beginStep("switch", "Switching the network mode to " + c.args.networkMode);
    bool ok = session.change(
        session.results().modeSwitched, [&] { mode.SwitchToMode(&wanted); }, "while switching the mode",
        limits::kAnswer, [&] { return networkModeText(readCurrentMode(session)) == networkModeText(wanted); });
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
    bool ok = session.change(
        session.results().powerOnModeSet, [&] { mode.SetPowerOnMode(&wanted); }, "while setting the power-on mode",
        limits::kAnswer, [&] { return readPowerOnMode(session).GetAccessTechType() == wanted.GetAccessTechType(); });
    if (!ok)
        throw CliError(ErrorKind::Failed, "the modem refused the power-on mode " + c.args.networkMode);
    c.out.endStep("done");
    showPowerOnMode(c);
}

}  // namespace cellctl::cli
