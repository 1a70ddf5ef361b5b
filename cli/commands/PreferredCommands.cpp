// cellctl preferred: the preferred-operator list on the SIM and its selector.
#include "Commands.h"

#include <algorithm>

#include "Limits.h"
#include "Words.h"

namespace cellctl::cli {
namespace {

// An entry carries the name of its own format only; the record's other names
// can be left over from an earlier line and are not shown.
CCopsInfo entryOperator(const CCopsInfo& entry)
{
    CCopsInfo named;
    CCopsInfo::EFormat format = entry.GetFormat();
    named.SetOperatorName(format, entry.GetOperatorName(format));
    return named;
}

std::string networksText(const CCopsInfo& entry)
{
    std::string text;
    auto add = [&text](bool on, const char* name) {
        if (!on)
            return;
        if (!text.empty())
            text += ", ";
        text += name;
    };
    add(entry.GetPreferredPLMNListGsmSelected(), "GSM");
    add(entry.GetPreferredPLMNListGsmCompactSelected(), "GSM Compact");
    add(entry.GetPreferredPLMNListTDSelected(), "TD-SCDMA");
    return text.empty() ? "no network" : text;
}

std::vector<CCopsInfo> readList(Session& session)
{
    CCopsAssistor& cops = session.lib().cops;
    return session.query(
        session.results().preferredOperators, [&cops] { cops.QueryPreferredCopsList(); },
        "about the preferred operators", limits::kPreferredList);
}

void showList(CommandContext& c, const std::vector<CCopsInfo>& entries)
{
    nlohmann::json list = nlohmann::json::array();
    for (const CCopsInfo& entry : entries) {
        CCopsInfo named = entryOperator(entry);
        nlohmann::json item = operatorJson(named);
        item["index"] = entry.GetPreferredPLMNListIndex();
        item["gsm"] = entry.GetPreferredPLMNListGsmSelected();
        item["gsm_compact"] = entry.GetPreferredPLMNListGsmCompactSelected();
        item["td"] = entry.GetPreferredPLMNListTDSelected();
        list.push_back(item);
        c.out.say("  " + std::to_string(entry.GetPreferredPLMNListIndex()) + ". " + operatorText(named) + " on " +
                  networksText(entry));
    }
    c.out.data("preferred") = list;
    if (entries.empty())
        c.out.say("The preferred-operator list is empty");
}

void changeList(CommandContext& c, const std::string& key, const std::string& label,
                const std::function<void(CCopsAssistor&)>& send)
{
    Session& session = c.session;
    CCopsAssistor& cops = session.lib().cops;
    c.out.beginStep(key, label);
    bool ok = session.request(
        session.results().preferredListChanged, [&] { send(cops); }, "while changing the preferred list",
        limits::kPreferredList);
    if (!ok)
        throw CliError(ErrorKind::Failed, "the SIM card refused to change the preferred list");
    c.out.endStep("done");
    showList(c, readList(session));
}

}  // namespace

void runPreferredList(CommandContext& c) { showList(c, readList(c.session)); }

void runPreferredWrite(CommandContext& c)
{
    const CommandArgs& args = c.args;
    bool chosen = args.onGsm || args.onTd || args.onGsmCompact;
    CCopsInfo entry;
    entry.SetPreferredPLMNListIndex(args.index);
    entry.SetFormat(CCopsInfo::FormatNumeric);
    entry.SetOperatorName(CCopsInfo::FormatNumeric, args.operatorCode);
    entry.SetPreferredPLMNListGsmSelected(chosen ? args.onGsm : true);
    entry.SetPreferredPLMNListTDSelected(chosen ? args.onTd : true);
    entry.SetPreferredPLMNListGsmCompactSelected(args.onGsmCompact);
    changeList(
        c, "write",
        "Writing entry " + std::to_string(args.index) + ": " + operatorText(entry) + " on " + networksText(entry),
        [&entry](CCopsAssistor& cops) { cops.ModifyCopsList(&entry); });
}

void runPreferredDelete(CommandContext& c)
{
    int index = c.args.index;
    std::string label = "Deleting entry " + std::to_string(index);
    // The modem accepts deleting an empty slot as readily as a full one, so
    // only the list tells whether there was anything to delete.
    std::vector<CCopsInfo> entries = readList(c.session);
    bool present = std::any_of(entries.begin(), entries.end(),
                               [index](const CCopsInfo& entry) { return entry.GetPreferredPLMNListIndex() == index; });
    if (!present) {
        c.out.beginStep("delete", label);
        c.out.endStep("slot " + std::to_string(index) + " is empty; nothing deleted");
        showList(c, entries);
        return;
    }
    CCopsInfo entry;
    entry.SetPreferredPLMNListIndex(index);
    changeList(c, "delete", label, [&entry](CCopsAssistor& cops) { cops.DeleteCopsList(&entry); });
}

void runPreferredSelector(CommandContext& c)
{
    Session& session = c.session;
    CCopsAssistor& cops = session.lib().cops;
    if (c.args.selector) {
        CCopsInfo choice;
        choice.SetSelector(static_cast<CCopsInfo::ESelector>(*c.args.selector));
        c.out.beginStep("select", "Choosing preferred list " + std::to_string(*c.args.selector));
        bool ok = session.request(
            session.results().selectorSet, [&] { cops.SelectSelector(&choice); }, "while choosing the list",
            limits::kAnswer);
        if (!ok)
            throw CliError(ErrorKind::Failed, "the modem refused preferred list " + std::to_string(*c.args.selector));
        c.out.endStep("done");
    }
    CCopsInfo selector = session.query(
        session.results().preferredSelector, [&cops] { cops.QueryPreferredSelector(); }, "about the preferred list",
        limits::kAnswer);
    int number = selector.GetSelector();
    c.out.item("selector", "Preferred list", std::to_string(number), number);
}

}  // namespace cellctl::cli
