// cellctl power: on, off, soft reset.
#include "Commands.h"

#include "Limits.h"

namespace cellctl::cli {

void runPowerOn(CommandContext& c)
{
    c.steps.powerOn();
}

void runPowerOff(CommandContext& c)
{
    Session& session = c.session;
    CPowerAssistor& power = session.lib().power;
    c.out.beginStep("power-off", "Powering off the radio");
    bool ok = session.request(session.results().poweredOff, [&power] { power.PowerOff(); }, "while powering off",
                              limits::kPowerOn);
    if (!ok)
        throw CliError(ErrorKind::Failed, "the modem refused to power the radio off");
    c.out.endStep("off");
}

void runPowerReset(CommandContext& c)
{
    Session& session = c.session;
    CPowerAssistor& power = session.lib().power;
    c.out.beginStep("reset", "Resetting the modem");
    bool ok = session.request(session.results().softReset, [&power] { power.SoftReset(); }, "while resetting",
                              limits::kPowerOn);
    if (!ok)
        throw CliError(ErrorKind::Failed, "the modem refused the reset");
    c.out.endStep("done");
}

}  // namespace cellctl::cli
