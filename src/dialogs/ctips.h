#pragma once
// The tips of the day, in the order they were added, each under its own
// identifier: "T" and the number of tips added so far, at least five digits
// (T00001, T00002, ...). Identifiers are never reused, also after a Delete.

#include "dialogs/ctip.h"

#include <string>
#include <string_view>
#include <vector>

namespace varkel {

class cTips
{
public:
    // Appends a tip and returns it (valid until the collection changes).
    cTip &Add(std::string text);
    int Count() const { return static_cast<int>(m_tips.size()); }
    // Removes the tip at a 1-based position, or the tip with that identifier;
    // false when there is none.
    bool Delete(int position);
    bool Delete(std::string_view id);
    // The tip at a 1-based position, or with that identifier; null when none.
    const cTip *Item(int position) const;
    const cTip *Item(std::string_view id) const;

    // Steps to the next tip, from the last back to the first, and returns its
    // text. The first call returns the first tip. Empty when there is none.
    std::string NextTip();
    // The text of a tip drawn at random; the NextTip position stays where it is.
    std::string RandomTip();
    // The Next Tip button: steps with NextTip until a text differs from the
    // one shown. When none differs it stops after one round and returns the
    // shown text again.
    std::string AnotherTip(std::string_view shown);

    // Where NextTip stands (0 before the first call).
    int Position() const { return m_position; }
    // The position RandomTip takes for a draw r in [0, 1).
    static int RandomPosition(double r, int count);

    bool ShowAtStartup() const { return m_showAtStartup; }
    void SetShowAtStartup(bool show) { m_showAtStartup = show; }

private:
    std::vector<cTip> m_tips;
    long m_added = 0;
    int m_position = 0;
    bool m_showAtStartup = false;
};

} // namespace varkel
