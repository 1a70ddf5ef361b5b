// cellctl connect: the main job. Each step shows as it happens: power on, SIM,
// registration, access point, PDP context, QoS (3G only), attach; then the
// data call: dial, PPP, the address, and the link supervised until Ctrl-C.
#include "Commands.h"

#include <ctime>
#include <unistd.h>

#include "AccessPoint.h"
#include "AccessPointName.h"
#include "Background.h"
#include "DataLinkSetup.h"
#include "Limits.h"
#include "LinkProgress.h"
#include "PacketState.h"
#include "QosProfile.h"
#include "Words.h"
#include "datalink/DataSession.h"
#include "datalink/LinkRecord.h"

namespace cellctl::cli {
namespace {

// The QoS profile is numbered like the context it belongs to.
constexpr int kContextId = 1;

QosProfile requestedQos(const CommandArgs& args)
{
    if (args.qos.empty())
        return QosProfile{};
    std::optional<QosProfile> profile = parseQosProfile(args.qos);
    if (!profile)
        throw CliError(ErrorKind::BadArguments, "--qos: expected CLASS,UL,DL");
    return *profile;
}

// The context first, then (3G) its QoS profile, each only once the one before
// was accepted: nothing more is sent after a refusal.
void defineContext(CommandContext& c, const QosProfile& qos, const std::string& apn)
{
    Session& session = c.session;
    ModemResults& results = session.results();
    Assistors& lib = session.lib();

    c.out.beginStep("context", "Defining the PDP context (APN " + apn + ")");
    bool defined = session.change(
        results.contextDefined, [&] { lib.connection.GsmPdpActive(kContextId, apn, 0, 0, 0); },
        "while defining the PDP context", limits::kAnswer, [&] { return contextHasApn(session, kContextId, apn); });
    if (!defined)
        throw CliError(ErrorKind::Failed, "the modem refused the PDP context for APN " + apn);
    c.out.endStep("ok", {{"apn", apn}});
    if (c.args.gsmOnly)
        return;

    c.out.beginStep("qos", "Requesting quality of service (" + qosText(qos) + ")");
    bool accepted = session.change(
        results.qosSet,
        [&] {
            lib.connectionHelper.SetPacketDomainQos(kContextId, qos.trafficClass, qos.uplinkKbps, qos.downlinkKbps);
        },
        "while requesting the QoS profile", limits::kAnswer, [&] { return qosProfileIs(session, kContextId, qos); });
    if (!accepted)
        throw CliError(ErrorKind::Failed, "the modem refused the QoS profile (" + qosText(qos) + ")");
    c.out.endStep("ok", {{"traffic_class", trafficClassName(qos.trafficClass)},
                         {"uplink_kbps", qos.uplinkKbps},
                         {"downlink_kbps", qos.downlinkKbps}});
}

void attach(CommandContext& c)
{
    Session& session = c.session;
    CConnectionAssistor& connection = session.lib().connection;
    c.out.beginStep("attach", "Attaching to the packet domain");
    bool attached = session.change(
        session.results().attached,
        [&connection] {
            connection.Initialize();  // packet-domain registration reports on
            connection.AttachGprs();
        },
        "while attaching", limits::kAttach, [&session] { return isAttached(session); });
    if (!attached)
        throw CliError(ErrorKind::Failed, "the network refused the packet-domain attach");
    c.out.endStep("attached");
}

// After a drop: the modem may have lost its network or its attach meanwhile.
// The PIN is never entered again here.
void prepareRedial(CommandContext& c)
{
    c.steps.waitForRegistration();
    attach(c);
}

void runDataLink(CommandContext& c, const AccessPoint& accessPoint)
{
    Session& session = c.session;
    DataLinkOptions options = dataLinkOptions(c, accessPoint, kContextId);
    bool sharedPort = options.dataPort.empty();
    auto radioStatus = [&c, sharedPort]() -> std::string {
        if (sharedPort)
            return "";
        auto [tech, level] = c.session.request(
            c.session.results().signal, [&c] { c.session.lib().power.QuerySignal(); }, "about the signal",
            limits::kAnswer);
        return "signal " + signalText(tech, level);
    };
    LinkProgress progress(
        session, c.out, [&c] { prepareRedial(c); }, radioStatus);
    // Other commands find the link by its record: status shows it, disconnect ends it.
    LinkRecord record;
    record.pid = ::getpid();
    record.device = options.commandPort;
    record.dataDevice = sharedPort ? options.commandPort : options.dataPort;
    struct RecordRemoval {
        const std::string& device;
        ~RecordRemoval() { removeLinkRecord(device); }
    } removal{record.device};
    progress.whenLinkUp([&c, &record](const LinkDetails& details) {
        record.link = details;
        record.upSince = static_cast<long long>(std::time(nullptr));
        if (!writeLinkRecord(record) && c.background != nullptr)
            c.out.say("cannot write the link's record in " + linkRecordDirectory() + ": disconnect will not find it");
        if (c.background != nullptr) {
            c.out.data("connected") = true;
            c.out.say("Supervising the link in the background (pid " + std::to_string(record.pid) +
                      "); end it with: cellctl disconnect");
            c.out.finish();
            c.background->detach();
        }
    });
    if (sharedPort)
        c.out.say("The data call uses the AT port: monitoring pauses while online (--data-device names a modem port)");

    DataSession link(session.io(), progress, options);
    try {
        link.run();
    } catch (const DataLinkError& error) {
        throw CliError(errorKindOf(error.failure()), error.what());
    } catch (const CliError& error) {
        // Ctrl-C while the modem was being made ready for a redial: the link is
        // already down and hung up, so this is a clean end.
        if (error.kind() != ErrorKind::Interrupted)
            throw;
    }
    c.out.data("connected") = false;
    if (link.everUp()) {
        LinkCounters counters = link.totalCounters();
        c.out.item("session", "Session",
                   "up " + durationText(link.totalUpFor()) + ", " + byteCountText(counters.bytesIn) + " in, " +
                       byteCountText(counters.bytesOut) + " out, " + std::to_string(link.redials()) + " redials",
                   {{"up_seconds", std::chrono::duration_cast<std::chrono::seconds>(link.totalUpFor()).count()},
                    {"bytes_in", counters.bytesIn},
                    {"bytes_out", counters.bytesOut},
                    {"redials", link.redials()}});
    }
}

}  // namespace

void runConnect(CommandContext& c)
{
    QosProfile qos = requestedQos(c.args);
    Session& session = c.session;
    ModemResults& results = session.results();
    Assistors& lib = session.lib();

    c.out.item("modem", "Modem", session.targetDescription(), session.targetDescription());
    c.steps.powerOn();
    c.steps.unlockSim(c.global.pin);
    int registration = c.steps.waitForRegistration();
    CCopsInfo current = session.query(
        results.currentOperator, [&lib] { lib.cops.QueryCops(); }, "about the operator", limits::kAnswer);
    AccessPoint accessPoint = chooseAccessPoint(c, current);
    // --apn was checked with the command line; the database's is checked here.
    if (std::string problem = accessPointNameProblem(accessPoint.apn); !problem.empty())
        throw CliError(ErrorKind::NoApn, "the provider database's access point is " + problem + ": give --apn");
    defineContext(c, qos, accessPoint.apn);
    attach(c);

    auto [tech, level] = session.query(
        results.signal, [&lib] { lib.power.QuerySignal(); }, "about the signal", limits::kAnswer);
    c.out.data("apn") = accessPoint.apn;
    c.out.data("operator") = operatorJson(current);
    c.out.data("access_technology") = accessTechnologyName(current.GetAccessTechType());
    c.out.data("registration") = registrationName(registration);
    c.out.item("signal", "Signal", signalText(tech, level), signalJson(tech, level));

    if (c.args.noDial) {
        c.out.item("attached", "Attached (no data link)",
                   "APN " + accessPoint.apn + " on " + operatorText(current) + ", " +
                       accessTechnologyText(current.GetAccessTechType()),
                   true);
        c.out.data("connected") = false;
        return;
    }
    runDataLink(c, accessPoint);
}

}  // namespace cellctl::cli
