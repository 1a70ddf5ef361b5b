#pragma once

#include "CommandContext.h"

// One function per command; the table in Arguments.cpp says which runs when.
namespace cellctl::cli {

void runStatus(CommandContext& context);
void runConnect(CommandContext& context);

void runSimStatus(CommandContext& context);
void runSimUnlock(CommandContext& context);
void runSimUnblock(CommandContext& context);
void runSimLock(CommandContext& context);
void runSimChangePin(CommandContext& context);
void runSimChangePin2(CommandContext& context);

void runOperatorsCurrent(CommandContext& context);
void runOperatorsScan(CommandContext& context);
void runOperatorsSelect(CommandContext& context);
void runOperatorsAutomatic(CommandContext& context);

void runPreferredList(CommandContext& context);
void runPreferredWrite(CommandContext& context);
void runPreferredDelete(CommandContext& context);
void runPreferredSelector(CommandContext& context);

void runModeShow(CommandContext& context);
void runModeSwitch(CommandContext& context);
void runModePowerOn(CommandContext& context);

void runPowerOn(CommandContext& context);
void runPowerOff(CommandContext& context);
void runPowerReset(CommandContext& context);

void runMonitor(CommandContext& context);

// status while a cellctl supervising a data link holds the AT port: shows
// the link instead of opening the port; false when no link is up on it.
bool showLinkHoldingThePort(Output& out, const GlobalOptions& global);

// Commands that do not open the modem.
void runDisconnect(StandaloneContext& context);
void runDevices(StandaloneContext& context);

}  // namespace cellctl::cli
