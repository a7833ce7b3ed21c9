#pragma once
// The players' scripts of the shared corpus, for the tests that run over
// them (each skips when the corpus is absent, i.e. when this list is empty).

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace varkel::test {

// Every script below the corpus folder (or one game's folder of it, "q1",
// "q2", "q3"), sorted by path; the notes about the corpus are left out.
inline std::vector<std::filesystem::path> CorpusScripts(const std::string &game = {})
{
    std::vector<std::filesystem::path> all;
    std::filesystem::path root = std::filesystem::path(VARKEL_SHARED_DIR) / "corpus";
    if (!game.empty())
        root /= game;
    std::error_code ec;
    for (std::filesystem::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file() && it->path().extension() != ".md")
            all.push_back(it->path());
    std::sort(all.begin(), all.end());
    return all;
}

inline std::string FileBytes(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace varkel::test
