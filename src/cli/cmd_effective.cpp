// varkel-cli bindings --effective FILE
//
// Runs FILE as the game would, following its exec lines, and prints one line
// per bound key, sorted by key name, then one line per exec that ran nothing:
//   bind<TAB>KEY<TAB>PATH:LINE<TAB>COMMAND
//   note<TAB>PATH:LINE<TAB>missing|cycle|limit<TAB>NAME
// PATH is FILE as given, or an exec'd script's folder + "/" + file name.
#include "cli/cmd_effective.h"
#include "cli/cliutil.h"

#include "bindings/diskscriptfiles.h"
#include "bindings/effectivebindings.h"
#include "documents/fileio.h"

#include <iostream>

namespace varkel::cli {

int printEffectiveBindings(const std::string &path)
{
    // "-" is standard input; the scripts it execs are looked up from the
    // current folder.
    ReadResult read = readInput(path);
    if (read.error)
        return failure("cannot read the script " + inputName(path) + ": " + read.error.description());

    DiskScriptFiles files;
    const EffectiveBindings effective = GetEffectiveBindings(path, std::move(read.bytes), files);

    const auto place = [&](std::size_t script, int line) {
        return effective.scripts[script] + ':' + std::to_string(line + 1);
    };
    std::string out;
    for (const EffectiveBinding &b : effective.bindings) {
        out += "bind\t";
        out += b.key;
        out += '\t';
        out += place(b.script, b.line);
        out += '\t';
        out += b.command;
        out += '\n';
    }
    for (const ExecNote &n : effective.notes) {
        out += "note\t";
        out += place(n.script, n.line);
        out += '\t';
        out += ExecNoteKindName(n.kind);
        out += '\t';
        out += n.name;
        out += '\n';
    }
    std::cout << out;
    return finishOutput();
}

} // namespace varkel::cli
