#pragma once
// The bindings once the game has run a script and everything it execs: what
// every key really does. Read by the game's own rules (see ScriptReader and
// ExecChain), not by the panel's scan:
//   bind KEY WORD...  KEY is bound to the words joined by single spaces (with
//                     no word after KEY, nothing changes);
//   unbind KEY        KEY is no longer bound;
//   unbindall         no key is bound;
// the first word compared without regard to case. Key names are compared
// without regard to case and kept in lower case.

#include "bindings/execchain.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace varkel {

class ScriptFiles;

struct EffectiveBinding {
    std::string key;               // lower case
    std::string command;           // the words after KEY joined by single spaces
    std::size_t script = 0;        // index in EffectiveBindings::scripts of the script that bound it
    int line = 0;                  // 0-based line of the `bind` command
    std::size_t position = 0;      // byte offset of the `bind` word
    std::size_t commandStart = 0;  // the command's bytes as written, quotes included:
    std::size_t commandEnd = 0;    //   from the first word after KEY to the end of the last
};

struct EffectiveBindings {
    std::vector<std::string> scripts;       // the paths of the scripts met, the starting one first
    std::vector<EffectiveBinding> bindings; // sorted by key (byte order)
    std::vector<ExecNote> notes;            // the `exec` lines whose script did not run, in the order met
};

// Runs the script at `startPath` whose bytes are `startText`, with the
// scripts it execs found through `files`.
EffectiveBindings GetEffectiveBindings(std::string_view startPath, std::string startText, ScriptFiles &files,
                                       std::size_t runLimit = ExecChain::kDefaultRunLimit);

} // namespace varkel
