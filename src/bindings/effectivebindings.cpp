#include "bindings/effectivebindings.h"

#include <algorithm>
#include <unordered_map>

namespace varkel {

namespace {

// The state of every key named so far. `unbindall` happens often at the top
// of scripts run in a chain, so it does not walk the table: it starts a new
// generation, and only keys bound in the current one are bound.
class BindingTable
{
public:
    void apply(std::size_t script, const ScriptCommand &command)
    {
        if (command.is("bind")) {
            if (command.words.size() < 3 || command.words[1].text.empty())
                return;
            Entry &e = entry(command.words[1].text);
            e.generation = m_generation;
            e.script = script;
            e.line = command.line;
            e.position = command.start;
            e.commandStart = command.words[2].start;
            e.commandEnd = command.end;
            e.command.assign(command.words[2].text);
            for (std::size_t i = 3; i < command.words.size(); ++i) {
                e.command += ' ';
                e.command += command.words[i].text;
            }
        } else if (command.is("unbind")) {
            if (command.words.size() >= 2) {
                AsciiLower(command.words[1].text, m_key);
                const auto it = m_entries.find(m_key);
                if (it != m_entries.end())
                    it->second.generation = 0;
            }
        } else if (command.is("unbindall")) {
            ++m_generation;
        }
    }

    std::vector<EffectiveBinding> bound() const
    {
        std::vector<EffectiveBinding> list;
        for (const auto &[key, e] : m_entries)
            if (e.generation == m_generation)
                list.push_back(EffectiveBinding{key, e.command, e.script, e.line, e.position, e.commandStart,
                                                e.commandEnd});
        std::sort(list.begin(), list.end(),
                  [](const EffectiveBinding &a, const EffectiveBinding &b) { return a.key < b.key; });
        return list;
    }

private:
    struct Entry {
        unsigned generation = 0; // bound while it equals the table's; 0 never does
        std::string command;
        std::size_t script = 0;
        int line = 0;
        std::size_t position = 0, commandStart = 0, commandEnd = 0;
    };

    Entry &entry(std::string_view key)
    {
        AsciiLower(key, m_key);
        return m_entries[m_key];
    }

    std::unordered_map<std::string, Entry> m_entries; // by lower-case key
    unsigned m_generation = 1;
    std::string m_key; // the lower-cased key, its storage reused
};

} // namespace

EffectiveBindings GetEffectiveBindings(std::string_view startPath, std::string startText, ScriptFiles &files,
                                       std::size_t runLimit)
{
    BindingTable table;
    ExecChain chain(files, runLimit);
    chain.run(startPath, std::move(startText),
              [&table](std::size_t script, const ScriptCommand &command) { table.apply(script, command); });

    EffectiveBindings result;
    result.scripts.reserve(chain.scripts().size());
    for (const ChainScript &s : chain.scripts())
        result.scripts.push_back(s.path);
    result.bindings = table.bound();
    result.notes = chain.notes();
    return result;
}

} // namespace varkel
