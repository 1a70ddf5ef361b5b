#pragma once

#include <iosfwd>
#include <string>

#include <nlohmann/json.hpp>

#include "CliError.h"

namespace cellctl::cli {

// What a command shows. In human mode lines go out as they happen, flushed
// even into a pipe (progress steps complete their line when the step ends);
// with --json nothing is printed until finish(), which writes one JSON
// document for the command. A write that standard output does not take (its
// reader has gone, the disk is full, it is closed) throws an OutputFailed
// CliError, so that the command stops instead of working for nobody.
class Output {
public:
    Output(bool json, std::ostream& out, std::ostream& err);
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    bool json() const { return m_json; }
    void setCommand(const std::string& name) { m_document["command"] = name; }

    // A step of a longer job: "label ... outcome". `key` names it in JSON.
    void beginStep(const std::string& key, const std::string& label);
    void endStep(const std::string& outcome, const nlohmann::json& detail = nlohmann::json::object());
    // A running step that shows signs of life (a long network scan).
    void stepProgress(const std::string& mark);

    // One labelled value: "label: text" for people, document[key] = value in
    // JSON (nothing in JSON when the key is empty).
    void item(const std::string& key, const std::string& label, const std::string& text, const nlohmann::json& value);
    // A line for people only.
    void say(const std::string& text);
    // A remark on standard error, in both modes: something the user should
    // know of while waiting, not a result.
    void note(const std::string& text);
    // A value for the JSON document only (lists, records shown as tables).
    nlohmann::json& data(const std::string& key) { return m_document[key]; }

    // Ends the command: in human mode the error goes to stderr; in JSON the
    // whole document goes to stdout. Returns the process's exit status, which
    // is OutputFailed's when stdout did not take the last of the output.
    int finish();
    int finish(const CliError& error);

private:
    void closeOpenStep(const std::string& outcome);
    // Throws OutputFailed when stdout refused a write.
    void checkWritten();
    // Says on stderr that stdout was lost; returns OutputFailed's status.
    int outputLost();

    bool m_json;
    std::ostream& m_out;
    std::ostream& m_err;
    nlohmann::json m_document = nlohmann::json::object();
    bool m_stepOpen = false;
};

}  // namespace cellctl::cli
