// Build-time tool: walks cellctl's command line (the command table turned into
// CLI11 subcommands, options and choices) and writes what the installed files
// need, so that they follow the program and cannot drift from it.
//
//   cellctl-completion bash       the bash completion script
//   cellctl-completion commands   every command of the table, one per line
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "Arguments.h"

namespace {

using cellctl::cli::Arguments;
using cellctl::cli::commandTable;

// What completes the value of an option or a positional argument.
std::string valueWords(const CLI::Option& option)
{
    const std::string type = option.get_type_name();
    const std::string::size_type open = type.find('{');
    const std::string::size_type close = type.find('}', open);
    if (open != std::string::npos && close != std::string::npos) {
        std::string choices = type.substr(open + 1, close - open - 1);
        for (char& c : choices) {
            if (c == ',')
                c = ' ';
        }
        return choices;
    }
    if (option.get_name().find("device") != std::string::npos)
        return "@device";
    return type == "TEXT" ? "@file" : "";  // a checked value (digits, HOST:PORT, numbers): nothing to offer
}

std::string quoted(const std::string& text) { return "'" + text + "'"; }

struct Tables {
    // A command path starts with the program's name ("cellctl mode switch"):
    // bash takes no empty key.
    std::map<std::string, std::string> subcommands;  // command path -> its subcommands
    std::map<std::string, std::string> options;      // command path -> its options
    std::map<std::string, std::string> values;       // "path|--option" -> value words
    std::map<std::string, std::string> positionals;  // "path|index" -> value words
};

bool listed(const std::string& list, const std::string& word)
{
    return (" " + list + " ").find(" " + word + " ") != std::string::npos;
}

// Fills the tables for `command` and below. Options of the whole program
// (the root's, asked for everywhere) are listed once, under the root.
void walk(CLI::App& command, const std::string& path, const std::string& root, Tables& tables)
{
    std::vector<CLI::App*> groups{&command};
    std::vector<CLI::App*> subcommands;
    for (CLI::App* sub : command.get_subcommands(nullptr))
        (sub->get_name().empty() ? groups : subcommands).push_back(sub);  // a nameless one is an option group

    int position = 0;
    for (CLI::App* group : groups) {
        for (const CLI::Option* option : group->get_options()) {
            if (!option->nonpositional()) {
                tables.positionals[path + "|" + std::to_string(position++)] = valueWords(*option);
                continue;
            }
            for (const std::string& name : option->get_lnames()) {
                const std::string word = "--" + name;
                std::string& list = tables.options[path];
                if (listed(list, word) || (path != root && listed(tables.options[root], word)))
                    continue;
                list += (list.empty() ? "" : " ") + word;
                if (option->get_expected_max() != 0)  // not a flag
                    tables.values[path + "|" + word] = valueWords(*option);
            }
        }
    }
    for (CLI::App* sub : subcommands) {
        std::string& list = tables.subcommands[path];
        list += (list.empty() ? "" : " ") + sub->get_name();
        walk(*sub, path + " " + sub->get_name(), root, tables);
    }
}

void printArray(const char* name, const std::map<std::string, std::string>& entries)
{
    std::cout << "declare -gA " << name << "=(\n";
    for (const auto& [key, words] : entries)
        std::cout << "    [" << quoted(key) << "]=" << quoted(words) << "\n";
    std::cout << ")\n";
}

const char kCompletionFunction[] = R"(
# Device paths of USB modems, then any file the user starts typing.
_cellctl_devices() {
    local cur=$1 device
    for device in /dev/ttyUSB* /dev/ttyACM*; do
        [[ -e $device && $device == "$cur"* ]] && COMPREPLY+=("$device")
    done
    [[ ${#COMPREPLY[@]} -eq 0 ]] && mapfile -t COMPREPLY < <(compgen -f -- "$cur")
}

_cellctl_offer() {
    local words=$1 cur=$2
    case $words in
    @device) _cellctl_devices "$cur" ;;
    @file) mapfile -t COMPREPLY < <(compgen -f -- "$cur") ;;
    *) mapfile -t COMPREPLY < <(compgen -W "$words" -- "$cur") ;;
    esac
}

_cellctl() {
    local cur=${COMP_WORDS[COMP_CWORD]} path=cellctl word key i position=0
    COMPREPLY=()
    # The command path so far, stepping over options and their values;
    # the program's own options count anywhere on the line.
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ $word == -* ]]; then
            key="$path|$word"
            [[ -n ${_cellctl_values[$key]+set} ]] || key="cellctl|$word"
            [[ -n ${_cellctl_values[$key]+set} ]] || continue
            if ((++i == COMP_CWORD)); then
                _cellctl_offer "${_cellctl_values[$key]}" "$cur"
                return
            fi
        elif ((position == 0)) && [[ " ${_cellctl_subcommands[$path]-} " == *" $word "* ]]; then
            path="$path $word"
        else
            ((position++))
        fi
    done
    if [[ $cur == -* ]]; then
        local options=${_cellctl_options[cellctl]}
        [[ $path == cellctl ]] || options+=" ${_cellctl_options[$path]-}"
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    elif ((position == 0)) && [[ -n ${_cellctl_subcommands[$path]-} ]]; then
        _cellctl_offer "${_cellctl_subcommands[$path]}" "$cur"
    elif [[ -n ${_cellctl_positionals["$path|$position"]+set} ]]; then
        _cellctl_offer "${_cellctl_positionals["$path|$position"]}" "$cur"
    fi
}
complete -F _cellctl cellctl
)";

int printBash()
{
    Arguments arguments;
    Tables tables;
    walk(arguments.app(), "cellctl", "cellctl", tables);
    std::cout << "# bash completion for cellctl, generated from its command line at build time.\n";
    printArray("_cellctl_subcommands", tables.subcommands);
    printArray("_cellctl_options", tables.options);
    printArray("_cellctl_values", tables.values);
    printArray("_cellctl_positionals", tables.positionals);
    std::cout << kCompletionFunction;
    return 0;
}

int printCommands()
{
    size_t count = 0;
    const cellctl::cli::CommandEntry* table = commandTable(count);
    for (size_t i = 0; i < count; ++i)
        std::cout << table[i].path << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string what = argc == 2 ? argv[1] : "";
    if (what == "bash")
        return printBash();
    if (what == "commands")
        return printCommands();
    std::cerr << "usage: cellctl-completion bash|commands\n";
    return 2;
}
