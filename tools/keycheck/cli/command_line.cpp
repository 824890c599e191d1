// keycheck's command line, read with CLI11: one subcommand per verb of the verb table, each with
// --help.
#include "tools/keycheck/cli/command_line.h"

#include "tools/keycheck/cli/verb_table.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <map>

namespace {
const char* const kExitStatus =
    "exit status: 0 the launcher would install, or no finding (devices: the export was read);\n"
    "1 it would refuse, or findings; 2 the input could not be used; a warning never changes it";

// CLI11's message on one line.
std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

// The subcommand of each verb, below its group's where its name has two words.
std::map<const Verb*, CLI::App*> AddVerbs(CLI::App& app, Options& options) {
    std::map<std::string, CLI::App*> groups;
    const auto group = [&](const std::string& name) -> CLI::App& {
        CLI::App*& added = groups[name];
        for (std::size_t i = 0; added == nullptr && i < kVerbGroupCount; ++i) {
            if (name == kVerbGroups[i].name) {
                added = app.add_subcommand(name, kVerbGroups[i].summary);
                added->require_subcommand(1);
            }
        }
        return *added;
    };
    std::map<const Verb*, CLI::App*> added;
    for (std::size_t i = 0; i < kVerbCount; ++i) {
        const Verb& verb = kVerbs[i];
        const std::string name = verb.name;
        const std::size_t blank = name.find(' ');
        CLI::App& parent = blank == std::string::npos ? app : group(name.substr(0, blank));
        CLI::App* command = parent.add_subcommand(
            blank == std::string::npos ? name : name.substr(blank + 1), verb.summary);
        verb.addOptions(*command, options);
        added[&verb] = command;
    }
    return added;
}
}  // namespace

ParseOutcome ParseCommandLine(const std::vector<std::string>& args, Options& options,
                              std::ostream& out, std::string& error) {
    CLI::App app("keycheck: checks a driver package the way the launcher reads it", "keycheck");
    app.require_subcommand(1);
    app.set_version_flag("--version", "keycheck " KEYCHECK_VERSION);
    app.footer(kExitStatus);
    app.add_flag("--verbs",
                 "lists the verbs for scripts, one a line: name, json or text, windows or host "
                 "(where it runs), and a run on the sample package");
    const std::map<const Verb*, CLI::App*> verbs = AddVerbs(app, options);
    if (args.size() == 1 && args[0] == "--verbs") {
        PrintVerbList(out);
        return ParseOutcome::Helped;
    }
    // CLI11 would call an unknown verb a missing one.
    const std::string first = args.empty() ? "" : args[0];
    if (!first.empty() && first[0] != '-' &&
        app.get_subcommands([&](CLI::App* verb) { return verb->get_name() == first; }).empty()) {
        error = "unknown command " + first;
        return ParseOutcome::Failed;
    }
    // CLI11 takes the arguments from the back of the vector.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return ParseOutcome::Helped;
    } catch (const CLI::CallForVersion&) {
        out << app.version() << "\n";
        return ParseOutcome::Helped;
    } catch (const CLI::ParseError& failure) {
        error = OneLine(failure.what());
        return ParseOutcome::Failed;
    }
    for (const auto& verb : verbs) {
        if (verb.second->parsed())
            options.verb = verb.first->name;
    }
    return ParseOutcome::Run;
}
