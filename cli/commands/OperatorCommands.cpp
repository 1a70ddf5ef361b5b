// cellctl operators: the current operator, a network scan, manual and
// automatic selection.
#include "Commands.h"

#include "Limits.h"
#include "Words.h"

namespace cellctl::cli {
namespace {

CCopsInfo readCurrent(Session& session)
{
    CCopsAssistor& cops = session.lib().cops;
    return session.query(
        session.results().currentOperator, [&cops] { cops.QueryCops(); }, "about the operator", limits::kAnswer);
}

void showCurrent(CommandContext& c)
{
    CCopsInfo current = readCurrent(c.session);
    c.out.item("operator", "Operator", operatorText(current), operatorJson(current));
    c.out.item("selection", "Selection", operatorSelectionText(current.GetModeType()),
               current.GetModeType() == CCopsInfo::ModeAutomatic ? "automatic" : "manual");
    bool named = !current.GetOperatorNumericName().empty() || !current.GetOperatorLongName().empty();
    if (named)
        c.out.item("access_technology", "Network", accessTechnologyText(current.GetAccessTechType()),
                   accessTechnologyName(current.GetAccessTechType()));
}

void select(CommandContext& c, CCopsInfo& choice, const std::string& label)
{
    Session& session = c.session;
    CCopsAssistor& cops = session.lib().cops;
    // Registering with an operator needs the radio: it stays on.
    c.steps.keepRadioOn();
    c.out.beginStep("select", label);
    auto selected = [&session, &choice] {
        CCopsInfo current = readCurrent(session);
        if (current.GetModeType() != choice.GetModeType())
            return false;
        return choice.GetModeType() == CCopsInfo::ModeAutomatic ||
               current.GetOperatorNumericName() == choice.GetOperatorNumericName();
    };
    bool ok = session.change(
        session.results().operatorSelected, [&] { cops.SelectCops(&choice); }, "while selecting the operator",
        limits::kSelect, selected);
    if (!ok)
        throw CliError(ErrorKind::Failed, "the modem could not select that operator (forbidden, or not in range)");
    c.out.endStep("done");
    showCurrent(c);
}

}  // namespace

void runOperatorsCurrent(CommandContext& c) { showCurrent(c); }

void runOperatorsScan(CommandContext& c)
{
    Session& session = c.session;
    CCopsAssistor& cops = session.lib().cops;
    c.out.beginStep("scan", "Scanning for networks (this can take a few minutes)");

    std::optional<std::vector<CCopsInfo>> found;
    Listening<std::vector<CCopsInfo>> listening(session.results().availableOperators,
                                                [&found](const std::vector<CCopsInfo>& list) {
                                                    if (!found)
                                                        found = list;
                                                });
    cops.QueryAvailableCops();
    Clock::time_point deadline = Clock::now() + session.limit(limits::kScan);
    while (!session.waitFor([&found] { return found.has_value(); },
                            std::min(toDuration(polling::kScanProgress), deadline - Clock::now()))) {
        if (Clock::now() >= deadline)
            throw CliError(ErrorKind::Timeout, "the network scan did not finish in time");
        c.out.stepProgress(".");
    }
    c.out.endStep(std::to_string(found->size()) + (found->size() == 1 ? " network" : " networks"));

    nlohmann::json list = nlohmann::json::array();
    for (const CCopsInfo& entry : *found) {
        nlohmann::json item = operatorJson(entry);
        item["state"] = operatorStateName(entry.GetState());
        item["access_technology"] = accessTechnologyName(entry.GetAccessTechType());
        list.push_back(item);
        c.out.say("  " + operatorText(entry) + ", " + accessTechnologyText(entry.GetAccessTechType()) + ", " +
                  operatorStateText(entry.GetState()));
    }
    c.out.data("operators") = list;
    if (found->empty())
        c.out.say("No network found (is the radio on and the antenna connected?)");
}

void runOperatorsSelect(CommandContext& c)
{
    CCopsInfo choice;
    choice.SetModeType(CCopsInfo::ModeManual);
    choice.SetFormat(CCopsInfo::FormatNumeric);
    choice.SetOperatorName(CCopsInfo::FormatNumeric, c.args.operatorCode);
    select(c, choice, "Selecting operator " + operatorText(choice));
}

void runOperatorsAutomatic(CommandContext& c)
{
    CCopsInfo choice;
    choice.SetModeType(CCopsInfo::ModeAutomatic);
    select(c, choice, "Switching to automatic operator selection");
}

}  // namespace cellctl::cli
