// cellctl power: on, off, soft reset.
#include "Commands.h"

#include "Limits.h"

namespace cellctl::cli {

void runPowerOn(CommandContext& c)
{
    c.steps.keepRadioOn();
    c.steps.powerOn();
}

void runPowerOff(CommandContext& c) { c.steps.powerOff("Powering off the radio"); }

void runPowerReset(CommandContext& c)
{
    Session& session = c.session;
    CPowerAssistor& power = session.lib().power;
    c.out.beginStep("reset", "Resetting the modem");
    // Never sent twice: a lost answer is an error (a reset cannot be read back).
    bool ok = session.request(
        session.results().softReset, [&power] { power.SoftReset(); }, "while resetting", limits::kPowerOn);
    if (!ok)
        throw CliError(ErrorKind::Failed, "the modem refused the reset");
    c.out.endStep("done");
}

}  // namespace cellctl::cli
