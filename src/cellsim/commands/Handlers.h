#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <cellctl/text/Quoting.h>
#include <cellsim/AtCommand.h>
#include <cellsim/Device.h>
#include <cellsim/Reply.h>

// The command handlers, grouped by area; CommandTable.cpp maps AT names to them.
namespace cellsim::commands {

using Handler = std::function<Reply(Device&, const AtCommand&)>;
using Form = AtCommand::Form;

// A numeric setting without behaviour of its own: the set form checks each
// value against its range and stores it, the read form shows the values, the
// test form the ranges.
Handler setting(std::vector<std::pair<int, int>> ranges);

// General: echo, result format, identification, error mode, character set, SMS storage.
Reply echo(Device& device, const AtCommand& command);
Reply verbose(Device& device, const AtCommand& command);
Reply quiet(Device& device, const AtCommand& command);
Reply restoreSettings(Device& device, const AtCommand& command);
Reply identify(Device& device, const AtCommand& command);
Reply errorMode(Device& device, const AtCommand& command);
Reply characterSet(Device& device, const AtCommand& command);
Reply manufacturer(Device& device, const AtCommand& command);
Reply model(Device& device, const AtCommand& command);
Reply revision(Device& device, const AtCommand& command);
Reply serialNumber(Device& device, const AtCommand& command);
Reply messageStorage(Device& device, const AtCommand& command);
Reply emergencyNumbers(Device& device, const AtCommand& command);

// Calls: packet-data dial, hang-up, back online, the end reason (+CEER).
Reply dial(Device& device, const AtCommand& command);
Reply hangUp(Device& device, const AtCommand& command);
Reply backOnline(Device& device, const AtCommand& command);
Reply callEndReport(Device& device, const AtCommand& command);

// Power and registration.
Reply phoneFunctionality(Device& device, const AtCommand& command);
Reply signalGsm(Device& device, const AtCommand& command);
Reply signalTd(Device& device, const AtCommand& command);
Reply registration(Device& device, const AtCommand& command);
Reply packetRegistration(Device& device, const AtCommand& command);

// SIM.
Reply pin(Device& device, const AtCommand& command);
Reply facilityLock(Device& device, const AtCommand& command);
Reply changePassword(Device& device, const AtCommand& command);
Reply remainingAttempts(Device& device, const AtCommand& command);
Reply simType(Device& device, const AtCommand& command);
Reply subscriberIdentity(Device& device, const AtCommand& command);

// Operators.
Reply operatorSelection(Device& device, const AtCommand& command);
Reply preferredOperators(Device& device, const AtCommand& command);
Reply preferredListSelector(Device& device, const AtCommand& command);

// Network mode and cell reports.
Reply networkMode(Device& device, const AtCommand& command);
Reply powerOnMode(Device& device, const AtCommand& command);
Reply hsdpaIndication(Device& device, const AtCommand& command);
Reply cellInfo(Device& device, const AtCommand& command);

// Packet data.
Reply pdpContext(Device& device, const AtCommand& command);
Reply requestedQos(Device& device, const AtCommand& command);
Reply packetAttach(Device& device, const AtCommand& command);
Reply packetEventReporting(Device& device, const AtCommand& command);
Reply serviceMappingList(Device& device, const AtCommand& command);
Reply usimQos(Device& device, const AtCommand& command);

// Small helpers shared by the handler files.
using cellctl::text::inQuotes;
std::string upperCase(std::string text);
// "(a-b)" or "(a)" for a range.
std::string rangeText(int low, int high);

}  // namespace cellsim::commands
