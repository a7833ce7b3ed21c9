// Cost of one keyword lookup, the call the colouring makes for every token.
// Tokens are the words of the Quake script corpus; the figure is printed as a
// ratio to a plain lookup that lower-cases each token into a new string
// (measured in the same run).

#include "language/dictionary.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unordered_map>
#include <vector>

using namespace varkel;
using Clock = std::chrono::steady_clock;

int main()
{
    GameDictionary dict;
    if (Error e = BuildDictionary(dict, VARKEL_SOURCE_DIR "/Data", "Q3")) {
        std::fprintf(stderr, "cannot build Q3: %s\n", e.description().c_str());
        return 1;
    }

    // Words of the corpus (or the shipped sample when the corpus is absent).
    std::vector<std::string> words;
    auto addWords = [&](const std::string &text) {
        std::string w;
        for (char c : text) {
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '"' || c == ';') {
                if (!w.empty())
                    words.push_back(w);
                w.clear();
            } else {
                w += c;
            }
        }
    };
    const std::filesystem::path corpus = VARKEL_SHARED_DIR "/corpus/q3";
    if (std::filesystem::exists(corpus)) {
        for (const auto &entry : std::filesystem::directory_iterator(corpus)) {
            std::ifstream in(entry.path(), std::ios::binary);
            addWords({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
        }
    } else {
        std::ifstream in(VARKEL_SOURCE_DIR "/Data/Q3sample.dat", std::ios::binary);
        addWords({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    }
    if (words.empty())
        return 1;

    // Baseline: the same map contents, a fresh lower-cased string per lookup.
    std::unordered_map<std::string, int> plain;
    for (const auto &w : dict.Commands())
        plain.emplace(w, Command);
    for (const auto &w : dict.Cvars())
        plain.emplace(w, Cvar);

    const int rounds = std::max<int>(1, int(4'000'000 / words.size()));
    long long hits = 0;
    auto t0 = Clock::now();
    for (int r = 0; r < rounds; ++r)
        for (const auto &w : words) {
            auto it = plain.find(toLowerLatin1(w));
            hits += it == plain.end() ? 0 : it->second;
        }
    auto t1 = Clock::now();
    for (int r = 0; r < rounds; ++r)
        for (const auto &w : words)
            hits += dict.Lookup(w);
    auto t2 = Clock::now();

    const double n = double(rounds) * double(words.size());
    const double base = std::chrono::duration<double, std::nano>(t1 - t0).count() / n;
    const double ours = std::chrono::duration<double, std::nano>(t2 - t1).count() / n;
    std::printf("tokens: %zu x %d rounds (checksum %lld)\n", words.size(), rounds, hits);
    std::printf("baseline (allocating lower-case + find): %.1f ns per token\n", base);
    std::printf("GameDictionary::Lookup:                  %.1f ns per token, ratio %.2f\n", ours, ours / base);
    return 0;
}
