#pragma once
// What may complete the word being typed: the context of the caret (the
// first word of a command, the key of `bind` / `unbind`, the script of
// `exec`) and the sorted names that begin with what is typed. Nothing is
// offered inside a comment or while no word is being typed.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace varkel {

class LintVocabulary;
struct ScriptNames;

enum class CompletionContext {
    None,    // inside a comment, after a finished word, or a word no list fits
    Command, // the first word of a command (also inside an alias or bind body)
    Key,     // the key after `bind` or `unbind`
    Script,  // the script after `exec`
};

struct CompletionList {
    CompletionContext context = CompletionContext::None;
    std::size_t start = 0;  // byte offset where the word being typed begins (after an opening quote)
    std::string typed;      // the word from there to the caret
    std::vector<std::string> candidates; // sorted (byte order, letters compared in lower case), no repeats
};

// The script names of the document's folder, or of `subfolder` inside it
// (the typed name up to its last "/", "" for the folder itself): file
// names, and folder names ending in "/".
using ScriptListing = std::function<std::vector<std::string>(std::string_view subfolder)>;

// The completion list at byte `caret` of `text`. Commands offer the set's
// commands and cvars, the user's names and the script's aliases and
// variables (`names`); keys the set's key names (in capitals when the word
// is typed in capitals); scripts what `listScripts` gives (nothing without
// it), the subfolder typed kept in front.
CompletionList CompletionsAt(std::string_view text, std::size_t caret, const LintVocabulary &vocab,
                             const ScriptNames &names, const ScriptListing &listScripts = {});

} // namespace varkel
