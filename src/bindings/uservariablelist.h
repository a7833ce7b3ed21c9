#pragma once
// The user variable list: the aliases (Quake, Quake II) or `set` variables
// (Quake III) of the scanned script, each with the first word of its body or
// value, in the order they were added. Names compare case-sensitively.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace varkel {

class UserVariableList
{
public:
    using Entry = std::pair<std::string, std::string>; // name, value

    bool contains(std::string_view name) const { return m_index.find(name) != m_index.end(); }

    // The value of a name, or nullptr when the list does not hold it.
    const std::string *value(std::string_view name) const
    {
        const auto it = m_index.find(name);
        return it == m_index.end() ? nullptr : &m_entries[it->second].second;
    }

    // Adds a name with its value; a name already present is left as it is
    // (returns false).
    bool add(std::string name, std::string value)
    {
        if (contains(name))
            return false;
        m_index.emplace(name, m_entries.size());
        m_entries.emplace_back(std::move(name), std::move(value));
        return true;
    }

    void clear()
    {
        m_entries.clear();
        m_index.clear();
    }

    const std::vector<Entry> &entries() const { return m_entries; }
    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
    };

    std::vector<Entry> m_entries;
    std::unordered_map<std::string, std::size_t, Hash, std::equal_to<>> m_index;
};

} // namespace varkel
