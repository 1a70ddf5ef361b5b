// cellctl connect: the main job. Each step shows as it happens: power on, SIM,
// registration, PDP context, QoS (3G only), attach; then the result.
#include "Commands.h"

#include "Limits.h"
#include "QosProfile.h"
#include "Words.h"

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

void defineContext(CommandContext& c, const QosProfile& qos)
{
    Session& session = c.session;
    ModemResults& results = session.results();
    CConnectionAssistor& connection = session.lib().connection;
    const std::string& apn = c.args.apn;

    c.out.beginStep("context", "Defining the PDP context (APN " + apn + ")");
    if (c.args.gsmOnly) {
        bool defined = session.request(
            results.contextDefined, [&] { connection.GsmPdpActive(kContextId, apn, 0, 0, 0); },
            "while defining the PDP context", limits::kAnswer);
        if (!defined)
            throw CliError(ErrorKind::Failed, "the modem refused the PDP context for APN " + apn);
        c.out.endStep("ok", {{"apn", apn}});
        return;
    }

    // Both commands go out together; their answers come in this order.
    std::optional<bool> qosAccepted;
    Listening<bool> listening(results.qosSet, [&qosAccepted](bool ok) {
        if (!qosAccepted)
            qosAccepted = ok;
    });
    bool defined = session.request(
        results.contextDefined,
        [&] { connection.PdpActive(kContextId, apn, qos.trafficClass, qos.uplinkKbps, qos.downlinkKbps); },
        "while defining the PDP context", limits::kAnswer);
    if (!defined)
        throw CliError(ErrorKind::Failed, "the modem refused the PDP context for APN " + apn);
    c.out.endStep("ok", {{"apn", apn}});

    c.out.beginStep("qos", "Requesting quality of service (" + qosText(qos) + ")");
    session.waitOrFail([&qosAccepted] { return qosAccepted.has_value(); }, session.limit(limits::kAnswer),
                       "while requesting the QoS profile");
    if (!*qosAccepted)
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
    bool attached = session.request(
        session.results().attached,
        [&connection] {
            connection.Initialize();  // packet-domain registration reports on
            connection.AttachGprs();
        },
        "while attaching", limits::kAttach);
    if (!attached)
        throw CliError(ErrorKind::Failed, "the network refused the packet-domain attach");
    c.out.endStep("attached");
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
    defineContext(c, qos);
    attach(c);

    CCopsInfo current = session.request(
        results.currentOperator, [&lib] { lib.cops.QueryCops(); }, "about the operator", limits::kAnswer);
    auto [tech, level] = session.request(
        results.signal, [&lib] { lib.power.QuerySignal(); }, "about the signal", limits::kAnswer);

    c.out.item("apn", "Online", "APN " + c.args.apn + " on " + operatorText(current) + ", " +
                                     accessTechnologyText(current.GetAccessTechType()),
               c.args.apn);
    c.out.data("connected") = true;
    c.out.data("operator") = operatorJson(current);
    c.out.data("access_technology") = accessTechnologyName(current.GetAccessTechType());
    c.out.data("registration") = registrationName(registration);
    c.out.item("signal", "Signal", signalText(tech, level), signalJson(tech, level));
}

}  // namespace cellctl::cli
