// cellctl disconnect: ends a data link that another cellctl supervises (one
// started with connect --background, or in another terminal). That cellctl
// hangs up as on Ctrl-C; this waits for it to finish.
#include <csignal>
#include <thread>

#include "Commands.h"
#include "datalink/LinkRecord.h"

namespace cellctl::cli {
namespace {

constexpr std::chrono::seconds kHangUpLimit{30};
constexpr std::chrono::milliseconds kPoll{100};

LinkRecord chooseRecord(const GlobalOptions& global)
{
    const std::string& device = global.session.device;
    if (!device.empty()) {
        if (std::optional<LinkRecord> record = activeLinkRecord(device))
            return *record;
        throw CliError(ErrorKind::Failed, "no data link is up on " + device);
    }
    std::vector<LinkRecord> records = activeLinkRecords();
    if (records.empty())
        throw CliError(ErrorKind::Failed, "no data link is up (none recorded in " + linkRecordDirectory() + ")");
    if (records.size() > 1) {
        std::string devices;
        for (const LinkRecord& record : records)
            devices += " " + record.device;
        throw CliError(ErrorKind::BadArguments, "several data links are up; name one with --device:" + devices);
    }
    return records.front();
}

}  // namespace

void runDisconnect(StandaloneContext& c)
{
    LinkRecord record = chooseRecord(c.global);
    c.out.beginStep("hang-up", "Hanging up " + record.link.interface + " on " + record.device + " (cellctl pid " +
                                   std::to_string(record.pid) + ")");
    if (::kill(record.pid, SIGTERM) != 0)
        throw CliError(ErrorKind::Failed, "cannot signal cellctl (pid " + std::to_string(record.pid) + ")");
    auto deadline = std::chrono::steady_clock::now() + kHangUpLimit;
    while (::kill(record.pid, 0) == 0 || errno == EPERM) {
        if (std::chrono::steady_clock::now() > deadline)
            throw CliError(ErrorKind::Timeout,
                           "cellctl (pid " + std::to_string(record.pid) + ") has not hung up after 30 s");
        std::this_thread::sleep_for(kPoll);
    }
    c.out.endStep("done", {{"interface", record.link.interface}, {"device", record.device}});
}

}  // namespace cellctl::cli
