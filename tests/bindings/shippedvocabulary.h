#pragma once
// The shipped vocabularies of the three games, read once, for the tests of
// the checks and of completion.

#include "bindings/lint.h"
#include "language/dictionary.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

namespace varkel::test {

inline const LintVocabulary &ShippedVocabulary(std::string_view set)
{
    static const std::array<LintVocabulary, 3> vocabularies = [] {
        std::array<LintVocabulary, 3> v;
        for (int i = 0; i < 3; ++i) {
            GameDictionary dict;
            const Error e = BuildDictionary(dict, VARKEL_SOURCE_DIR "/Data", "Q" + std::to_string(i + 1));
            EXPECT_FALSE(e) << e.description();
            v[static_cast<std::size_t>(i)] = LintVocabulary(dict);
        }
        return v;
    }();
    return vocabularies[set == "Q1" ? 0 : set == "Q3" ? 2 : 1];
}

} // namespace varkel::test
