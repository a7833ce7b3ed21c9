#pragma once
// The dictionaries of the three shipped command sets, read once from the
// source tree's Data folder, for the harnesses that colour or scan scripts.

#include "support.h"

#include "language/dictionary.h"

#include <array>

namespace varkel::fuzz {

inline const GameDictionary &shippedDictionary(unsigned index)
{
    static const std::array<GameDictionary, 3> dictionaries = [] {
        std::array<GameDictionary, 3> d;
        for (std::size_t i = 0; i < d.size(); ++i) {
            const Error e = BuildDictionary(d[i], VARKEL_SOURCE_DIR "/Data", "Q" + std::to_string(i + 1));
            FUZZ_CHECK(!e);
        }
        return d;
    }();
    return dictionaries[index % dictionaries.size()];
}

} // namespace varkel::fuzz
