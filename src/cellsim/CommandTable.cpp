#include <cellsim/CommandTable.h>

namespace cellsim {

using namespace commands;

const std::vector<CommandEntry>& commandTable()
{
    static const std::vector<CommandEntry> table = {
        // General
        {"E", echo},
        {"V", verbose},
        {"Q", quiet},
        {"Z", restoreSettings},
        {"&F", restoreSettings},
        {"I", identify},
        {"+CMEE", errorMode},
        {"+CSCS", characterSet},
        {"+CGMI", manufacturer},
        {"+CGMM", model},
        {"+CGMR", revision},
        {"+CGSN", serialNumber},
        {"+CPMS", messageStorage},
        {"^DPBE", emergencyNumbers},
        // Set-up switches without behaviour of their own
        {"+CSSN", setting({{0, 1}, {0, 1}})},
        {"+CRC", setting({{0, 1}})},
        {"+CLIP", setting({{0, 1}})},
        {"+CGSMS", setting({{0, 3}})},
        {"+CMGF", setting({{0, 1}})},
        {"+CNMI", setting({{0, 3}, {0, 3}, {0, 3}, {0, 2}, {0, 1}})},
        {"^DCPI", setting({{0, 1}})},
        {"^DSCI", setting({{0, 1}})},
        {"^DTCI", setting({{0, 1}})},
        {"^DRPB", setting({{0, 1}})},
        {"^DPRN", setting({{0, 1}})},
        {"^DSMN", setting({{0, 1}})},
        // Calls
        {"D", dial},
        {"H", hangUp},
        {"O", backOnline},
        {"+CEER", callEndReport},
        // Power and registration
        {"+CFUN", phoneFunctionality},
        {"+CSQ", signalGsm},
        {"^DCSQ", signalTd},
        {"+CREG", registration},
        {"+CGREG", packetRegistration},
        // SIM
        {"+CPIN", pin},
        {"+CLCK", facilityLock},
        {"+CPWD", changePassword},
        {"^DRAP", remainingAttempts},
        {"^DUSIM", simType},
        {"+CIMI", subscriberIdentity},
        // Operators
        {"+COPS", operatorSelection},
        {"+CPOL", preferredOperators},
        {"+CPLS", preferredListSelector},
        // Network mode and cell reports
        {"^DSTM", networkMode},
        {"^DDTM", powerOnMode},
        {"+HSIND", hsdpaIndication},
        {"^DCINFO", cellInfo},
        // Packet data
        {"+CGDCONT", pdpContext},
        {"+CGEQREQ", requestedQos},
        {"+CGATT", packetAttach},
        {"+CGEREP", packetEventReporting},
        {"^DSML", serviceMappingList},
        {"^DUQOS", usimQos},
    };
    return table;
}

const CommandEntry* findCommand(const std::string& name)
{
    for (const CommandEntry& entry : commandTable()) {
        if (entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace cellsim
