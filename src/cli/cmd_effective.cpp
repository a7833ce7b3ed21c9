// varkel-cli bindings --effective FILE
//
// Runs FILE as the game would, following its exec lines, and prints one line
// per bound key, sorted by key name, then one line per exec that ran nothing:
//   bind<TAB>KEY<TAB>PATH:LINE<TAB>COMMAND
//   note<TAB>PATH:LINE<TAB>missing|cycle|limit<TAB>NAME
// PATH is FILE as given, or an exec'd script's folder + "/" + file name.
// COMMAND and NAME are printed as UTF-8, read in the encoding of the script
// they come from (or the one given).
#include "cli/cmd_effective.h"
#include "cli/cliutil.h"

#include "bindings/diskscriptfiles.h"
#include "bindings/effectivebindings.h"
#include "documents/fileio.h"

#include <iostream>
#include <map>

namespace varkel::cli {

namespace {

// The scripts of the disk, each one's encoding noted as it is read.
class EncodingNotingFiles : public DiskScriptFiles
{
public:
    std::optional<std::string> readScript(const std::string &path) override
    {
        std::optional<std::string> bytes = DiskScriptFiles::readScript(path);
        if (bytes)
            encodings[path] = DetectEncoding(*bytes);
        return bytes;
    }
    std::map<std::string, Encoding> encodings;
};

} // namespace

int printEffectiveBindings(const std::string &path, std::optional<Encoding> encoding)
{
    // "-" is standard input; the scripts it execs are looked up from the
    // current folder.
    ReadResult read = readInput(path);
    if (read.error)
        return failure("cannot read the script " + inputName(path) + ": " + read.error.description());

    EncodingNotingFiles files;
    const Encoding startEncoding = DetectEncoding(read.bytes);
    const EffectiveBindings effective = GetEffectiveBindings(path, std::move(read.bytes), files);
    // A script's texts as UTF-8, read in that script's encoding.
    const auto shown = [&](std::size_t script, std::string_view text) {
        Encoding e = startEncoding;
        if (encoding)
            e = *encoding;
        else if (const auto it = files.encodings.find(effective.scripts[script]);
                 script > 0 && it != files.encodings.end())
            e = it->second;
        return DocumentBytesToUtf8(text, e);
    };

    const auto place = [&](std::size_t script, int line) {
        return effective.scripts[script] + ':' + std::to_string(line + 1);
    };
    std::string out;
    for (const EffectiveBinding &b : effective.bindings) {
        out += "bind\t";
        out += shown(b.script, b.key);
        out += '\t';
        out += place(b.script, b.line);
        out += '\t';
        out += shown(b.script, b.command);
        out += '\n';
    }
    for (const ExecNote &n : effective.notes) {
        out += "note\t";
        out += place(n.script, n.line);
        out += '\t';
        out += ExecNoteKindName(n.kind);
        out += '\t';
        out += shown(n.script, n.name);
        out += '\n';
    }
    std::cout << out;
    return finishOutput();
}

} // namespace varkel::cli
