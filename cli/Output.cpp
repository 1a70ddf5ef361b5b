#include "Output.h"

#include <ostream>

#include "ExitStatus.h"
#include "Text.h"

namespace cellctl::cli {
namespace {

constexpr size_t kLabelWidth = 18;
const char kOutputLost[] = "standard output cannot be written (its reader has gone, or the disk is full): stopped";

// Device bytes can be anything; JSON must stay valid UTF-8 whatever they are.
void writeDocument(std::ostream& out, const nlohmann::json& document)
{
    out << document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << std::endl;
}

}  // namespace

Output::Output(bool json, std::ostream& out, std::ostream& err) : m_json(json), m_out(out), m_err(err)
{
    m_document["steps"] = nlohmann::json::array();
}

void Output::beginStep(const std::string& key, const std::string& label)
{
    closeOpenStep("...");
    m_document["steps"].push_back({{"step", key}});
    if (!m_json) {
        m_out << terminalSafe(label) << " ... " << std::flush;
        m_stepOpen = true;
    }
    checkWritten();
}

void Output::stepProgress(const std::string& mark)
{
    if (!m_json && m_stepOpen)
        m_out << mark << std::flush;
    checkWritten();
}

void Output::endStep(const std::string& outcome, const nlohmann::json& detail)
{
    nlohmann::json& steps = m_document["steps"];
    if (!steps.empty()) {
        nlohmann::json& step = steps.back();
        step["result"] = outcome;
        for (auto it = detail.begin(); it != detail.end(); ++it)
            step[it.key()] = it.value();
    }
    closeOpenStep(outcome);
    checkWritten();
}

void Output::closeOpenStep(const std::string& outcome)
{
    if (!m_stepOpen)
        return;
    m_out << terminalSafe(outcome) << '\n' << std::flush;
    m_stepOpen = false;
}

void Output::item(const std::string& key, const std::string& label, const std::string& text,
                  const nlohmann::json& value)
{
    if (!key.empty())
        m_document[key] = value;
    if (m_json)
        return;
    closeOpenStep("...");
    std::string head = label + ":";
    if (head.size() < kLabelWidth)
        head.append(kLabelWidth - head.size(), ' ');
    else
        head += ' ';
    m_out << head << terminalSafe(text) << std::endl;
    checkWritten();
}

void Output::say(const std::string& text)
{
    if (m_json)
        return;
    closeOpenStep("...");
    m_out << terminalSafe(text) << std::endl;
    checkWritten();
}

void Output::note(const std::string& text)
{
    if (!m_json)
        closeOpenStep("...");
    m_err << "cellctl: " << terminalSafe(text) << std::endl;
}

void Output::checkWritten()
{
    if (!m_out)
        throw CliError(ErrorKind::OutputFailed, kOutputLost);
}

int Output::outputLost()
{
    m_err << "cellctl: " << kOutputLost << std::endl;
    return exitStatusOf(ErrorKind::OutputFailed);
}

int Output::finish()
{
    closeOpenStep("...");
    if (m_document["steps"].empty())
        m_document.erase("steps");
    m_document["ok"] = true;
    if (m_json)
        writeDocument(m_out, m_document);
    m_out << std::flush;
    return m_out ? kExitSuccess : outputLost();
}

int Output::finish(const CliError& error)
{
    const ExitStatusEntry& entry = exitStatusEntry(error.kind());
    closeOpenStep("failed");
    nlohmann::json& steps = m_document["steps"];
    if (!steps.empty() && !steps.back().contains("result"))
        steps.back()["result"] = "failed";
    if (steps.empty())
        m_document.erase("steps");
    if (error.kind() == ErrorKind::OutputFailed)
        return outputLost();
    if (m_json) {
        nlohmann::json description = error.details();
        description["kind"] = entry.name;
        description["message"] = error.what();
        description["exit_status"] = entry.status;
        m_document["ok"] = false;
        m_document["error"] = description;
        writeDocument(m_out, m_document);
        if (!m_out)
            m_err << "cellctl: " << terminalSafe(error.what()) << std::endl;
    } else {
        m_out << std::flush;
        m_err << "cellctl: " << terminalSafe(error.what()) << std::endl;
    }
    return entry.status;
}

}  // namespace cellctl::cli
